#include "core/presets.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

namespace voltara {
namespace {

using test::FakeView;
using test::MarkedRecord;
using Calls = std::vector<std::string>;

// Hands out the draws a test scripts, and records seeding and drawing.
class ScriptedRandom : public RandomSource
{
public:
    explicit ScriptedRandom(std::deque<double> draws = {})
        : draws_(std::move(draws))
    {
    }
    void SeedFromClock() override { events.emplace_back("seed"); }
    double Draw() override
    {
        events.emplace_back("draw");
        if (draws_.empty())
            return 0.5;
        const double draw = draws_.front();
        draws_.pop_front();
        return draw;
    }
    std::vector<std::string> events;

private:
    std::deque<double> draws_;
};

// A draw that RandomPercent turns into exactly this number.
double DrawFor(int percent)
{
    return (percent + 0.5) / 101;
}

class PresetTest : public testing::Test
{
protected:
    PresetTest()
    {
        BuildConfigPath(config, "/nowhere");
        config.Bots.fill(MarkedRecord());
        config.CurrentBot = 4;
    }

    // The fields of CurrentBot that differ from the marker; every other record must be intact.
    std::map<std::string, std::string> Changed() const
    {
        for (int n = 1; n <= 9; ++n) {
            if (n != config.CurrentBot) {
                EXPECT_EQ(config.Bot(n), MarkedRecord()) << "personality " << n;
            }
        }
        std::map<std::string, std::string> changed;
        for (const FieldInfo &field : kFields) {
            const std::string &value = config.Bot(config.CurrentBot).*field.member;
            if (value != "x")
                changed[field.key] = value;
        }
        return changed;
    }

    PersonalityConfig config;
    FakeView view;
};

std::set<std::string> KeysOfGroup(int group)
{
    std::set<std::string> keys;
    for (const FieldInfo &field : kFields) {
        if (group == 0 || field.group == group)
            keys.insert(field.key);
    }
    return keys;
}

std::set<std::string> KeysOf(const std::map<std::string, std::string> &values)
{
    std::set<std::string> keys;
    for (const auto &[key, value] : values)
        keys.insert(key);
    return keys;
}

std::map<std::string, std::string> DefaultsOfGroup(int group)
{
    std::map<std::string, std::string> values;
    for (const FieldInfo &field : kFields) {
        if (group == 0 || field.group == group)
            values[field.key] = field.default_value;
    }
    return values;
}

using Values = std::map<std::string, std::string>;

Values Attacks(std::initializer_list<const char *> numbers)
{
    static const char *const kKeys[] = {"melee_percent", "kiblast_percent", "lightbeam_percent",
        "mediumbeam_percent", "heavybeam_percent", "disc_percent", "laser_percent",
        "heavyball_percent", "kametorp_percent", "solarflare_percent"};
    Values values;
    const char *const *key = kKeys;
    for (const char *number : numbers)
        values[*key++] = number;
    return values;
}

Values Chat(const char *most, const char *lower)
{
    Values values;
    for (const char *key : {"chat_percent", "taunt_percent", "whine_percent", "chat_tag_percent",
             "chat_drop_percent", "chat_swap_percent"})
        values[key] = most;
    values["chat_lower_percent"] = lower;
    return values;
}

Values Others(const char *moves, const char *transkiller, const char *aggression, const char *block)
{
    Values values;
    for (const char *key : {"teleport_percent", "swoop_percent", "beamexplode_percent",
             "fly_percent", "stopfly_percent", "jump_percent"})
        values[key] = moves;
    values["transkiller"] = transkiller;
    values["aggression_level"] = aggression;
    values["block_percent"] = block;
    return values;
}

// Every preset code: the group it changes and, for a named pattern, the values it stores.
struct PresetCase
{
    const char *code;
    int group;
    enum { Defaults, Random, Pattern } kind;
    Values pattern = {};
};

void PrintTo(const PresetCase &c, std::ostream *out)
{
    *out << '"' << c.code << '"';
}

class PresetCodeTest : public PresetTest, public testing::WithParamInterface<PresetCase>
{
};

TEST_P(PresetCodeTest, ChangesExactlyItsGroupOfTheCurrentBotAndShowsIt)
{
    const PresetCase &c = GetParam();
    ScriptedRandom random;
    ApplyPreset(config, c.code, view, random);

    EXPECT_EQ(view.calls, (Calls {"Yield", "ShowPersonality 4"}));
    const Values changed = Changed();
    EXPECT_EQ(KeysOf(changed), KeysOfGroup(c.group));
    switch (c.kind) {
    case PresetCase::Defaults:
        EXPECT_EQ(changed, DefaultsOfGroup(c.group));
        EXPECT_TRUE(random.events.empty());
        break;
    case PresetCase::Random:
        EXPECT_EQ(random.events.front(), "seed");
        break;
    case PresetCase::Pattern:
        EXPECT_EQ(changed, c.pattern);
        EXPECT_TRUE(random.events.empty());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, PresetCodeTest,
    testing::Values(PresetCase {"00", 0, PresetCase::Defaults},
        PresetCase {"01", 0, PresetCase::Random}, PresetCase {"10", 1, PresetCase::Defaults},
        PresetCase {"11", 1, PresetCase::Random},
        PresetCase {"12", 1, PresetCase::Pattern,
            Attacks({"100", "0", "0", "0", "0", "0", "0", "0", "0", "0"})},
        PresetCase {"13", 1, PresetCase::Pattern,
            Attacks({"5", "5", "5", "5", "5", "95", "95", "95", "5", "95"})},
        PresetCase {"14", 1, PresetCase::Pattern,
            Attacks({"10", "5", "0", "10", "95", "0", "0", "95", "95", "0"})},
        PresetCase {"15", 1, PresetCase::Pattern,
            Attacks({"0", "0", "20", "60", "80", "0", "0", "0", "0", "0"})},
        PresetCase {"20", 2, PresetCase::Defaults}, PresetCase {"21", 2, PresetCase::Random},
        PresetCase {"30", 3, PresetCase::Defaults}, PresetCase {"31", 3, PresetCase::Random},
        PresetCase {"32", 3, PresetCase::Pattern, Chat("100", "0")},
        PresetCase {"33", 3, PresetCase::Pattern, Chat("0", "0")},
        PresetCase {"40", 4, PresetCase::Defaults}, PresetCase {"41", 4, PresetCase::Random},
        PresetCase {"42", 4, PresetCase::Pattern, Others("100", "1", "aggressive", "0")},
        PresetCase {"43", 4, PresetCase::Pattern, Others("0", "0", "defensive", "100")}));

TEST_F(PresetTest, NoisyLeavesLowercaseChatAtZero)
{
    config.Bot(4).chat_lower_percent = "100";
    ApplyPreset(config, "32", view);
    EXPECT_EQ(config.Bot(4).chat_lower_percent, "0");
    EXPECT_EQ(config.Bot(4).chat_percent, "100");
}

class UnknownPresetTest : public PresetTest, public testing::WithParamInterface<const char *>
{
};

TEST_P(UnknownPresetTest, ShowsUnknownErrorChangesNothingAndStillShowsTheBot)
{
    ScriptedRandom random;
    ApplyPreset(config, GetParam(), view, random);
    EXPECT_EQ(view.calls,
        (Calls {FakeView::Message("Unknown Error", kProgramTitle), "Yield", "ShowPersonality 4"}));
    EXPECT_TRUE(Changed().empty());
    EXPECT_TRUE(random.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Codes, UnknownPresetTest,
    testing::Values(
        "16", "1 ", " 1", "", "0", "1", "001", "12 ", " 12", "02", "22", "34", "44", "50", "51"));

TEST_F(PresetTest, RandomValuesStayInRange)
{
    std::set<std::string> transkillers, aggressions, percents;
    for (int round = 0; round < 300; ++round) {
        ApplyPreset(config, "01", view);
        const Personality &bot = config.Bot(4);
        for (int i = 0; i < kFieldCount; ++i) {
            const std::string &value = bot.*kFields[i].member;
            if (kFields[i].kind != FieldKind::Percent)
                continue;
            percents.insert(value);
            ASSERT_FALSE(value.empty());
            ASSERT_EQ(value.find_first_not_of("0123456789"), std::string::npos) << value;
            ASSERT_TRUE(value == "0" || value[0] != '0') << value;
            ASSERT_LE(std::stoi(value), 100);
        }
        transkillers.insert(bot.transkiller);
        aggressions.insert(bot.aggression_level);
    }
    EXPECT_EQ(transkillers, (std::set<std::string> {"0", "1"}));
    EXPECT_EQ(aggressions, (std::set<std::string> {"aggressive", "defensive", "normal"}));
    EXPECT_GT(percents.size(), 90u) << "draws spread over the whole range";
}

TEST(RandomPercentTest, MapsTheDrawOntoZeroToHundred)
{
    ScriptedRandom random({0.0, DrawFor(1), 0.5, DrawFor(99), 0.9999999, 1.0});
    for (const char *expected : {"0", "1", "50", "99", "100", "100"})
        EXPECT_EQ(RandomPercent(random), expected);
}

TEST(RandomAggressionTest, MapsTheDrawOntoTheThreeWordsInOrder)
{
    ScriptedRandom random({0.0, 0.33, 0.34, 0.66, 0.67, 0.9999999, 1.0});
    for (const char *expected :
        {"defensive", "defensive", "aggressive", "aggressive", "normal", "normal", "normal"})
        EXPECT_EQ(RandomAggression(random), expected);
}

// Scripted draws give field k of the drawing order the percent k, so any change of the order
// shows.
TEST_F(PresetTest, RandomValuesDrawInTheStatedOrder)
{
    std::deque<double> draws;
    for (int k = 1; k <= kPercentFieldCount; ++k)
        draws.push_back(DrawFor(k));
    draws.push_back(DrawFor(49)); // transkiller
    draws.push_back(0.5); // aggression
    ScriptedRandom random(draws);
    SetRandomValues(config, "4", kGroupAll, random);

    const char *const order[] = {"melee_percent", "kiblast_percent", "lightbeam_percent",
        "mediumbeam_percent", "heavybeam_percent", "disc_percent", "laser_percent",
        "heavyball_percent", "kametorp_percent", "solarflare_percent", "chat_percent",
        "taunt_percent", "whine_percent", "chat_tag_percent", "chat_drop_percent",
        "chat_swap_percent", "chat_lower_percent", "meleecombo_percent", "meleekick_percent",
        "teleport_percent", "swoop_percent", "beamexplode_percent", "fly_percent",
        "stopfly_percent", "jump_percent", "block_percent"};
    Values expected;
    int k = 0;
    for (const char *key : order)
        expected[key] = std::to_string(++k);
    expected["transkiller"] = "0";
    expected["aggression_level"] = "aggressive";
    EXPECT_EQ(Changed(), expected);

    Calls events = {"seed"};
    events.insert(events.end(), kFieldCount, "draw");
    EXPECT_EQ(random.events, events);
}

TEST_F(PresetTest, TranskillerIsOnFromFiftyUp)
{
    ScriptedRandom random({0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, DrawFor(50), 0.1});
    SetRandomValues(config, "4", kGroupOthers, random);
    EXPECT_EQ(config.Bot(4).transkiller, "1");
    EXPECT_EQ(config.Bot(4).aggression_level, "defensive");
    EXPECT_EQ(random.events.size(), 10u);
}

TEST_F(PresetTest, RandomValuesForAnUnknownGroupOnlySeed)
{
    ScriptedRandom random;
    SetRandomValues(config, "4", 5, random);
    EXPECT_EQ(random.events, Calls {"seed"});
    EXPECT_TRUE(Changed().empty());
}

TEST_F(PresetTest, RandomValuesRejectPersonalityNumbersOutsideOneToNine)
{
    ScriptedRandom random;
    EXPECT_THROW(SetRandomValues(config, "0", 0, random), IndexError);
    EXPECT_THROW(SetRandomValues(config, "10", 1, random), IndexError);
}

} // namespace
} // namespace voltara
