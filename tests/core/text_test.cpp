#include "core/personality_file.h"
#include "core/superbot.h"
#include "core/text.h"
#include "core_test_support.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace voltara {
namespace {

TEST(IsNumericTextTest, AcceptsSignedDecimalsAndExponents)
{
    for (const char *text :
        {"0", "80", " 7", "7 ", "-1", "+5", "2.5", ".5", "5.", "1e3", "1E+3", "2.5e-2", "  -0.0  "})
        EXPECT_TRUE(IsNumericText(text)) << '"' << text << '"';
}

TEST(IsNumericTextTest, RejectsEverythingElse)
{
    for (const char *text : {"", " ", "abc", "1.2.3", "e3", "1e", "1e+", "--1", "+", ".", "1 2",
             "\t5", "5\t", "1,5", "0x10", "50 # comment"})
        EXPECT_FALSE(IsNumericText(text)) << '"' << text << '"';
}

TEST(ToWholeNumberTest, RoundsHalvesToEven)
{
    EXPECT_EQ(ToWholeNumber("2.5"), 2);
    EXPECT_EQ(ToWholeNumber("3.5"), 4);
    EXPECT_EQ(ToWholeNumber(" -1 "), -1);
    EXPECT_EQ(ToWholeNumber("1e3"), 1000);
    EXPECT_EQ(ToWholeNumber("abc"), std::nullopt);
    EXPECT_EQ(ToWholeNumber("1e400"), std::nullopt);
}

TEST(NumericValueTest, ReadsThePointWhateverTheLocale)
{
    EXPECT_EQ(NumericValue(" +2.5 "), 2.5);
    EXPECT_EQ(NumericValue("-.5e1"), -5.0);
    EXPECT_EQ(NumericValue("5."), 5.0);
    EXPECT_EQ(NumericValue("1,5"), std::nullopt);
}

// However large or small, a numeric text is a number: the default personality of 1e-999 rounds
// to the Random option, a power level of 9e9999 is at least 1.
TEST(NumericValueTest, NumbersBeyondTheRangeOfADoubleAreNumbersStill)
{
    EXPECT_EQ(NumericValue("9e9999"), HUGE_VAL);
    EXPECT_EQ(NumericValue(" -12.5E+400"), -HUGE_VAL);
    EXPECT_EQ(NumericValue("1e-999"), 0.0);
    EXPECT_EQ(NumericValue("0.0001e-400"), 0.0);
    EXPECT_EQ(DefaultOptionOf("1e-999"), 0);
    EXPECT_EQ(DefaultOptionOf("9e9999"), -1);
    EXPECT_TRUE(IsAcceptedPowerLevel("9e9999"));
    EXPECT_FALSE(IsAcceptedPowerLevel("1e-999"));
}

TEST(ParseConfigLineTest, SkipsCommentsAndBlanksAndTrimsSpacesOnly)
{
    std::string_view line = "# comment";
    EXPECT_TRUE(ParseConfigLine(line));
    line = "   ";
    EXPECT_TRUE(ParseConfigLine(line));
    line = "";
    EXPECT_TRUE(ParseConfigLine(line));
    line = "  # indented";
    EXPECT_FALSE(ParseConfigLine(line));
    EXPECT_EQ(line, "# indented");
    line = "\tkey value\t ";
    EXPECT_FALSE(ParseConfigLine(line));
    EXPECT_EQ(line, "\tkey value\t");
}

TEST(SplitLinesTest, EndsLinesAtCrLfLoneCrAndLoneLf)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string> {"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string> {"a", "", "b"}));
    EXPECT_EQ(SplitLines("\xEF\xBB\xBF"
                         "a\n"),
        (std::vector<std::string> {"a"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(SplitKeyValueTest, SplitsAtTheFirstSpaceOnly)
{
    std::string_view key, value;
    EXPECT_TRUE(SplitKeyValue("melee_percent  50", key, value));
    EXPECT_EQ(key, "melee_percent");
    EXPECT_EQ(value, " 50");
    EXPECT_TRUE(SplitKeyValue("# sets the percent", key, value));
    EXPECT_EQ(key, "#");
    EXPECT_EQ(value, "sets the percent");
    EXPECT_FALSE(SplitKeyValue("melee_percent:50", key, value));
    EXPECT_FALSE(SplitKeyValue("tab\tseparated", key, value));
}

TEST(LineReaderTest, HandsOutTheKeptLinesTrimmed)
{
    LineReader reader("# comment\r\n\r\n   \r\n  [BOT1]  \n #x\rlast");
    EXPECT_EQ(reader.LineNumber(), 0u);
    EXPECT_EQ(reader.NextKept(), "[BOT1]");
    EXPECT_EQ(reader.LineNumber(), 4u); // every kind of line end counts once
    EXPECT_EQ(reader.NextKept(), "#x");
    EXPECT_EQ(reader.LineNumber(), 5u);
    EXPECT_EQ(reader.NextKept(), "last");
    EXPECT_EQ(reader.LineNumber(), 6u);
    EXPECT_EQ(reader.NextKept(), std::nullopt);
    EXPECT_EQ(reader.LineNumber(), 0u);
    EXPECT_EQ(reader.NextKept(), std::nullopt);
}

TEST(LineReaderTest, EndsLinesWhereSplitLinesDoes)
{
    for (const std::string content : {"\xEF\xBB\xBF#c\r\r\nb\n\rc\r\n", "\r\n\nx\r", "a\n\r\n\rb c",
             "\xEF\xBB\xBF", "#x", "a\nb\rc\nd\r\ne\rf\n\n\rg"}) {
        LineReader reader(content);
        for (const std::string &split : SplitLines(content)) {
            std::string_view line = split;
            if (ParseConfigLine(line))
                continue;
            EXPECT_EQ(reader.NextKept(), line) << content;
        }
        EXPECT_EQ(reader.NextKept(), std::nullopt) << content;
    }
}

TEST(JoinToFolderTest, AddsOneSeparatorOnly)
{
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(JoinToFolder("dir", "f.cfg"), "dir" + sep + "f.cfg");
    EXPECT_EQ(JoinToFolder(sep, "f.cfg"), sep + "f.cfg");
    EXPECT_EQ(JoinToFolder("dir" + sep, "f.cfg"), "dir" + sep + "f.cfg");
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningExecutable)
{
    const std::string folder = ProgramFolder();
    EXPECT_EQ(folder, test::ExecutablePath().parent_path().string());
    EXPECT_NE(folder.back(), kPathSeparator);
    // Messages show the folder in the system's own form: "C:\Games\Voltara" on Windows.
    EXPECT_EQ(folder.find(kPathSeparator == '/' ? '\\' : '/'), std::string::npos);
    EXPECT_TRUE(IsNormalFile(JoinToFolder(folder, test::ExecutablePath().filename().string())));
}

TEST(IsNormalFileTest, SeesOnlyFilesWithNormalAttributes)
{
    test::ScratchFolder folder;
    const std::string file = folder / "file.cfg";
    test::WriteBytes(file, "x");
    EXPECT_TRUE(IsNormalFile(file));
    EXPECT_FALSE(IsNormalFile(folder.path().string()));
    EXPECT_FALSE(IsNormalFile(folder / "missing.cfg"));
    EXPECT_FALSE(IsNormalFile(file + std::string(1, '\0') + "more"));
#ifdef _WIN32
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(IsNormalFile(file));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(IsNormalFile(file));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(IsNormalFile(file));
#endif
}

} // namespace
} // namespace voltara
