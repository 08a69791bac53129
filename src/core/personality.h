// Tavrin's configuration state: nine bot personalities, the default personality and the
// paths, with the table of the settings (personality_settings.def) that every other piece walks.
#pragma once

#include "core/records.h"
#include "platform/stamp.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// A group of settings, as the Presets menu and the preset codes name them.
enum SettingGroup : short {
    kGroupAll = 0,
    kGroupAttacks = 1,
    kGroupMelee = 2,
    kGroupChat = 3,
    kGroupOthers = 4
};

enum class FieldKind { Percent, Aggression, Transkiller };

// The aggression words, in the order in which the random draw numbers them.
inline constexpr std::array<const char *, 3> kAggressionWords = {
    "defensive", "aggressive", "normal"};
inline constexpr const char *kDefensive = kAggressionWords[0];
inline constexpr const char *kAggressive = kAggressionWords[1];
inline constexpr const char *kNormal = kAggressionWords[2];
bool IsAggressionWord(std::string_view text);

// The transkiller switch as its box stores it.
inline constexpr const char *kTranskillerOn = "1";
inline constexpr const char *kTranskillerOff = "0";

// The settings by name, for code that addresses one of them: a misspelt name does not compile.
enum class Setting {
#define PERSONALITY_SETTING(key, ...) key,
#include "core/personality_settings.def"
#undef PERSONALITY_SETTING
};

// What a record holds before anything is stored: nothing, and for the transkiller switch a
// non-digit, since it is exactly one character.
constexpr const char *InitialValue(FieldKind kind)
{
    return kind == FieldKind::Transkiller ? " " : "";
}

// One bot personality. Every setting is text, kept exactly as a file or a control gave it.
struct Personality
{
#define PERSONALITY_SETTING(key, group, default_value, kind, ...)                                  \
    std::string key = InitialValue(FieldKind::kind);
#include "core/personality_settings.def"
#undef PERSONALITY_SETTING

    bool operator==(const Personality &) const = default;
};

// One setting: how the window shows it, its key in the file, group, default, member and kind.
struct FieldInfo : SettingLook
{
    const char *key;
    SettingGroup group;
    const char *default_value;
    std::string Personality::*member;
    FieldKind kind;
};

// Every setting in record order.
inline constexpr FieldInfo kFields[] = {
#define PERSONALITY_SETTING(key, group, default_value, kind, ...)                                  \
    {{__VA_ARGS__}, #key, kGroup##group, default_value, &Personality::key, FieldKind::kind},
#include "core/personality_settings.def"
#undef PERSONALITY_SETTING
};
inline constexpr int kFieldCount = static_cast<int>(std::size(kFields));
inline constexpr int kBotCount = 9;

constexpr const FieldInfo &FieldOf(Setting setting)
{
    return kFields[static_cast<int>(setting)];
}
constexpr int IndexOf(Setting setting)
{
    return static_cast<int>(setting);
}

// How many settings the window edits with a value list.
inline constexpr int kPercentFieldCount = static_cast<int>(std::count_if(std::begin(kFields),
    std::end(kFields), [](const FieldInfo &field) { return field.kind == FieldKind::Percent; }));

// The window's percent lists offer the whole numbers from kPercentFirst to kPercentLast.
inline constexpr int kPercentFirst = 0;
inline constexpr int kPercentLast = 100;

// Whether the field's control can give it this text: a percent list its items "0" to "100",
// the aggression buttons their three words, the transkiller box "0" or "1".
bool IsControlValue(const FieldInfo &field, const std::string &text);

// Index of the field with this key in kFields, or -1.
int FieldIndex(std::string_view key);

// Stores a value into a field; transkiller keeps only the first character (a space for an
// empty text).
void SetField(Personality &bot, int field, std::string_view value);
inline void SetField(Personality &bot, Setting setting, std::string_view value)
{
    SetField(bot, IndexOf(setting), value);
}

inline constexpr const char *kDefaultPersonalityKey = "default_personality";
inline constexpr const char *kPersonalityFileName = "bot_personality.cfg";

// The default personality that lets every bot pick one at random, and the value of each
// default-personality option: "-1" for option 0 (Random), "1" to "9" for the personalities.
inline constexpr const char *kRandomPersonality = "-1";
std::string DefaultPersonalityOf(int option);
// Whether a default-personality option gives this text: "-1" or "1" to "9".
bool IsDefaultPersonalityValue(const std::string &text);

// The name of personality n's section in the file, without its brackets: "BOT3".
inline constexpr std::string_view kSectionStem = "BOT";
std::string PersonalitySectionName(int n);

// Everything Tavrin knows, alive for the whole run; the window holds a reference to it.
struct PersonalityConfig
{
    std::array<Personality, kBotCount> Bots; // personality n is Bots[n - 1]; use Bot(n)
    std::string DefaultPersonality;
    int CurrentBot = 0;
    std::string ConfigPath;
    std::string LoadedPath;
    KnownFiles Known; // the files read or saved in this run, as they were then
    std::vector<std::string> KeyNames;

    // The record numbered n; throws IndexError unless 1 <= n <= 9.
    Personality &Bot(int n) { return RecordNumbered(Bots, n); }
    const Personality &Bot(int n) const { return RecordNumbered(Bots, n); }
};

// Start-up of the configuration: key names, CurrentBot 1, DefaultPersonality "-1" and
// ConfigPath in the given folder. Bots is not touched.
void BuildConfigPath(PersonalityConfig &config, const std::string &program_folder);

void InitKeyNames(PersonalityConfig &config);

// Stores the defaults of one group into personality number (decimal text); group 0 stores
// every setting, groups outside 0..4 nothing. Throws IndexError for a number outside 1..9.
void SetDefaultValues(PersonalityConfig &config, const std::string &number, int group);

// Replaces every invalid field of the nine records by its default: a non-numeric percentage,
// a transkiller that is not a digit, an aggression other than the three words.
void RepairPersonalities(PersonalityConfig &config);

// The personality number of a decimal text; throws IndexError unless it names 1..9.
int PersonalityNumber(const std::string &number);

} // namespace voltara
