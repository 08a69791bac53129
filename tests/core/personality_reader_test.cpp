#include "core/personality_file.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace voltara {
namespace {

using test::DefaultRecord;
using test::FakeView;
using test::FinishCalls;
using test::InvalidLineMessage;
using test::Joined;
using test::ReadErrorMessage;
using Calls = std::vector<std::string>;

Calls Concat(Calls first, const Calls &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Reading starts from the state the program has at start-up: empty records, CurrentBot 1.
class PersonalityReaderTest : public testing::Test
{
protected:
    PersonalityReaderTest() { BuildConfigPath(config, "/nowhere"); }

    void Read(const std::vector<std::string> &lines, const std::string &end = "\r\n")
    {
        ReadPersonality(config, Joined(lines, end), view);
    }

    // A personality holding the defaults except for the given keys.
    static Personality DefaultsWith(
        const std::vector<std::pair<const char *, const char *>> &values)
    {
        Personality bot = DefaultRecord();
        for (const auto &[key, value] : values)
            SetField(bot, FieldIndex(key), value);
        return bot;
    }

    void ExpectDefaultsExcept(const std::map<int, Personality> &changed) const
    {
        for (int n = 1; n <= kBotCount; ++n) {
            const auto found = changed.find(n);
            EXPECT_EQ(config.Bot(n), found == changed.end() ? DefaultRecord() : found->second)
                << "personality " << n;
        }
    }

    PersonalityConfig config;
    FakeView view;
};

TEST_F(PersonalityReaderTest, StoresEveryKeyIntoItsOwnField)
{
    std::vector<std::string> lines = {"default_personality 4", "[BOT6]"};
    int value = 0;
    for (const FieldInfo &field : kFields) {
        if (field.kind == FieldKind::Percent)
            lines.push_back(std::string(field.key) + " " + std::to_string(++value));
    }
    lines.push_back("transkiller 7");
    lines.push_back("aggression_level defensive");
    Read(lines);

    EXPECT_EQ(view.calls, FinishCalls(4));
    EXPECT_EQ(config.DefaultPersonality, "4");
    EXPECT_EQ(config.CurrentBot, 1);
    value = 0;
    for (const FieldInfo &field : kFields) {
        if (field.kind == FieldKind::Percent) {
            EXPECT_EQ(config.Bot(6).*field.member, std::to_string(++value)) << field.key;
        }
    }
    EXPECT_EQ(config.Bot(6).transkiller, "7");
    EXPECT_EQ(config.Bot(6).aggression_level, "defensive");
}

// A file given as lines, and what reading it must give: the messages before the calls that end
// every reading, the default option then selected, the default personality stored, and the
// records that differ from the defaults, by the keys that do.
struct ReadingCase
{
    const char *name;
    std::vector<std::string> lines;
    Calls messages;
    int option;
    const char *default_personality;
    std::map<int, std::vector<std::pair<const char *, const char *>>> changed;
};

void PrintTo(const ReadingCase &c, std::ostream *out)
{
    *out << c.name;
}

class ReadingCaseTest : public PersonalityReaderTest,
                        public testing::WithParamInterface<ReadingCase>
{
};

TEST_P(ReadingCaseTest, ReportsStoresAndShowsPersonalityOne)
{
    const ReadingCase &c = GetParam();
    Read(c.lines);
    EXPECT_EQ(view.calls, Concat(c.messages, FinishCalls(c.option)));
    EXPECT_EQ(config.DefaultPersonality, c.default_personality);
    EXPECT_EQ(config.CurrentBot, 1);
    std::map<int, Personality> changed;
    for (const auto &[n, values] : c.changed)
        changed[n] = DefaultsWith(values);
    ExpectDefaultsExcept(changed);
}

const std::string kBom = "\xEF\xBB\xBF";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadingCaseTest, testing::Values(
    ReadingCase {"comments, blanks, spaces and any order",
        {"# header", "", "   ", "  default_personality 2  ", "#", "[BOT3]", "", "  fly_percent 10",
            "melee_percent  50", "#[BOT4]", "[BOT1]", "melee_percent 1"},
        {}, 2, "2", {{3, {{"fly_percent", "10"}, {"melee_percent", " 50"}}},
                     {1, {{"melee_percent", "1"}}}}},
    ReadingCase {"a value with a trailing comment is repaired",
        {"default_personality -1", "[BOT2]", "melee_percent 50 # most of the time",
            "taunt_percent 1 0"},
        {}, 0, "-1", {}},
    ReadingCase {"an unknown key is reported and reading goes on",
        {"default_personality -1", "[BOT1]", "melee_percent 1", "Melee_percent 2",
            "speed_percent 3 4", "kiblast_percent 5"},
        {InvalidLineMessage("Melee_percent 2"), InvalidLineMessage("speed_percent 3 4")}, 0, "-1",
        {{1, {{"melee_percent", "1"}, {"kiblast_percent", "5"}}}}},
    ReadingCase {"a key with a colon is reported and reading goes on",
        {"default_personality -1", "[BOT2]", "melee_percent: 50", "kiblast_percent 5"},
        {InvalidLineMessage("melee_percent: 50")}, 0, "-1", {{2, {{"kiblast_percent", "5"}}}}},
    ReadingCase {"an indented comment with a space is an invalid line",
        {"default_personality -1", "[BOT2]", "   # sets the melee", "kiblast_percent 5"},
        {InvalidLineMessage("# sets the melee")}, 0, "-1", {{2, {{"kiblast_percent", "5"}}}}},
    ReadingCase {"an indented comment without a space ends the reading",
        {"default_personality -1", "[BOT2]", "melee_percent 1", " #note", "kiblast_percent 5",
            "[BOT3]", "melee_percent 3"},
        {ReadErrorMessage()}, 0, "-1", {{2, {{"melee_percent", "1"}}}}},
    ReadingCase {"a key line without a value ends the reading",
        {"default_personality -1", "[BOT2]", "melee_percent 1", "kiblast_percent ",
            "laser_percent 5"},
        {ReadErrorMessage()}, 0, "-1", {{2, {{"melee_percent", "1"}}}}},
    ReadingCase {"a lowercase header ends the reading",
        {"default_personality 5", "[BOT1]", "melee_percent 1", "[bot2]", "melee_percent 2"},
        {ReadErrorMessage()}, 5, "5", {{1, {{"melee_percent", "1"}}}}},
    ReadingCase {"section zero followed by a key line ends the reading",
        {"default_personality -1", "[BOT1]", "melee_percent 1", "[BOT0]", "melee_percent 0",
            "[BOT2]", "melee_percent 2"},
        {ReadErrorMessage()}, 0, "-1", {{1, {{"melee_percent", "1"}}}}},
    ReadingCase {"section zero refuses even the general key",
        {"default_personality 2", "[BOT0]", "default_personality 3"},
        {ReadErrorMessage()}, 2, "2", {}},
    ReadingCase {"section zero at the end is harmless",
        {"default_personality -1", "[BOT1]", "melee_percent 1", "[BOT0]"},
        {}, 0, "-1", {{1, {{"melee_percent", "1"}}}}},
    ReadingCase {"a section header without a digit ends the reading",
        {"default_personality -1", "[BOT1]", "melee_percent 1", "[BOTX]", "melee_percent 2"},
        {ReadErrorMessage()}, 0, "-1", {{1, {{"melee_percent", "1"}}}}},
    ReadingCase {"a header's number is its first character only",
        {"default_personality -1", "[BOT12]", "melee_percent 12", "[BOT3 and more]",
            "melee_percent 3"},
        {}, 0, "-1", {{1, {{"melee_percent", "12"}}}, {3, {{"melee_percent", "3"}}}}},
    ReadingCase {"a second section of the same number overwrites the first",
        {"default_personality -1", "[BOT7]", "melee_percent 1", "fly_percent 2", "[BOT1]",
            "melee_percent 5", "[BOT7]", "melee_percent 3"},
        {}, 0, "-1", {{7, {{"melee_percent", "3"}, {"fly_percent", "2"}}},
                      {1, {{"melee_percent", "5"}}}}},
    ReadingCase {"the default personality inside a section keeps a word",
        {"default_personality 3", "[BOT1]", "default_personality many"}, {}, -1, "many", {}},
    ReadingCase {"a general option line with an unknown key is reported with its value",
        {"default 5", "[BOT1]"}, {InvalidLineMessage("default 5")}, 0, "-1", {}},
    ReadingCase {"a general option line with an unknown key and a word gives -1",
        {"default five", "[BOT1]"}, {InvalidLineMessage("default -1")}, 0, "-1", {}},
    ReadingCase {"a byte-order mark counts only at the very start",
        {"default_personality 3", "[BOT1]", kBom + "melee_percent 1"},
        {InvalidLineMessage(kBom + "melee_percent 1")}, 3, "3", {}}));
// clang-format on

TEST_F(PersonalityReaderTest, TenthSectionHeaderEndsTheReadingUnread)
{
    std::vector<std::string> lines = {"default_personality -1"};
    for (int n = 1; n <= 9; ++n) {
        lines.push_back("[BOT" + std::to_string(n) + "]");
        lines.push_back("melee_percent " + std::to_string(n));
    }
    lines.push_back("[BOT2]");
    lines.push_back("melee_percent 99");
    Read(lines);

    EXPECT_EQ(view.calls, Concat({ReadErrorMessage()}, FinishCalls(0)));
    EXPECT_EQ(config.CurrentBot, 1);
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(config.Bot(n).melee_percent, std::to_string(n));
}

TEST_F(PersonalityReaderTest, NineSectionsAreAWholeFile)
{
    std::vector<std::string> lines = {"default_personality -1"};
    for (int n = 9; n >= 1; --n) {
        lines.push_back("[BOT" + std::to_string(n) + "]");
        lines.push_back("melee_percent " + std::to_string(n));
    }
    Read(lines);
    EXPECT_EQ(view.calls, FinishCalls(0));
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(config.Bot(n).melee_percent, std::to_string(n));
}

TEST_F(PersonalityReaderTest, SectionsOneToThreeLeaveTheOthersAsTheyWere)
{
    config.Bots.fill(DefaultRecord());
    config.Bot(8).melee_percent = "42";
    Read({"default_personality -1", "[BOT1]", "melee_percent 1", "[BOT2]", "melee_percent 2",
        "[BOT3]", "melee_percent 3"});
    EXPECT_EQ(view.calls, FinishCalls(0));
    ExpectDefaultsExcept({
        {1, DefaultsWith({{"melee_percent", "1"}}) },
        {2, DefaultsWith({{"melee_percent", "2"}}) },
        {3, DefaultsWith({{"melee_percent", "3"}}) },
        {8, DefaultsWith({{"melee_percent", "42"}})}
    });
}

TEST_F(PersonalityReaderTest, GeneralOptionLineWithAWordGivesRandom)
{
    config.DefaultPersonality = "4";
    Read({"default_personality many", "[BOT1]"});
    EXPECT_EQ(view.calls, FinishCalls(0));
    EXPECT_EQ(config.DefaultPersonality, "-1");
}

TEST_F(PersonalityReaderTest, GeneralOptionLineWithAnotherKeyFillsTheCurrentRecord)
{
    config.CurrentBot = 4;
    Read({"melee_percent 12", "[BOT1]"});
    EXPECT_EQ(view.calls, FinishCalls(0));
    ExpectDefaultsExcept({
        {4, DefaultsWith({{"melee_percent", "12"}})}
    });
}

// The default-personality option that the file's value selects, and the value that remains.
struct DefaultOptionCase
{
    const char *file_value;
    int option;
    const char *stored;
};

void PrintTo(const DefaultOptionCase &c, std::ostream *out)
{
    *out << '"' << c.file_value << '"';
}

class DefaultOptionTest : public PersonalityReaderTest,
                          public testing::WithParamInterface<DefaultOptionCase>
{
};

TEST_P(DefaultOptionTest, SelectsTheOptionAndStoresItsValue)
{
    const DefaultOptionCase &c = GetParam();
    Read({"default_personality " + std::string(c.file_value), "[BOT1]"});
    EXPECT_EQ(view.calls, FinishCalls(c.option));
    EXPECT_EQ(config.DefaultPersonality, c.stored);
}

INSTANTIATE_TEST_SUITE_P(Values, DefaultOptionTest,
    testing::Values(DefaultOptionCase {"-1", 0, "-1"}, DefaultOptionCase {"0", 0, "-1"},
        DefaultOptionCase {"1", 1, "1"}, DefaultOptionCase {"9", 9, "9"},
        DefaultOptionCase {"5.0", 5, "5"}, DefaultOptionCase {" 4", 4, "4"},
        DefaultOptionCase {"2.5", 2, "2"}, DefaultOptionCase {"3.5", 4, "4"},
        DefaultOptionCase {"12", -1, "12"}, DefaultOptionCase {"10", -1, "10"},
        DefaultOptionCase {"-5", -1, "-5"}, DefaultOptionCase {"1e99", -1, "1e99"},
        DefaultOptionCase {"abc", 0, "-1"}));

// Reads that fail before the first section: the message with the program's title, then the
// repair, and nothing else on the window.
class EarlyFailureTest : public PersonalityReaderTest,
                         public testing::WithParamInterface<const char *>
{
};

TEST_P(EarlyFailureTest, ShowsTheReadErrorAndRepairsWithoutRefresh)
{
    config.CurrentBot = 6;
    ReadPersonality(config, GetParam(), view);
    EXPECT_EQ(view.calls, Calls {ReadErrorMessage()});
    EXPECT_EQ(config.CurrentBot, 6);
    ExpectDefaultsExcept({});
}

INSTANTIATE_TEST_SUITE_P(Files, EarlyFailureTest,
    testing::Values("", "\r\n\r\n", "# only\r\n#comments\r\n", "default_personality\r\n[BOT1]\r\n",
        "default_personality 1\r\nmelee_percent 5\r\n[BOT1]\r\n",
        "default_personality 1\r\n[BOTa]\r\nmelee_percent 5\r\n",
        "default_personality 1\r\n[bot1]\r\n", "default_personality 1\r\n[BOT]\r\n"));

TEST_F(PersonalityReaderTest, FileWithOnlyTheGeneralOptionKeepsItsValue)
{
    Read({"default_personality 0"});
    EXPECT_EQ(view.calls, Calls {ReadErrorMessage()});
    EXPECT_EQ(config.DefaultPersonality, "0");
    ExpectDefaultsExcept({});
}

// The same file with each kind of line end, and with a byte-order mark.
class LineEndTest : public PersonalityReaderTest,
                    public testing::WithParamInterface<std::pair<const char *, const char *>>
{
};

TEST_P(LineEndTest, ReadsTheSameRecords)
{
    const auto &[prefix, end] = GetParam();
    ReadPersonality(config,
        prefix
            + Joined({"# comment", "default_personality 2", "", "[BOT2]", "melee_percent 9",
                         "aggression_level defensive", "[BOT5]", "fly_percent 1"},
                end),
        view);
    EXPECT_EQ(view.calls, FinishCalls(2));
    ExpectDefaultsExcept({
        {2, DefaultsWith({{"melee_percent", "9"}, {"aggression_level", "defensive"}})},
        {5, DefaultsWith({{"fly_percent", "1"}})                                     }
    });
}

INSTANTIATE_TEST_SUITE_P(Ends, LineEndTest,
    testing::Values(std::pair {"", "\r\n"}, std::pair {"", "\r"}, std::pair {"", "\n"},
        std::pair {"\xEF\xBB\xBF", "\r\n"}, std::pair {"\xEF\xBB\xBF", "\n"}));

TEST_F(PersonalityReaderTest, LastLineNeedsNoLineEnd)
{
    ReadPersonality(config, "default_personality 3\r\n[BOT4]\r\nmelee_percent 1", view);
    EXPECT_EQ(view.calls, FinishCalls(3));
    ExpectDefaultsExcept({
        {4, DefaultsWith({{"melee_percent", "1"}})}
    });
}

class PersonalityFileReaderTest : public PersonalityReaderTest
{
protected:
    test::ScratchFolder folder;
};

TEST_F(PersonalityFileReaderTest, MissingFileGivesDefaultsAndNamesThePath)
{
    const std::string path = folder / "bot_personality.cfg";
    config.LoadedPath = "earlier.cfg";
    ReadPersonalityFile(config, path, view);

    EXPECT_EQ(view.calls,
        Calls {FakeView::Message(
            "File: \"" + path + "\" doesn't exist\r\nLoading default values", "Error")});
    EXPECT_EQ(config.LoadedPath, "earlier.cfg");
    EXPECT_EQ(config.DefaultPersonality, "-1");
    ExpectDefaultsExcept({});
}

// A later reading that fails before any record, the file damaged or missing, keeps the valid
// values of the file read before and repairs the rest.
TEST_F(PersonalityFileReaderTest, FailedLaterReadingKeepsValidValuesOfTheEarlierFile)
{
    const std::string damaged = folder / "damaged.cfg";
    test::WriteBytes(damaged, "# nothing here\r\n");
    const std::string missing = folder / "gone.cfg";
    for (const std::string &path : {damaged, missing}) {
        SCOPED_TRACE(path);
        config.Bots.fill(DefaultRecord());
        config.Bot(4).melee_percent = "33";
        config.Bot(4).swoop_percent = "";
        config.Bot(3).fly_percent = "oops";
        config.DefaultPersonality = "4";
        view.calls.clear();
        ReadPersonalityFile(config, path, view);
        EXPECT_EQ(view.calls,
            Calls {path == damaged ? ReadErrorMessage()
                                   : FakeView::Message("File: \"" + missing
                                           + "\" doesn't exist\r\nLoading default values",
                                       "Error")});
        EXPECT_EQ(config.DefaultPersonality, "4");
        ExpectDefaultsExcept({
            {4, DefaultsWith({{"melee_percent", "33"}})}
        });
    }
}

TEST_F(PersonalityFileReaderTest, FolderIsNotAFile)
{
    ReadPersonalityFile(config, folder.path().string(), view);
    EXPECT_EQ(view.calls,
        Calls {FakeView::Message(
            "File: \"" + folder.path().string() + "\" doesn't exist\r\nLoading default values",
            "Error")});
    EXPECT_EQ(config.LoadedPath, "");
}

TEST_F(PersonalityFileReaderTest, ReadsAFileAndRemembersItsPath)
{
    const std::string path = folder / "mine.cfg";
    test::WriteBytes(path, Joined({"default_personality 6", "[BOT9]", "jump_percent 3"}));
    ReadPersonalityFile(config, path, view);
    EXPECT_EQ(view.calls, FinishCalls(6));
    EXPECT_EQ(config.LoadedPath, path);
    ExpectDefaultsExcept({
        {9, DefaultsWith({{"jump_percent", "3"}})}
    });
}

TEST_F(PersonalityFileReaderTest, EmptyFileIsAReadErrorButItsPathIsRemembered)
{
    const std::string path = folder / "empty.cfg";
    test::WriteBytes(path, "");
    ReadPersonalityFile(config, path, view);
    EXPECT_EQ(view.calls, Calls {ReadErrorMessage()});
    EXPECT_EQ(config.LoadedPath, path);
    ExpectDefaultsExcept({});
}

TEST_F(PersonalityFileReaderTest, UnreadableFileIsAReadError)
{
    const std::string path = folder / "locked.cfg";
    test::WriteBytes(path, Joined({"default_personality 6", "[BOT9]", "jump_percent 3"}));
    const test::LockedFile locked(path);
    if (!locked.Works())
        GTEST_SKIP() << "root reads any file";
    ReadPersonalityFile(config, path, view);
    EXPECT_EQ(view.calls, Calls {ReadErrorMessage()});
    ExpectDefaultsExcept({});
}

} // namespace
} // namespace voltara
