#include "core/personality_file.h"
#include "core/personality_layout.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace voltara {
namespace {

using test::FakeView;
using test::FinishCalls;
using test::ReadBytes;
using test::ScratchFolder;
using Calls = std::vector<std::string>;

const std::string kSavedMessage = FakeView::Message("File successfully saved", "");

bool WriteDefaults(const std::string &name, Host &host)
{
    PersonalityConfig config = test::DefaultPersonalityConfig();
    return WritePersonalityFile(config, name, host);
}

class PersonalityWriterTest : public testing::Test
{
protected:
    ScratchFolder folder;
    FakeView view;
};

TEST_F(PersonalityWriterTest, WritesTheDefaultRecordsExactlyAsTheReferenceFile)
{
    const std::string expected = ReadBytes(VOLTARA_TEST_DATA "/default_personality.cfg");
    ASSERT_FALSE(expected.empty());
    const std::string path = folder / "bot_personality.cfg";

    EXPECT_TRUE(WriteDefaults(path, view));
    EXPECT_EQ(view.calls, Calls {kSavedMessage});
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(PersonalityWriterTest, WritesEachRecordIntoItsOwnBlock)
{
    PersonalityConfig config = test::DefaultPersonalityConfig();
    config.DefaultPersonality = "7";
    config.Bot(2).melee_percent = "2.5";
    config.Bot(9).transkiller = "0";
    config.Bot(9).block_percent = " 12";
    const auto lines = PersonalityFileLines(config);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(personality_layout::kFileLines));
    // The line of a key in the block of personality n, after its number and its header.
    const auto line_in_block = [&lines](int n, const std::string &key) -> std::string {
        const std::string header = "[BOT" + std::to_string(n) + "]";
        auto at = std::find(lines.begin(), lines.end(), header);
        if (at == lines.begin() || at == lines.end()
            || at[-1] != "# Personality " + std::to_string(n))
            return "no block " + header;
        at = std::find_if(at, lines.end(), [&](const std::string &line) {
            return line.starts_with(key + " ") || (line.starts_with("[") && line != header);
        });
        return at == lines.end() ? "" : *at;
    };
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "default_personality 7"), 1);
    EXPECT_EQ(line_in_block(2, "melee_percent"), "melee_percent 2.5");
    EXPECT_EQ(line_in_block(9, "block_percent"), "block_percent  12");
    EXPECT_EQ(line_in_block(9, "transkiller"), "transkiller 0");
    EXPECT_EQ(line_in_block(1, "melee_percent"), "melee_percent 80");
}

// Settings any file line can carry and the repair keeps: numeric texts of every shape (also
// with leading spaces and out of range), digits for transkiller, the three words.
class RoundTripTest : public PersonalityWriterTest, public testing::WithParamInterface<unsigned>
{
protected:
    std::string RandomNumber()
    {
        static const char *const kSigns[] = {"", "+", "-"};
        std::string whole = Digits(Pick(0, 4));
        const std::string fraction = Pick(0, 1) ? "." + Digits(Pick(0, 3)) : "";
        if (whole.empty() && fraction.size() <= 1)
            whole = Digits(1);
        std::string text = std::string(Pick(0, 2), ' ') + kSigns[Pick(0, 2)] + whole + fraction;
        if (Pick(0, 3) == 0)
            text += std::string(Pick(0, 1) ? "e" : "E") + kSigns[Pick(0, 2)] + Digits(Pick(1, 2));
        return text;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution(low, high)(engine_); }

    std::string Digits(int count)
    {
        std::string digits;
        for (int i = 0; i < count; ++i)
            digits += static_cast<char>('0' + Pick(0, 9));
        return digits;
    }

    std::mt19937 engine_ {GetParam()};
};

TEST_P(RoundTripTest, WrittenRecordsReadBackIdenticallyWithoutMessages)
{
    static const char *const kWords[] = {"normal", "defensive", "aggressive"};
    static const char *const kDefaults[] = {"-1", "1", "5", "9", "12", "-7", "250"};
    PersonalityConfig written;
    BuildConfigPath(written, "/nowhere");
    written.DefaultPersonality = kDefaults[Pick(0, 6)];
    for (Personality &bot : written.Bots) {
        for (int i = 0; i < kFieldCount; ++i) {
            switch (kFields[i].kind) {
            case FieldKind::Percent:
                SetField(bot, i, RandomNumber());
                break;
            case FieldKind::Transkiller:
                SetField(bot, i, Digits(1));
                break;
            case FieldKind::Aggression:
                SetField(bot, i, kWords[Pick(0, 2)]);
                break;
            }
        }
    }
    const std::string path = folder / "round.cfg";
    ASSERT_TRUE(WritePersonalityFile(written, path, view));

    PersonalityConfig read;
    BuildConfigPath(read, "/nowhere");
    read.CurrentBot = 3;
    FakeView read_view;
    ReadPersonalityFile(read, path, read_view);

    EXPECT_EQ(read_view.calls, FinishCalls(DefaultOptionOf(written.DefaultPersonality)));
    EXPECT_EQ(read.DefaultPersonality, written.DefaultPersonality);
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(read.Bot(n), written.Bot(n)) << "personality " << n;
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTripTest, testing::Range(1u, 21u));

TEST_F(PersonalityWriterTest, NonNumericTextsAreWrittenAsTheyAreAndRepairedOnReading)
{
    PersonalityConfig written = test::DefaultPersonalityConfig();
    written.Bot(4).melee_percent = "\xE9t\xE9 \t 50";
    written.Bot(4).aggression_level = "Normal";
    const std::string path = folder / "odd.cfg";
    ASSERT_TRUE(WritePersonalityFile(written, path, view));
    EXPECT_NE(ReadBytes(path).find("\r\nmelee_percent \xE9t\xE9 \t 50\r\n"), std::string::npos);

    PersonalityConfig read;
    BuildConfigPath(read, "/nowhere");
    FakeView read_view;
    ReadPersonalityFile(read, path, read_view);
    EXPECT_EQ(read_view.calls, FinishCalls(0));
    EXPECT_EQ(read.Bot(4), test::DefaultPersonalityConfig().Bot(4));
}

// The name a save lands in: a final NUL goes, and ".cfg" (exactly so) is added where missing.
struct NameCase
{
    std::string given;
    std::string written;
};

void PrintTo(const NameCase &c, std::ostream *out)
{
    *out << testing::PrintToString(c.given);
}

class WriterNameTest : public PersonalityWriterTest, public testing::WithParamInterface<NameCase>
{
};

TEST_P(WriterNameTest, AppendsTheExtensionWhereMissing)
{
    const NameCase &c = GetParam();
    EXPECT_TRUE(WriteDefaults(folder / c.given, view));
    EXPECT_EQ(view.calls, Calls {kSavedMessage});
    EXPECT_EQ(folder.Names(), std::vector<std::string> {c.written});
}

INSTANTIATE_TEST_SUITE_P(Names, WriterNameTest,
    testing::Values(NameCase {"bots.cfg", "bots.cfg"}, NameCase {"bots", "bots.cfg"},
        NameCase {"bots.CFG", "bots.CFG.cfg"}, NameCase {"bots.txt", "bots.txt.cfg"},
        NameCase {"bots.cfg.", "bots.cfg..cfg"},
        NameCase {std::string("bots.cfg\0", 9), "bots.cfg"},
        NameCase {std::string("bots\0", 5), "bots.cfg"}));

TEST_F(PersonalityWriterTest, NameWithANulInsideIsRefused)
{
    const std::string name = folder / std::string("bots\0\0", 6);
    EXPECT_FALSE(WriteDefaults(name, view));
    ASSERT_EQ(view.calls.size(), 1u);
    EXPECT_EQ(view.calls[0].rfind("Message \"File: \"", 0), 0u) << view.calls[0];
    EXPECT_NE(view.calls[0].find("could not be saved"), std::string::npos);
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(PersonalityWriterTest, ReplacesALongerFileCompletely)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, std::string(100000, 'z'));
    EXPECT_TRUE(WriteDefaults(path, view));
    EXPECT_EQ(ReadBytes(path), ReadBytes(VOLTARA_TEST_DATA "/default_personality.cfg"));
    EXPECT_EQ(folder.Names(), std::vector<std::string> {"bot_personality.cfg"});
}

} // namespace
} // namespace voltara
