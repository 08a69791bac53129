#include "core/config_file.h"
#include "core/superbot_file.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace voltara {
namespace {

namespace fs = std::filesystem;

// Records what the reader asks of the window.
class FakeSuperbotView : public SuperbotView
{
public:
    struct Message
    {
        std::string text;
        Caption caption;
    };
    std::vector<Message> messages;
    std::vector<std::string> shown;
    int yields = 0;

    void ShowMessage(const std::string &text, const Caption &caption, MessageIcon) override
    {
        messages.push_back({text, caption});
    }
    void Yield() override { ++yields; }
    void ShowSuperbot(const std::string &tier) override { shown.push_back(tier); }
};

std::string ReadBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class SuperbotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path()
            / ("superbot_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        InitSuperbotData(config_, folder_.string());
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(folder_ / "sbot.cfg", fs::perms::owner_all, ignored);
        fs::remove_all(folder_, ignored);
    }

    // Reads the content as a file named sbot.cfg in the test folder.
    void ReadContent(const std::string &content)
    {
        WriteBytes(folder_ / "sbot.cfg", content);
        ReadSuperbotFile(config_, config_.SuperbotConfigPath, view_);
    }

    void ExpectOnlyMessage(const std::string &text, const Caption &caption)
    {
        ASSERT_EQ(view_.messages.size(), 1u);
        EXPECT_EQ(view_.messages[0].text, text);
        EXPECT_EQ(view_.messages[0].caption, caption);
    }

    void ExpectEndsOnTierOne()
    {
        EXPECT_EQ(config_.CurrentTier, 1);
        EXPECT_EQ(view_.shown, (std::vector<std::string> {"1"}));
    }

    fs::path folder_;
    SuperbotConfig config_;
    FakeSuperbotView view_;
};

using SuperbotWriterTest = SuperbotTest;
using SuperbotReaderTest = SuperbotTest;

TEST_F(SuperbotWriterTest, DefaultFileMatchesTheDesignedLayoutByteForByte)
{
    RepairSuperbots(config_); // empty records take every default
    ASSERT_TRUE(WriteSuperbotFile(config_, config_.SuperbotConfigPath, view_));
    EXPECT_EQ(ReadBytes(folder_ / "sbot.cfg"),
        ReadBytes(fs::path(VOLTARA_TEST_DATA) / "default_sbot.cfg"));
    ExpectOnlyMessage("File successfully saved", "");
}

TEST_F(SuperbotWriterTest, AppliesTheNameRules)
{
    RepairSuperbots(config_);
    const std::string base = (folder_ / "out").string();
    EXPECT_TRUE(WriteSuperbotFile(config_, base, view_));
    EXPECT_TRUE(fs::exists(base + ".cfg"));
    EXPECT_TRUE(WriteSuperbotFile(config_, base + "2.cfg", view_));
    EXPECT_TRUE(fs::exists(base + "2.cfg"));
    EXPECT_FALSE(fs::exists(base + "2.cfg.cfg"));
    EXPECT_TRUE(WriteSuperbotFile(config_, base + "3.CFG", view_));
    EXPECT_TRUE(fs::exists(base + "3.CFG.cfg"));
    EXPECT_TRUE(WriteSuperbotFile(config_, base + "4.cfg" + std::string(1, '\0'), view_));
    EXPECT_TRUE(fs::exists(base + "4.cfg"));
}

TEST_F(SuperbotWriterTest, FailedSaveIntoMissingFolderReportsAndWritesNothing)
{
    RepairSuperbots(config_);
    const std::string path = (folder_ / "missing" / "sbot.cfg").string();
    EXPECT_FALSE(WriteSuperbotFile(config_, path, view_));
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].caption, Caption("Error"));
    EXPECT_EQ(view_.messages[0].text.rfind("File: \"" + path + "\" could not be saved\r\n", 0), 0u)
        << view_.messages[0].text;
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(SuperbotWriterTest, FailedSaveOntoReadOnlyFileLeavesItUntouched)
{
    RepairSuperbots(config_);
    const fs::path path = folder_ / "sbot.cfg";
    WriteBytes(path, "old bytes");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteSuperbotFile(config_, path.string(), view_));
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].caption, Caption("Error"));
    EXPECT_NE(view_.messages[0].text.find("could not be saved"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), "old bytes");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(SuperbotReaderTest, RoundTripRestoresEveryStoredText)
{
    const char *texts[] = {"40", " 40", "2.5", "1e3", "-1", "+7", "  -0.5E+2", "99999999", ".5",
        "5.", "0", "150", "255", "1", "2500000"};
    int next = 0;
    for (int tier = 1; tier <= kTierCount; ++tier)
        for (const SuperbotFieldInfo &field : kSuperbotFields)
            config_.Tier(tier).*field.member = texts[next++];
    const SuperbotConfig written = config_;
    ASSERT_TRUE(WriteSuperbotFile(config_, config_.SuperbotConfigPath, view_));

    SuperbotConfig reread;
    InitSuperbotData(reread, folder_.string());
    FakeSuperbotView view;
    ReadSuperbotFile(reread, reread.SuperbotConfigPath, view);
    EXPECT_EQ(reread.Superbots, written.Superbots);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(reread.LoadedPath, reread.SuperbotConfigPath);
}

TEST_F(SuperbotReaderTest, FillsEachTierFromItsOwnSectionInAnyOrder)
{
    ReadContent("[ULTIMATEBOT]\r\nki_gain 3\r\n[SUPERBOT]\r\nki_gain 1\r\n[MEGABOT]\r\n"
                "ki_gain 2\r\nhealth_gain 22");
    EXPECT_TRUE(view_.messages.empty());
    EXPECT_EQ(config_.Tier(1).ki_gain, "1");
    EXPECT_EQ(config_.Tier(2).ki_gain, "2");
    EXPECT_EQ(config_.Tier(2).health_gain, "22");
    EXPECT_EQ(config_.Tier(3).ki_gain, "3");
    EXPECT_EQ(config_.Tier(3).powerlevel, "10000000"); // missing keys take defaults
    ExpectEndsOnTierOne();
    EXPECT_EQ(view_.yields, 1);
}

TEST_F(SuperbotReaderTest, AnyOtherTierNameFillsTierOne)
{
    ReadContent("[MEGABOT]\nki_gain 2\n[XBOT]\nki_gain 9\n[BOT]\nhealth_gain 8\n");
    EXPECT_TRUE(view_.messages.empty());
    EXPECT_EQ(config_.Tier(1).ki_gain, "9");
    EXPECT_EQ(config_.Tier(1).health_gain, "8");
    EXPECT_EQ(config_.Tier(2).ki_gain, "2");
}

TEST_F(SuperbotReaderTest, HeaderWithCommentIsADataLine)
{
    ReadContent("[SUPERBOT]\nki_gain 1\n[MEGABOT] # strong\nki_gain 7\n");
    ExpectOnlyMessage("Invalid line:\r\n[MEGABOT] # strong", "Error");
    EXPECT_EQ(config_.Tier(1).ki_gain, "7");
    EXPECT_EQ(config_.Tier(2).ki_gain, "200");
}

TEST_F(SuperbotReaderTest, ReportsKeysThatMatchNoSetting)
{
    ReadContent("[SUPERBOT]\nKI_GAIN 5\n  # word\nki_gain 6\n");
    ASSERT_EQ(view_.messages.size(), 2u);
    EXPECT_EQ(view_.messages[0].text, "Invalid line:\r\nKI_GAIN 5");
    EXPECT_EQ(view_.messages[1].text, "Invalid line:\r\n# word");
    EXPECT_EQ(view_.messages[1].caption, Caption("Error"));
    EXPECT_EQ(config_.Tier(1).ki_gain, "6");
}

TEST_F(SuperbotReaderTest, TabBetweenKeyAndValueStopsReadingAndKeepsEarlierValues)
{
    ReadContent("[MEGABOT]\nki_gain 2\nhealth_gain\t9\npowerlevel 5\n");
    ExpectOnlyMessage("Error with reading config file", kProgramTitle);
    EXPECT_EQ(config_.Tier(2).ki_gain, "2");
    EXPECT_EQ(config_.Tier(2).health_gain, "0");
    EXPECT_EQ(config_.Tier(2).powerlevel, "3500000");
    ExpectEndsOnTierOne();
}

TEST_F(SuperbotReaderTest, FourthSectionStopsReading)
{
    ReadContent("[SUPERBOT]\nki_gain 1\n[MEGABOT]\nki_gain 2\n[ULTIMATEBOT]\nki_gain 3\n"
                "[SUPERBOT]\nki_gain 4\n");
    ExpectOnlyMessage("Error with reading config file", kProgramTitle);
    EXPECT_EQ(config_.Tier(1).ki_gain, "1");
    ExpectEndsOnTierOne();
}

TEST_F(SuperbotReaderTest, NonNumericValueTakesTierDefaultAndExponentStays)
{
    ReadContent("[MEGABOT]\nki_gain abc\nhealth_gain 1e3\ntransparency_val 1,5\n");
    EXPECT_TRUE(view_.messages.empty());
    EXPECT_EQ(config_.Tier(2).ki_gain, "200");
    EXPECT_EQ(config_.Tier(2).health_gain, "1e3");
    EXPECT_EQ(config_.Tier(2).transparency_val, "127");
}

TEST_F(SuperbotReaderTest, SecondFileLackingAKeyKeepsTheFirstFilesValue)
{
    ReadContent("[SUPERBOT]\nki_gain 11\nhealth_gain 12\n");
    view_ = {};
    config_.CurrentTier = 3;
    const fs::path second = folder_ / "second.cfg";
    WriteBytes(second, "[SUPERBOT]\nki_gain 21\n");
    ReadSuperbotFile(config_, second.string(), view_);
    EXPECT_EQ(config_.Tier(1).ki_gain, "21");
    EXPECT_EQ(config_.Tier(1).health_gain, "12");
    EXPECT_EQ(config_.LoadedPath, second.string());
    ExpectEndsOnTierOne();
}

TEST_F(SuperbotReaderTest, MissingFileLoadsDefaultsAndShowsTierOne)
{
    config_.CurrentTier = 2;
    ReadSuperbotFile(config_, config_.SuperbotConfigPath, view_);
    ExpectOnlyMessage(
        "File: \"" + config_.SuperbotConfigPath + "\" doesn't exist\r\nLoading default values",
        "Error");
    EXPECT_EQ(config_.Tier(2), TierDefaults(2));
    EXPECT_EQ(config_.LoadedPath, "");
    ExpectEndsOnTierOne();
}

TEST_F(SuperbotReaderTest, FileEndingBeforeFirstHeaderReportsAndRepairsOnly)
{
    for (const char *content : {"", "# only a comment\r\n\r\n", "ki_gain 5\n[SUPERBOT]\n",
             "[MEGABOT] # strong\nki_gain 5\n"}) {
        SCOPED_TRACE(content);
        config_ = {};
        view_ = {};
        InitSuperbotData(config_, folder_.string());
        config_.CurrentTier = 3;
        ReadContent(content);
        ExpectOnlyMessage("Error with reading config file", kProgramTitle);
        EXPECT_EQ(config_.Tier(1), TierDefaults(1)); // never left empty
        EXPECT_EQ(config_.CurrentTier, 3);
        EXPECT_TRUE(view_.shown.empty());
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
