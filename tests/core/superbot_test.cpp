#include "core/superbot_file.h"
#include "core_test_support.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <tuple>

namespace voltara {
namespace {

namespace fs = std::filesystem;

using test::FakeView;
using test::InvalidLineMessage;
using test::ReadBytes;
using test::ReadErrorMessage;
using test::WriteBytes;
using Calls = std::vector<std::string>;

// The calls that end every reading that reached a section header, or found no file.
const Calls kShowsTierOne = {"Yield", "ShowSuperbot 1"};

Calls Concat(Calls first, const Calls &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class SuperbotTest : public ::testing::Test
{
protected:
    SuperbotTest() { InitSuperbotData(config_, folder_.path().string()); }

    // Reads the content as a file named sbot.cfg in the test folder.
    void ReadContent(const std::string &content)
    {
        WriteBytes(folder_ / "sbot.cfg", content);
        ReadSuperbotFile(config_, config_.SuperbotConfigPath, view_);
    }

    test::ScratchFolder folder_;
    SuperbotConfig config_;
    FakeView view_;
};

using SuperbotWriterTest = SuperbotTest;
using SuperbotReaderTest = SuperbotTest;

TEST_F(SuperbotWriterTest, DefaultFileMatchesTheDesignedLayoutByteForByte)
{
    RepairSuperbots(config_); // empty records take every default
    ASSERT_TRUE(WriteSuperbotFile(config_, config_.SuperbotConfigPath, view_));
    EXPECT_EQ(ReadBytes(folder_ / "sbot.cfg"),
        ReadBytes(fs::path(VOLTARA_TEST_DATA) / "default_sbot.cfg"));
    EXPECT_EQ(view_.calls, Calls {FakeView::Message("File successfully saved", "")});
}

TEST_F(SuperbotWriterTest, AppliesTheNameRules)
{
    RepairSuperbots(config_);
    const std::string base = folder_ / "out";
    EXPECT_TRUE(WriteSuperbotFile(config_, base, view_));
    EXPECT_TRUE(WriteSuperbotFile(config_, base + "2.cfg", view_));
    EXPECT_TRUE(WriteSuperbotFile(config_, base + "3.CFG", view_));
    EXPECT_TRUE(WriteSuperbotFile(config_, base + "4.cfg" + std::string(1, '\0'), view_));
    EXPECT_EQ(folder_.Names(), (Calls {"out.cfg", "out2.cfg", "out3.CFG.cfg", "out4.cfg"}));
}

// A failed save names the path and the system's reason, and leaves everything as it was.
TEST_F(SuperbotWriterTest, FailedSavesReportAndWriteNothing)
{
    RepairSuperbots(config_);
    const std::string missing = folder_ / "missing/sbot.cfg";
    EXPECT_FALSE(WriteSuperbotFile(config_, missing, view_));
    const std::string path = folder_ / "sbot.cfg";
    WriteBytes(path, "old bytes");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteSuperbotFile(config_, path, view_));

    const auto failed = [](const std::string &path, int error) {
        return FakeView::Message(
            "File: \"" + path + "\" could not be saved\r\n" + test::SystemErrorText(error),
            "Error");
    };
    EXPECT_EQ(view_.calls,
        (Calls {failed(missing, test::kNoSuchFolder), failed(path, test::kAccessDenied)}));
    EXPECT_EQ(ReadBytes(path), "old bytes");
    EXPECT_EQ(folder_.Names(), Calls {"sbot.cfg"});
}

TEST_F(SuperbotReaderTest, RoundTripRestoresEveryStoredText)
{
    const char *texts[] = {"40", " 40", "2.5", "1e3", "-1", "+7", "  -0.5E+2", "99999999", ".5",
        "5.", "0", "150", "255", "1", "2500000"};
    int next = 0;
    for (int tier = 1; tier <= kTierCount; ++tier)
        for (const SuperbotFieldInfo &field : kSuperbotFields)
            config_.Tier(tier).*field.member = texts[next++ % std::size(texts)];
    const SuperbotConfig written = config_;
    ASSERT_TRUE(WriteSuperbotFile(config_, config_.SuperbotConfigPath, view_));

    SuperbotConfig reread;
    InitSuperbotData(reread, folder_.path().string());
    FakeView view;
    ReadSuperbotFile(reread, reread.SuperbotConfigPath, view);
    EXPECT_EQ(reread.Superbots, written.Superbots);
    EXPECT_EQ(view.calls, kShowsTierOne);
    EXPECT_EQ(reread.LoadedPath, reread.SuperbotConfigPath);
}

// A file's content and what reading it must give: the messages before tier 1 is shown, and
// values of the tiers (a key a section lacks takes the tier's default).
struct ReadingCase
{
    const char *name;
    std::string content;
    Calls messages;
    std::vector<std::tuple<int, const char *, const char *>> values;
};

void PrintTo(const ReadingCase &c, std::ostream *out)
{
    *out << c.name;
}

class SuperbotReadingTest : public SuperbotTest, public testing::WithParamInterface<ReadingCase>
{
};

TEST_P(SuperbotReadingTest, ReportsStoresAndShowsTierOne)
{
    const ReadingCase &c = GetParam();
    config_.CurrentTier = 2;
    ReadContent(c.content);
    EXPECT_EQ(view_.calls, Concat(c.messages, kShowsTierOne));
    EXPECT_EQ(config_.CurrentTier, 1);
    for (const auto &[tier, key, value] : c.values)
        EXPECT_EQ(config_.Tier(tier).*SuperbotFieldNamed(key)->member, value) << tier << key;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, SuperbotReadingTest, testing::Values(
    ReadingCase {"each tier from its own section in any order",
        "[ULTIMATEBOT]\r\nki_gain 3\r\n[SUPERBOT]\r\nki_gain 1\r\n[MEGABOT]\r\n"
        "ki_gain 2\r\nhealth_gain 22", {},
        {{1, "ki_gain", "1"}, {2, "ki_gain", "2"}, {2, "health_gain", "22"}, {3, "ki_gain", "3"},
         {3, "powerlevel", "10000000"}}},
    ReadingCase {"any other tier name fills tier one",
        "[MEGABOT]\nki_gain 2\n[XBOT]\nki_gain 9\n[BOT]\nhealth_gain 8\n", {},
        {{1, "ki_gain", "9"}, {1, "health_gain", "8"}, {2, "ki_gain", "2"}}},
    ReadingCase {"a header with a comment is a data line",
        "[SUPERBOT]\nki_gain 1\n[MEGABOT] # strong\nki_gain 7\n",
        {InvalidLineMessage("[MEGABOT] # strong")}, {{1, "ki_gain", "7"}, {2, "ki_gain", "200"}}},
    ReadingCase {"keys that match no setting are reported",
        "[SUPERBOT]\nKI_GAIN 5\n  # word\nki_gain 6\n",
        {InvalidLineMessage("KI_GAIN 5"), InvalidLineMessage("# word")}, {{1, "ki_gain", "6"}}},
    ReadingCase {"a tab between key and value stops the reading and keeps earlier values",
        "[MEGABOT]\nki_gain 2\nhealth_gain\t9\npowerlevel 5\n", {ReadErrorMessage()},
        {{2, "ki_gain", "2"}, {2, "health_gain", "0"}, {2, "powerlevel", "3500000"}}},
    ReadingCase {"a fourth section stops the reading",
        "[SUPERBOT]\nki_gain 1\n[MEGABOT]\nki_gain 2\n[ULTIMATEBOT]\nki_gain 3\n"
        "[SUPERBOT]\nki_gain 4\n", {ReadErrorMessage()}, {{1, "ki_gain", "1"}}},
    ReadingCase {"a non-numeric value takes the tier's default and an exponent stays",
        "[MEGABOT]\nki_gain abc\nhealth_gain 1e3\ntransparency_val 1,5\n", {},
        {{2, "ki_gain", "200"}, {2, "health_gain", "1e3"}, {2, "transparency_val", "127"}}}));
// clang-format on

TEST_F(SuperbotReaderTest, SecondFileLackingAKeyKeepsTheFirstFilesValue)
{
    ReadContent("[SUPERBOT]\nki_gain 11\nhealth_gain 12\n");
    view_ = {};
    config_.CurrentTier = 3;
    const std::string second = folder_ / "second.cfg";
    WriteBytes(second, "[SUPERBOT]\nki_gain 21\n");
    ReadSuperbotFile(config_, second, view_);
    EXPECT_EQ(config_.Tier(1).ki_gain, "21");
    EXPECT_EQ(config_.Tier(1).health_gain, "12");
    EXPECT_EQ(config_.LoadedPath, second);
    EXPECT_EQ(view_.calls, kShowsTierOne);
    EXPECT_EQ(config_.CurrentTier, 1);
}

TEST_F(SuperbotReaderTest, MissingFileLoadsDefaultsAndShowsTierOne)
{
    config_.CurrentTier = 2;
    ReadSuperbotFile(config_, config_.SuperbotConfigPath, view_);
    EXPECT_EQ(view_.calls,
        Concat({FakeView::Message("File: \"" + config_.SuperbotConfigPath
                       + "\" doesn't exist\r\nLoading default values",
                   "Error")},
            kShowsTierOne));
    EXPECT_EQ(config_.Tier(2), TierDefaults(2));
    EXPECT_EQ(config_.LoadedPath, "");
    EXPECT_EQ(config_.CurrentTier, 1);
}

TEST_F(SuperbotReaderTest, FileEndingBeforeFirstHeaderReportsAndRepairsOnly)
{
    for (const char *content : {"", "# only a comment\r\n\r\n", "ki_gain 5\n[SUPERBOT]\n",
             "[MEGABOT] # strong\nki_gain 5\n"}) {
        SCOPED_TRACE(content);
        config_ = {};
        view_ = {};
        InitSuperbotData(config_, folder_.path().string());
        config_.CurrentTier = 3;
        ReadContent(content);
        EXPECT_EQ(view_.calls, Calls {ReadErrorMessage()});
        EXPECT_EQ(config_.Tier(1), TierDefaults(1)); // never left empty
        EXPECT_EQ(config_.CurrentTier, 3);
        EXPECT_EQ(config_.LoadedPath, config_.SuperbotConfigPath);
    }
}

TEST(SuperbotDataTest, BuildsTheDefaultPathAndKeyNames)
{
    SuperbotConfig config;
    config.CurrentTier = 3;
    const std::string sep(1, kPathSeparator);
    InitSuperbotData(config, "dir");
    EXPECT_EQ(config.SuperbotConfigPath, "dir" + sep + "sbot.cfg");
    EXPECT_EQ(config.CurrentTier, 1);
    EXPECT_EQ(config.SuperbotKeyNames,
        (std::vector<std::string> {
            "ki_gain", "health_gain", "powerlevel", "transparency_val", "sbotlaser_percent"}));
    InitSuperbotData(config, sep);
    EXPECT_EQ(config.SuperbotConfigPath, sep + "sbot.cfg");
}

TEST(SuperbotDataTest, DefaultsAndTierChecks)
{
    SuperbotConfig config;
    config.Tier(2).ki_gain = "5";
    SetTierDefaults(config, 2);
    EXPECT_EQ(config.Tier(2), (Superbot {"200", "0", "3500000", "127", "50"}));
    EXPECT_THROW(config.Tier(4), std::out_of_range);
    EXPECT_THROW(TierName(0), std::out_of_range);
}

} // namespace
} // namespace voltara
