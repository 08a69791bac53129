// Olmach's configuration state: the three superbot tiers, their defaults, and the reader and
// writer of sbot.cfg.
#pragma once

#include "host.h"

#include <array>
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

// The five settings in record order (which is also the file's order).
struct SuperbotFieldInfo
{
    const char *key;
    std::string Superbot::*member;
};
extern const std::array<SuperbotFieldInfo, kSuperbotFieldCount> kSuperbotFields;

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

// Reads a superbot file into the tiers, reporting every problem through the view, and always
// ends with repaired records. A missing file, or a reading that reached the first section
// header, ends with CurrentTier 1 shown. A file that fails before its first section header
// (empty, comments only, another first line, unreadable) gives "Error with reading config
// file" and leaves CurrentTier and the view as they were. LoadedPath names the file as soon
// as it is found to exist.
void ReadSuperbotFile(SuperbotConfig &config, const std::string &path, SuperbotView &view);

// The reading itself, on content already loaded (LoadedPath is not touched). Values stored
// before a failure stay; a key the content lacks keeps its value.
void ReadSuperbot(SuperbotConfig &config, std::string_view content, SuperbotView &view);

// Stores one data line into tier CurrentTier, or reports it as an invalid line.
void ApplySuperbotLine(
    SuperbotConfig &config, std::string_view key, std::string_view value, Host &host);

// The 56 lines of the file, without line ends.
std::vector<std::string> SuperbotFileLines(const SuperbotConfig &config);

// Writes the whole file (a final NUL dropped, ".cfg" appended where missing) and reports the
// outcome: "File successfully saved", or an "Error" box with the path and the reason, the
// target left untouched. Returns whether the file was written.
bool WriteSuperbotFile(const SuperbotConfig &config, const std::string &name, Host &host);

} // namespace voltara
