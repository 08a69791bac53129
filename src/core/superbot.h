// Olmach's configuration state: the three superbot tiers, the table of their settings
// (superbot_settings.def) that every other piece walks, and their defaults.
#pragma once

#include "core/records.h"
#include "platform/stamp.h"

#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// How the window edits a setting, and so which texts it can give it.
enum class SuperbotControl { Slider, List, PowerLevel };

// The settings by name, for code that addresses one of them: a misspelt name does not compile.
enum class SuperbotSetting {
#define SUPERBOT_SETTING(key, ...) key,
#include "core/superbot_settings.def"
#undef SUPERBOT_SETTING
};

// One tier. Every value is text, kept exactly as a file or a control gave it.
struct Superbot
{
#define SUPERBOT_SETTING(key, ...) std::string key;
#include "core/superbot_settings.def"
#undef SUPERBOT_SETTING

    bool operator==(const Superbot &) const = default;
};

// One setting: how the window shows it (its label is its frame's caption), its key in the
// file, its member, and the kind of control that edits it: a slider or list holds first..last
// and stores the position as decimal text; a slider's check box ("Unlimited", "Flashing")
// stores "-1".
struct SuperbotFieldInfo : SettingLook
{
    const char *key;
    std::string Superbot::*member;
    SuperbotControl kind;
    int first;
    int last;
    bool unlimited;
};

// Every setting in record order.
inline constexpr SuperbotFieldInfo kSuperbotFields[] = {
#define SUPERBOT_SETTING(key, control, first, last, unlimited, defaults, ...)                      \
    {{__VA_ARGS__}, #key, &Superbot::key, SuperbotControl::control, first, last, unlimited},
#include "core/superbot_settings.def"
#undef SUPERBOT_SETTING
};
inline constexpr int kSuperbotFieldCount = static_cast<int>(std::size(kSuperbotFields));
inline constexpr int kTierCount = 3;
inline constexpr const char *kSuperbotFileName = "sbot.cfg";

constexpr const SuperbotFieldInfo &FieldOf(SuperbotSetting setting)
{
    return kSuperbotFields[static_cast<int>(setting)];
}

// What a slider's check box stores.
inline constexpr const char *kUnlimitedValue = "-1";

// The entry of kSuperbotFields for a key of the file; nullptr for none.
const SuperbotFieldInfo *SuperbotFieldNamed(std::string_view key);

// The power-level field takes at most this many characters.
inline constexpr int kPowerLevelMaxLength = 8;

// Whether the power-level field accepts a typed text: numeric, at least 1, and no longer than
// the field allows. The text is stored exactly as typed.
bool IsAcceptedPowerLevel(const std::string &typed);

// Whether the field's control can give it this text.
bool IsControlValue(const SuperbotFieldInfo &field, const std::string &text);

// "SUPERBOT", "MEGABOT", "ULTIMATEBOT" for tiers 1 to 3; throws IndexError otherwise.
const char *TierName(int tier);

// The defaults of a tier (1..3); throws IndexError otherwise.
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

    // The record of tier t; throws IndexError unless 1 <= t <= 3.
    Superbot &Tier(int t) { return RecordNumbered(Superbots, t); }
    const Superbot &Tier(int t) const { return RecordNumbered(Superbots, t); }
};

void InitSuperbotKeyNames(SuperbotConfig &config);

// Start-up: key names, CurrentTier 1 and SuperbotConfigPath in the given folder. The window
// fills its laser list itself when it builds its controls.
void InitSuperbotData(SuperbotConfig &config, const std::string &program_folder);

// Overwrites every field of the tier with its defaults.
void SetTierDefaults(SuperbotConfig &config, int tier);

// Replaces every non-numeric field of the three tiers by its tier default.
void RepairSuperbots(SuperbotConfig &config);

} // namespace voltara
