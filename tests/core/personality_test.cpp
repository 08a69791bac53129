#include "core/personality.h"
#include "core_test_support.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace voltara {
namespace {

using test::DefaultRecord;
using test::kExpectedFields;
using test::MarkedRecord;

TEST(PersonalityTableTest, NamesEveryFieldWithItsKeyGroupAndDefault)
{
    ASSERT_EQ(std::size(kFields), std::size(kExpectedFields));
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        SCOPED_TRACE(kExpectedFields[i].key);
        EXPECT_STREQ(kFields[i].key, kExpectedFields[i].key);
        EXPECT_EQ(kFields[i].member, kExpectedFields[i].member);
        EXPECT_EQ(kFields[i].group, kExpectedFields[i].group);
        EXPECT_STREQ(kFields[i].default_value, kExpectedFields[i].default_value);
    }
}

TEST(BuildConfigPathTest, SetsKeysCurrentBotDefaultPersonalityAndPath)
{
    PersonalityConfig config;
    config.Bot(2).melee_percent = "7";
    const std::string sep(1, kPathSeparator);
    BuildConfigPath(config, sep + "opt" + sep + "voltara");

    ASSERT_EQ(config.KeyNames.size(), 29u);
    for (const auto &field : kExpectedFields)
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
    const int transkiller = FieldIndex("transkiller");
    Personality bot;
    EXPECT_EQ(bot.transkiller.size(), 1u);
    EXPECT_FALSE(bot.transkiller[0] >= '0' && bot.transkiller[0] <= '9')
        << "a non-digit until first set";
    SetField(bot, transkiller, "10");
    EXPECT_EQ(bot.transkiller, "1");
    SetField(bot, transkiller, "");
    EXPECT_EQ(bot.transkiller, " ");
    SetField(bot, FieldIndex("melee_percent"), " 12.5 ");
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

    for (int n = 1; n <= 9; ++n) {
        for (const auto &field : kExpectedFields) {
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

TEST(RepairPersonalitiesTest, ReplacesNonNumericPercentagesAndKeepsNumericOnes)
{
    PersonalityConfig config;
    config.Bots.fill(DefaultRecord());
    Personality &bot = config.Bot(5);
    bot.melee_percent = "abc";
    bot.fly_percent = "";
    bot.kiblast_percent = "150";
    bot.disc_percent = "2.5";
    bot.laser_percent = " 7";
    bot.block_percent = "50 # comment";
    bot.jump_percent = "1e2";
    RepairPersonalities(config);

    EXPECT_EQ(bot.melee_percent, "80");
    EXPECT_EQ(bot.fly_percent, "100");
    EXPECT_EQ(bot.kiblast_percent, "150");
    EXPECT_EQ(bot.disc_percent, "2.5");
    EXPECT_EQ(bot.laser_percent, " 7");
    EXPECT_EQ(bot.block_percent, "50");
    EXPECT_EQ(bot.jump_percent, "1e2");
}

TEST(RepairPersonalitiesTest, AcceptsOnlyTheThreeAggressionWordsAsSpelt)
{
    PersonalityConfig config;
    config.Bots.fill(DefaultRecord());
    config.Bot(1).aggression_level = "";
    config.Bot(2).aggression_level = "Normal";
    config.Bot(3).aggression_level = "defensive";
    config.Bot(4).aggression_level = "aggressive";
    config.Bot(5).aggression_level = " normal";
    RepairPersonalities(config);
    EXPECT_EQ(config.Bot(1).aggression_level, "normal");
    EXPECT_EQ(config.Bot(2).aggression_level, "normal");
    EXPECT_EQ(config.Bot(3).aggression_level, "defensive");
    EXPECT_EQ(config.Bot(4).aggression_level, "aggressive");
    EXPECT_EQ(config.Bot(5).aggression_level, "normal");
}

TEST(RepairPersonalitiesTest, KeepsADigitTranskillerAndReplacesAnythingElse)
{
    PersonalityConfig config;
    config.Bots.fill(DefaultRecord());
    const int transkiller = FieldIndex("transkiller");
    SetField(config.Bot(1), transkiller, "a");
    SetField(config.Bot(2), transkiller, "");
    SetField(config.Bot(3), transkiller, "0");
    SetField(config.Bot(4), transkiller, "5");
    SetField(config.Bot(5), transkiller, "-1");
    RepairPersonalities(config);
    EXPECT_EQ(config.Bot(1).transkiller, "1");
    EXPECT_EQ(config.Bot(2).transkiller, "1");
    EXPECT_EQ(config.Bot(3).transkiller, "0");
    EXPECT_EQ(config.Bot(4).transkiller, "5");
    EXPECT_EQ(config.Bot(5).transkiller, "1");
}

} // namespace
} // namespace voltara
