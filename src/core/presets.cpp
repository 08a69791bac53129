#include "core/presets.h"

#include "core/messages.h"

#include <chrono>
#include <cmath>
#include <random>

namespace voltara {

namespace {

class ClockSeededRandom : public RandomSource
{
public:
    void SeedFromClock() override
    {
        engine_.seed(static_cast<std::mt19937_64::result_type>(
            std::chrono::system_clock::now().time_since_epoch().count()));
    }
    double Draw() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    std::mt19937_64 engine_;
};

// A named pattern: the values it stores, by key.
struct PatternValue
{
    Setting setting;
    const char *value;
};

struct Pattern
{
    const char *code;
    std::initializer_list<PatternValue> values;
};

// clang-format off
const Pattern kPatterns[] = {
    {"12", {{Setting::melee_percent, "100"}, {Setting::kiblast_percent, "0"}, {Setting::lightbeam_percent, "0"},
            {Setting::mediumbeam_percent, "0"}, {Setting::heavybeam_percent, "0"}, {Setting::disc_percent, "0"},
            {Setting::laser_percent, "0"}, {Setting::heavyball_percent, "0"}, {Setting::kametorp_percent, "0"},
            {Setting::solarflare_percent, "0"}}},
    {"13", {{Setting::melee_percent, "5"}, {Setting::kiblast_percent, "5"}, {Setting::lightbeam_percent, "5"},
            {Setting::mediumbeam_percent, "5"}, {Setting::heavybeam_percent, "5"}, {Setting::disc_percent, "95"},
            {Setting::laser_percent, "95"}, {Setting::heavyball_percent, "95"}, {Setting::kametorp_percent, "5"},
            {Setting::solarflare_percent, "95"}}},
    {"14", {{Setting::melee_percent, "10"}, {Setting::kiblast_percent, "5"}, {Setting::lightbeam_percent, "0"},
            {Setting::mediumbeam_percent, "10"}, {Setting::heavybeam_percent, "95"}, {Setting::disc_percent, "0"},
            {Setting::laser_percent, "0"}, {Setting::heavyball_percent, "95"}, {Setting::kametorp_percent, "95"},
            {Setting::solarflare_percent, "0"}}},
    {"15", {{Setting::melee_percent, "0"}, {Setting::kiblast_percent, "0"}, {Setting::lightbeam_percent, "20"},
            {Setting::mediumbeam_percent, "60"}, {Setting::heavybeam_percent, "80"}, {Setting::disc_percent, "0"},
            {Setting::laser_percent, "0"}, {Setting::heavyball_percent, "0"}, {Setting::kametorp_percent, "0"},
            {Setting::solarflare_percent, "0"}}},
    {"32", {{Setting::chat_percent, "100"}, {Setting::taunt_percent, "100"}, {Setting::whine_percent, "100"},
            {Setting::chat_tag_percent, "100"}, {Setting::chat_drop_percent, "100"},
            {Setting::chat_swap_percent, "100"}, {Setting::chat_lower_percent, "0"}}},
    {"33", {{Setting::chat_percent, "0"}, {Setting::taunt_percent, "0"}, {Setting::whine_percent, "0"},
            {Setting::chat_tag_percent, "0"}, {Setting::chat_drop_percent, "0"}, {Setting::chat_swap_percent, "0"},
            {Setting::chat_lower_percent, "0"}}},
    {"42", {{Setting::teleport_percent, "100"}, {Setting::swoop_percent, "100"},
            {Setting::beamexplode_percent, "100"}, {Setting::fly_percent, "100"}, {Setting::stopfly_percent, "100"},
            {Setting::jump_percent, "100"}, {Setting::transkiller, kTranskillerOn}, {Setting::aggression_level, kAggressive},
            {Setting::block_percent, "0"}}},
    {"43", {{Setting::teleport_percent, "0"}, {Setting::swoop_percent, "0"}, {Setting::beamexplode_percent, "0"},
            {Setting::fly_percent, "0"}, {Setting::stopfly_percent, "0"}, {Setting::jump_percent, "0"},
            {Setting::transkiller, kTranskillerOff}, {Setting::aggression_level, kDefensive}, {Setting::block_percent, "100"}}},
};

// The Presets menu, written once: Tavrin builds its menu from it, other front ends look its
// items up by caption.
const PresetSubmenu kPresetMenu[] = {
    {"menAll", "All", {{"menDefAll", "Default", kAllDefaultCode}, {"menRanAll", "Random", "01"}}},
    {"menAttacks", "Attacks", {{"menDefAtt", "Default", "10"}, {"menMelee_only", "Melee only", "12"},
        {"menLamer", "Bastard", "13"}, {"menHeavy", "Heavy Guy", "14"},
        {"menBeamOnly", "Beam only", "15"}, {"menRanAtt", "Random", "11"}}},
    {"menMelee", "Melee", {{"menDefMel", "Default", "20"}, {"menRanMel", "Random", "21"}}},
    {"menChat", "Chat", {{"menDefChat", "Default", "30"}, {"menNoiCha", "Noisy", "32"},
        {"menQuiCha", "Quiet", "33"}, {"menRanCha", "Random", "31"}}},
    {"menOthers", "Others", {{"menDefOth", "Default", "40"}, {"menExtOth", "Extreme", "42"},
        {"menBorOth", "Boring", "43"}, {"menRanOth", "Random", "41"}}},
};
// clang-format on

void ApplyPattern(Personality &bot, const Pattern &pattern)
{
    for (const PatternValue &value : pattern.values)
        SetField(bot, value.setting, value.value);
}

// floor(draw * count), kept within 0..count - 1 even if a source strays onto 1.0, so that a
// draw can never index past a table.
int ScaledDraw(RandomSource &random, int count)
{
    const double scaled = std::floor(random.Draw() * count);
    if (!(scaled >= 0))
        return 0;
    return scaled >= count ? count - 1 : static_cast<int>(scaled);
}

// Draws a percent for every field of the group, in record order, skipping the two settings
// that are not percentages.
void RandomPercents(Personality &bot, SettingGroup group, RandomSource &random)
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (kFields[i].group == group && kFields[i].kind == FieldKind::Percent)
            SetField(bot, i, RandomPercent(random));
    }
}

} // namespace

RandomSource &SystemRandom()
{
    static ClockSeededRandom random;
    return random;
}

// The top 53 bits of one draw, scaled: unlike the standard distributions, the same on every
// standard library.
double FixedSeedRandom::Draw()
{
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::span<const PresetSubmenu> PresetMenu()
{
    return kPresetMenu;
}

std::string RandomPercent(RandomSource &random)
{
    return std::to_string(ScaledDraw(random, 101));
}

std::string RandomAggression(RandomSource &random)
{
    return kAggressionWords[ScaledDraw(random, static_cast<int>(kAggressionWords.size()))];
}

void SetRandomValues(
    PersonalityConfig &config, const std::string &number, int group, RandomSource &random)
{
    Personality &bot = config.Bot(PersonalityNumber(number));
    random.SeedFromClock();
    // The groups draw in this order: attacks, chat, melee, others.
    for (const SettingGroup drawn : {kGroupAttacks, kGroupChat, kGroupMelee}) {
        if (group == kGroupAll || group == drawn)
            RandomPercents(bot, drawn, random);
    }
    if (group == kGroupAll || group == kGroupOthers) {
        RandomPercents(bot, kGroupOthers, random);
        const char *const transkiller =
            ScaledDraw(random, 101) >= 50 ? kTranskillerOn : kTranskillerOff;
        bot.transkiller.assign(1, transkiller[0]);
        bot.aggression_level = RandomAggression(random);
    }
}

bool IsPresetCode(const std::string &code)
{
    for (const PresetSubmenu &submenu : PresetMenu()) {
        for (const PresetItem &item : submenu.items) {
            if (code == item.code)
                return true;
        }
    }
    return false;
}

void ApplyPreset(
    PersonalityConfig &config, const std::string &code, PersonalityView &view, RandomSource &random)
{
    const std::string bot_number = std::to_string(config.CurrentBot);
    const bool group_code = code.size() == 2 && code[0] >= '0' && code[0] <= '4';
    if (group_code && code[1] == '0') {
        SetDefaultValues(config, bot_number, code[0] - '0');
    } else if (group_code && code[1] == '1') {
        SetRandomValues(config, bot_number, code[0] - '0', random);
    } else {
        const Pattern *found = nullptr;
        for (const Pattern &pattern : kPatterns) {
            if (code == pattern.code)
                found = &pattern;
        }
        if (found)
            ApplyPattern(config.Bot(config.CurrentBot), *found);
        else
            view.ShowMessage(messages::kUnknownError, kProgramTitle);
    }
    view.Yield();
    view.ShowPersonality(bot_number);
}

} // namespace voltara
