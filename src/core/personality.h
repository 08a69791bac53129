// Tavrin's configuration state: nine bot personalities, the default personality and the
// paths, with the one table of the 28 settings that every other piece walks.
#pragma once

#include "platform/stamp.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// One bot personality. Every setting is text, kept exactly as a file or a control gave it.
struct Personality
{
    std::string melee_percent;
    std::string kiblast_percent;
    std::string lightbeam_percent;
    std::string mediumbeam_percent;
    std::string heavybeam_percent;
    std::string disc_percent;
    std::string laser_percent;
    std::string heavyball_percent;
    std::string kametorp_percent;
    std::string solarflare_percent;
    std::string meleecombo_percent;
    std::string meleekick_percent;
    std::string chat_percent;
    std::string taunt_percent;
    std::string whine_percent;
    std::string chat_tag_percent;
    std::string chat_drop_percent;
    std::string chat_swap_percent;
    std::string chat_lower_percent;
    std::string teleport_percent;
    std::string swoop_percent;
    std::string beamexplode_percent;
    std::string fly_percent;
    std::string stopfly_percent;
    std::string jump_percent;
    std::string aggression_level;
    std::string transkiller = " "; // exactly one character; a non-digit until first set
    std::string block_percent;

    bool operator==(const Personality &) const = default;
};

// A group of settings, as the Presets menu and the preset codes name them.
enum SettingGroup : short {
    kGroupAll = 0,
    kGroupAttacks = 1,
    kGroupMelee = 2,
    kGroupChat = 3,
    kGroupOthers = 4
};

enum class FieldKind { Percent, Aggression, Transkiller };

// One setting: its key in the file, group, default, member, kind, and the window's label
// caption, hint number, hint text and control name (empty for the two non-list settings).
struct FieldInfo
{
    const char *key;
    SettingGroup group;
    const char *default_value;
    std::string Personality::*member;
    FieldKind kind;
    const char *label;
    int hint;
    const char *hint_text;
    const char *control;
};

inline constexpr int kFieldCount = 28;
inline constexpr int kBotCount = 9;

// The 28 settings in record order.
extern const std::array<FieldInfo, kFieldCount> kFields;

// The window's percent lists offer the whole numbers from kPercentFirst to kPercentLast.
inline constexpr int kPercentFirst = 0;
inline constexpr int kPercentLast = 100;

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

// Whether the field's control can give it this text: a percent list its items "0" to "100",
// the aggression buttons their three words, the transkiller box "0" or "1".
bool IsControlValue(const FieldInfo &field, const std::string &text);

// Index of the field with this key in kFields, or -1.
int FieldIndex(std::string_view key);

// Stores a value into a field; transkiller keeps only the first character (a space for an
// empty text).
void SetField(Personality &bot, int field, std::string_view value);

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

// Thrown for a personality number outside 1..9.
struct IndexError
{
};

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
    Personality &Bot(int n);
    const Personality &Bot(int n) const;
};

// Start-up of the configuration: key names, CurrentBot 1, DefaultPersonality "-1" and
// ConfigPath in the given folder. Bots is not touched.
void BuildConfigPath(PersonalityConfig &config, const std::string &program_folder);

void InitKeyNames(PersonalityConfig &config);

// Stores the defaults of one group into personality number (decimal text); group 0 stores all
// 28, groups outside 0..4 nothing. Throws IndexError for a number outside 1..9.
void SetDefaultValues(PersonalityConfig &config, const std::string &number, int group);

// Replaces every invalid field of the nine records by its default: a non-numeric percentage,
// a transkiller that is not a digit, an aggression other than the three words.
void RepairPersonalities(PersonalityConfig &config);

// The personality number of a decimal text; throws IndexError unless it names 1..9.
int PersonalityNumber(const std::string &number);

} // namespace voltara
