#include "core/personality.h"
#include "core_test_support.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace voltara {
namespace {

using test::DefaultRecord;
using test::MarkedRecord;

TEST(BuildConfigPathTest, SetsKeysCurrentBotDefaultPersonalityAndPath)
{
    PersonalityConfig config;
    config.Bot(2).melee_percent = "7";
    const std::string sep(1, kPathSeparator);
    BuildConfigPath(config, sep + "opt" + sep + "voltara");

    ASSERT_EQ(config.KeyNames.size(), kFieldCount + 1u);
    for (const FieldInfo &field : kFields)
        EXPECT_NE(std::find(config.KeyNames.begin(), config.KeyNames.end(), field.key),
            config.KeyNames.end())
            << field.key;
    EXPECT_EQ(config.KeyNames.back(), "default_personality");
    EXPECT_EQ(config.CurrentBot, 1);
    EXPECT_EQ(config.DefaultPersonality, "-1");
    EXPECT_EQ(config.ConfigPath, sep + "opt" + sep + "voltara" + sep + "bot_personality.cfg");
    EXPECT_EQ(config.Bot(2).melee_percent, "7") << "Bots is not touched";
}

TEST(BuildConfigPathTest, AddsNoSecondSeparatorAtARoot)
{
    PersonalityConfig config;
    const std::string sep(1, kPathSeparator);
    BuildConfigPath(config, sep);
    EXPECT_EQ(config.ConfigPath, sep + "bot_personality.cfg");
}

TEST(PersonalityConfigTest, AddressesOnlyPersonalitiesOneToNine)
{
    PersonalityConfig config;
    EXPECT_THROW(config.Bot(0), IndexError);
    EXPECT_THROW(config.Bot(10), IndexError);
    config.Bot(1).melee_percent = "1";
    config.Bot(9).melee_percent = "9";
    EXPECT_EQ(config.Bots.front().melee_percent, "1");
    EXPECT_EQ(config.Bots.back().melee_percent, "9");
}

TEST(SetFieldTest, TranskillerHoldsExactlyOneCharacter)
{
    Personality bot;
    EXPECT_EQ(bot.transkiller.size(), 1u);
    EXPECT_FALSE(bot.transkiller[0] >= '0' && bot.transkiller[0] <= '9')
        << "a non-digit until first set";
    SetField(bot, Setting::transkiller, "10");
    EXPECT_EQ(bot.transkiller, "1");
    SetField(bot, Setting::transkiller, "");
    EXPECT_EQ(bot.transkiller, " ");
    SetField(bot, Setting::melee_percent, " 12.5 ");
    EXPECT_EQ(bot.melee_percent, " 12.5 ") << "other fields keep the text as given";
}

// SetDefaultValues for each group changes exactly that group's fields of one personality.
class SetDefaultValuesTest : public testing::TestWithParam<int>
{
};

TEST_P(SetDefaultValuesTest, StoresTheDefaultsOfTheGroupOnly)
{
    const int group = GetParam();
    PersonalityConfig config;
    config.Bots.fill(MarkedRecord());
    SetDefaultValues(config, "3", group);

    for (int n = 1; n <= kBotCount; ++n) {
        for (const FieldInfo &field : kFields) {
            SCOPED_TRACE(std::to_string(n) + " " + field.key);
            const bool changes = n == 3 && (group == 0 || field.group == group);
            EXPECT_EQ(config.Bot(n).*field.member, changes ? field.default_value : "x");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllGroupsAndUnknownOnes, SetDefaultValuesTest, testing::Values(0, 1, 2, 3, 4, 5, -1, 40));

TEST(SetDefaultValuesTest, MeleeOfPersonalityThreeChangesOnlyTheTwoMeleeFields)
{
    PersonalityConfig config;
    SetDefaultValues(config, "3", kGroupMelee);
    Personality expected;
    expected.meleecombo_percent = "50";
    expected.meleekick_percent = "50";
    EXPECT_EQ(config.Bot(3), expected);
    for (int n : {1, 2, 4, 5, 6, 7, 8, 9})
        EXPECT_EQ(config.Bot(n), Personality {});
}

TEST(SetDefaultValuesTest, RejectsPersonalityNumbersOutsideOneToNine)
{
    PersonalityConfig config;
    for (const char *number : {"0", "10", "-1", "", "abc", "1x"})
        EXPECT_THROW(SetDefaultValues(config, number, 0), IndexError) << number;
    // Even a group that stores nothing checks the number first.
    EXPECT_THROW(SetDefaultValues(config, "0", 7), IndexError);
    SetDefaultValues(config, " 9 ", kGroupAll);
    EXPECT_EQ(config.Bot(9), DefaultRecord());
}

TEST(RepairPersonalitiesTest, TurnsNineEmptyRecordsIntoNineDefaultPersonalities)
{
    PersonalityConfig config;
    RepairPersonalities(config);
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(config.Bot(n), DefaultRecord()) << n;
}

// What the repair makes of a text stored in one setting of a record: a non-numeric percentage,
// an aggression other than the three words as spelt and a transkiller other than a digit take
// the default; the rest stays as it is.
struct RepairCase
{
    Setting setting;
    const char *stored;
    const char *repaired;
};

void PrintTo(const RepairCase &c, std::ostream *out)
{
    *out << FieldOf(c.setting).key << " \"" << c.stored << '"';
}

class RepairPersonalitiesCaseTest : public testing::TestWithParam<RepairCase>
{
};

TEST_P(RepairPersonalitiesCaseTest, KeepsValidTextsAndRepairsTheRest)
{
    const RepairCase &c = GetParam();
    PersonalityConfig config;
    config.Bots.fill(DefaultRecord());
    SetField(config.Bot(5), c.setting, c.stored);
    RepairPersonalities(config);
    EXPECT_EQ(config.Bot(5).*FieldOf(c.setting).member, c.repaired);
    for (int n : {1, 4, 6, 9})
        EXPECT_EQ(config.Bot(n), DefaultRecord()) << n;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, RepairPersonalitiesCaseTest, testing::Values(
    RepairCase {Setting::melee_percent, "abc", "80"},
    RepairCase {Setting::fly_percent, "", "100"},
    RepairCase {Setting::kiblast_percent, "150", "150"},
    RepairCase {Setting::disc_percent, "2.5", "2.5"},
    RepairCase {Setting::laser_percent, " 7", " 7"},
    RepairCase {Setting::block_percent, "50 # comment", "50"},
    RepairCase {Setting::jump_percent, "1e2", "1e2"},
    RepairCase {Setting::aggression_level, "", "normal"},
    RepairCase {Setting::aggression_level, "Normal", "normal"},
    RepairCase {Setting::aggression_level, "defensive", "defensive"},
    RepairCase {Setting::aggression_level, "aggressive", "aggressive"},
    RepairCase {Setting::aggression_level, " normal", "normal"},
    RepairCase {Setting::transkiller, "a", "1"},
    RepairCase {Setting::transkiller, "", "1"},
    RepairCase {Setting::transkiller, "0", "0"},
    RepairCase {Setting::transkiller, "5", "5"},
    RepairCase {Setting::transkiller, "-1", "1"}));
// clang-format on

} // namespace
} // namespace voltara
