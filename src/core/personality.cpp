#include "core/personality.h"

#include "core/text.h"
#include "platform/files.h"

#include <algorithm>
#include <unordered_map>

namespace voltara {

namespace {

using P = Personality;
constexpr FieldKind kPercent = FieldKind::Percent;

} // namespace

// clang-format off
const std::array<FieldInfo, kFieldCount> kFields = {{
    {"melee_percent",       kGroupAttacks, "80",  &P::melee_percent,       kPercent, "Melee",        0,  "the percent of using melee or the sword INSTEAD of other attacks", "cmbMelee"},
    {"kiblast_percent",     kGroupAttacks, "30",  &P::kiblast_percent,     kPercent, "KiBlasts",     1,  "the percent of using kiblasts and renzoku", "cmbKiBlast"},
    {"lightbeam_percent",   kGroupAttacks, "30",  &P::lightbeam_percent,   kPercent, "LightBeams",   2,  "the percent of using generic beam and burning attack", "cmbLightBeam"},
    {"mediumbeam_percent",  kGroupAttacks, "30",  &P::mediumbeam_percent,  kPercent, "MediumBeams",  3,  "the percent of using powerbeam and masenko", "cmbMediumBeam"},
    {"heavybeam_percent",   kGroupAttacks, "30",  &P::heavybeam_percent,   kPercent, "HeavyBeams",   4,  "the percent of using kamehameha, gallit gun, mouthblast and final flash", "cmbHeavyBeam"},
    {"disc_percent",        kGroupAttacks, "30",  &P::disc_percent,        kPercent, "Discs",        5,  "the percent of using desctructo disc and frieza disc", "cmbDisc"},
    {"laser_percent",       kGroupAttacks, "30",  &P::laser_percent,       kPercent, "Lasers",       6,  "the percent of using eye laser and finger laser", "cmbLaser"},
    {"heavyball_percent",   kGroupAttacks, "30",  &P::heavyball_percent,   kPercent, "HeavyBalls",   7,  "the percent of using bigbang, finishing buster, scatter beam, spiritbomb, deathball and special beam cannon", "cmbHeavyBall"},
    {"kametorp_percent",    kGroupAttacks, "30",  &P::kametorp_percent,    kPercent, "KameTorpedos", 8,  "the percent of using kame torpedos", "cmbKameTorpedo"},
    {"solarflare_percent",  kGroupAttacks, "80",  &P::solarflare_percent,  kPercent, "SolarFlares",  9,  "the percent of using solarflare", "cmbSolarFlare"},
    {"meleecombo_percent",  kGroupMelee,   "50",  &P::meleecombo_percent,  kPercent, "Combos",       10, "the percent of making a combo INSTEAD of throwing", "cmbCombo"},
    {"meleekick_percent",   kGroupMelee,   "50",  &P::meleekick_percent,   kPercent, "Kicks",        11, "the percent of using old-style melee", "cmbKick"},
    {"chat_percent",        kGroupChat,    "50",  &P::chat_percent,        kPercent, "All",          12, "the percent of chatting generally", "cmbChat"},
    {"taunt_percent",       kGroupChat,    "50",  &P::taunt_percent,       kPercent, "Taunt",        13, "the percent of chatting taunts after he killed someone", "cmbTaunt"},
    {"whine_percent",       kGroupChat,    "50",  &P::whine_percent,       kPercent, "Whine",        14, "the percent of chatting whines after he died", "cmbWhine"},
    {"chat_tag_percent",    kGroupChat,    "50",  &P::chat_tag_percent,    kPercent, "Tags",         15, "the percent of the time to drop clan tag", "cmbTag"},
    {"chat_drop_percent",   kGroupChat,    "50",  &P::chat_drop_percent,   kPercent, "Drop",         16, "the percent of the time to drop characters", "cmbDrop"},
    {"chat_swap_percent",   kGroupChat,    "50",  &P::chat_swap_percent,   kPercent, "Swap",         17, "the percent of the time to swap characters", "cmbSwap"},
    {"chat_lower_percent",  kGroupChat,    "50",  &P::chat_lower_percent,  kPercent, "Lower",        18, "the percent of the time to lowercase chat", "cmbLower"},
    {"teleport_percent",    kGroupOthers,  "60",  &P::teleport_percent,    kPercent, "Teleport",     19, "the percent of using teleport", "cmbTeleport"},
    {"swoop_percent",       kGroupOthers,  "60",  &P::swoop_percent,       kPercent, "Swoop",        20, "the percent of swooping to avoid danger", "cmbSwoop"},
    {"beamexplode_percent", kGroupOthers,  "50",  &P::beamexplode_percent, kPercent, "BeamExplode",  21, "the percent of letting a beam detonate manually", "cmbBeamExplode"},
    {"fly_percent",         kGroupOthers,  "100", &P::fly_percent,         kPercent, "Fly",          22, "the percent of flying", "cmbFly"},
    {"stopfly_percent",     kGroupOthers,  "50",  &P::stopfly_percent,     kPercent, "StopFly",      23, "the percent of stop flying (for a while:  to avoid danger", "cmbStopFly"},
    {"jump_percent",        kGroupOthers,  "100", &P::jump_percent,        kPercent, "Jump",         24, "the percent of jumping (when he's on the ground:  to avoid danger", "cmbJump"},
    {"aggression_level",    kGroupOthers,  kNormal, &P::aggression_level,  FieldKind::Aggression, "Aggression", 25, "the level of the aggression", ""},
    {"transkiller",         kGroupOthers,  kTranskillerOn, &P::transkiller, FieldKind::Transkiller, "", -1, "", ""},
    {"block_percent",       kGroupOthers,  "50",  &P::block_percent,       kPercent, "Block",        28, "the percent of blocking attacks instead of dodging them", "cmbBlock"},
}};
// clang-format on

int FieldIndex(std::string_view key)
{
    // Every key line of a file comes here: one hash instead of up to 28 comparisons.
    static const auto indexes = [] {
        std::unordered_map<std::string_view, int> map;
        for (int i = 0; i < kFieldCount; ++i)
            map.emplace(kFields[i].key, i);
        return map;
    }();
    const auto found = indexes.find(key);
    return found == indexes.end() ? -1 : found->second;
}

void SetField(Personality &bot, int field, std::string_view value)
{
    const FieldInfo &info = kFields.at(field);
    if (info.kind == FieldKind::Transkiller)
        bot.*info.member = value.empty() ? std::string_view(" ") : value.substr(0, 1);
    else
        bot.*info.member = value;
}

Personality &PersonalityConfig::Bot(int n)
{
    if (n < 1 || n > kBotCount)
        throw IndexError {};
    return Bots[n - 1];
}

const Personality &PersonalityConfig::Bot(int n) const
{
    return const_cast<PersonalityConfig *>(this)->Bot(n);
}

int PersonalityNumber(const std::string &number)
{
    const auto value = ToWholeNumber(number);
    if (!value || *value < 1 || *value > kBotCount)
        throw IndexError {};
    return *value;
}

void InitKeyNames(PersonalityConfig &config)
{
    config.KeyNames.clear();
    config.KeyNames.reserve(kFieldCount + 1);
    for (const FieldInfo &field : kFields)
        config.KeyNames.emplace_back(field.key);
    config.KeyNames.emplace_back(kDefaultPersonalityKey);
}

void BuildConfigPath(PersonalityConfig &config, const std::string &program_folder)
{
    InitKeyNames(config);
    config.CurrentBot = 1;
    config.DefaultPersonality = kRandomPersonality;
    config.ConfigPath = JoinToFolder(program_folder, kPersonalityFileName);
}

void SetDefaultValues(PersonalityConfig &config, const std::string &number, int group)
{
    Personality &bot = config.Bot(PersonalityNumber(number));
    for (int i = 0; i < kFieldCount; ++i) {
        if (group == kGroupAll || kFields[i].group == group)
            SetField(bot, i, kFields[i].default_value);
    }
}

namespace {

bool IsValid(const FieldInfo &field, const std::string &value)
{
    switch (field.kind) {
    case FieldKind::Percent:
        return IsNumericText(value);
    case FieldKind::Transkiller:
        return value.size() == 1 && value[0] >= '0' && value[0] <= '9';
    case FieldKind::Aggression:
        return IsAggressionWord(value);
    }
    return false;
}

} // namespace

bool IsAggressionWord(std::string_view text)
{
    return std::find(kAggressionWords.begin(), kAggressionWords.end(), text)
        != kAggressionWords.end();
}

std::string DefaultPersonalityOf(int option)
{
    return option == 0 ? kRandomPersonality : std::to_string(option);
}

bool IsDefaultPersonalityValue(const std::string &text)
{
    return text == kRandomPersonality || IsWholeNumberIn(text, 1, kBotCount);
}

std::string PersonalitySectionName(int n)
{
    return std::string(kSectionStem) + std::to_string(n);
}

bool IsControlValue(const FieldInfo &field, const std::string &text)
{
    switch (field.kind) {
    case FieldKind::Percent:
        return IsWholeNumberIn(text, kPercentFirst, kPercentLast);
    case FieldKind::Transkiller:
        return text == kTranskillerOff || text == kTranskillerOn;
    case FieldKind::Aggression:
        return IsValid(field, text);
    }
    return false;
}

void RepairPersonalities(PersonalityConfig &config)
{
    for (Personality &bot : config.Bots) {
        for (int i = 0; i < kFieldCount; ++i) {
            if (!IsValid(kFields[i], bot.*kFields[i].member))
                SetField(bot, i, kFields[i].default_value);
        }
    }
}

} // namespace voltara
