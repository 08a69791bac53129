// Olmach's configuration state: the three superbot tiers, their defaults, and the reader and
// writer of sbot.cfg.
#pragma once

#include "core/config_file.h"
#include "core/host.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// One tier. Every value is text, kept exactly as a file or a control gave it.
struct Superbot
{
    std::string ki_gain;
    std::string health_gain;
    std::string powerlevel;
    std::string transparency_val;
    std::string sbotlaser_percent;

    bool operator==(const Superbot &) const = default;
};

inline constexpr int kTierCount = 3;
inline constexpr int kSuperbotFieldCount = 5;
inline constexpr const char *kSuperbotFileName = "sbot.cfg";

// How the window edits a setting, and so which texts it can give it.
enum class SuperbotControl { Slider, List, PowerLevel };

// The five settings in record order (which is also the file's order), with their controls:
// a slider or list holds first..last and stores the position as decimal text; a slider's
// check box ("Unlimited", "Flashing") stores "-1".
struct SuperbotFieldInfo
{
    const char *key;
    std::string Superbot::*member;
    SuperbotControl control;
    int first;
    int last;
    bool unlimited;
};
extern const std::array<SuperbotFieldInfo, kSuperbotFieldCount> kSuperbotFields;

// What a slider's check box stores.
inline constexpr const char *kUnlimitedValue = "-1";

// The entry of kSuperbotFields for a member; throws std::out_of_range for none.
const SuperbotFieldInfo &SuperbotFieldOf(std::string Superbot::*member);

// The entry of kSuperbotFields for a key of the file; nullptr for none.
const SuperbotFieldInfo *SuperbotFieldNamed(std::string_view key);

// The power-level field takes at most this many characters.
inline constexpr int kPowerLevelMaxLength = 8;

// Whether the power-level field accepts a typed text: numeric, at least 1, and no longer than
// the field allows. The text is stored exactly as typed.
bool IsAcceptedPowerLevel(const std::string &typed);

// Whether the field's control can give it this text.
bool IsControlValue(const SuperbotFieldInfo &field, const std::string &text);

// "SUPERBOT", "MEGABOT", "ULTIMATEBOT" for tiers 1 to 3; throws std::out_of_range otherwise.
const char *TierName(int tier);

// The defaults of a tier (1..3); throws std::out_of_range otherwise.
const Superbot &TierDefaults(int tier);

// Everything Olmach knows, alive for the whole run; the window holds a reference to it.
struct SuperbotConfig
{
    std::array<Superbot, kTierCount> Superbots; // tier t is Superbots[t - 1]; use Tier(t)
    int CurrentTier = 1; // the tier the reader fills and the window shows
    std::vector<std::string> SuperbotKeyNames;
    std::string SuperbotConfigPath;
    std::string LoadedPath;
    KnownFiles Known; // the files read or saved in this run, as they were then

    // The record of tier t; throws std::out_of_range unless 1 <= t <= 3.
    Superbot &Tier(int t) { return Superbots.at(static_cast<std::size_t>(t - 1)); }
    const Superbot &Tier(int t) const { return Superbots.at(static_cast<std::size_t>(t - 1)); }
};

// What the superbot reader asks of Olmach's window.
class SuperbotView : public Host
{
public:
    // Puts the record of tier (decimal text) into the controls.
    virtual void ShowSuperbot(const std::string &tier) = 0;
};

void InitSuperbotKeyNames(SuperbotConfig &config);

// Start-up: key names, CurrentTier 1 and SuperbotConfigPath in the given folder. The window
// fills its laser list itself when it builds its controls.
void InitSuperbotData(SuperbotConfig &config, const std::string &program_folder);

// Overwrites all five fields of the tier with its defaults.
void SetTierDefaults(SuperbotConfig &config, int tier);

// Replaces every non-numeric field of the three tiers by its tier default.
void RepairSuperbots(SuperbotConfig &config);

// Reads a superbot file into the tiers, reporting every problem through the view (with the
// line where one is to blame), and always ends with repaired records. A missing file, or a
// reading that reached the first section header, ends with CurrentTier 1 shown. A file that
// fails before its first section header (empty, comments only, another first line,
// unreadable) gives "Error with reading config file" and leaves CurrentTier and the view as
// they were. LoadedPath names the file as soon as it is found to exist.
ReadOutcome ReadSuperbotFile(SuperbotConfig &config, const std::string &path, SuperbotView &view);

// The reading itself, on content already loaded (LoadedPath is not touched). Values stored
// before a failure stay; a key the content lacks keeps its value.
ReadOutcome ReadSuperbot(SuperbotConfig &config, std::string_view content, SuperbotView &view);

// Olmach's start-up of its configuration: InitSuperbotData for the program's folder, then the
// file read (SuperbotConfigPath unless another path is given), then tier 1 current whatever the
// reading gave. Every front end that opens a superbot file as the editor does calls this.
ReadOutcome StartSuperbotConfig(SuperbotConfig &config, const std::string &program_folder,
    SuperbotView &view, const std::optional<std::string> &path = std::nullopt);

// Stores one data line into tier CurrentTier, or reports it as an invalid line (of the file's
// line number line, 0 for none).
void ApplySuperbotLine(SuperbotConfig &config, std::string_view key, std::string_view value,
    Host &host, std::size_t line = 0);

// The 56 lines of the file, without line ends.
std::vector<std::string> SuperbotFileLines(const SuperbotConfig &config);

// Writes the whole file (a final NUL dropped, ".cfg" appended where missing) and reports the
// outcome: "File successfully saved", or an "Error" box with the path and the reason, the
// target left untouched. A file that another program has written since it was read or saved
// here (config.Known) is overwritten only when the host agrees. Returns whether the file was
// written.
bool WriteSuperbotFile(SuperbotConfig &config, const std::string &name, Host &host);

} // namespace voltara
