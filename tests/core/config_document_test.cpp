// Both kinds of file behind the one face that botcfg uses: each kind is a parameter giving the
// golden file of its defaults and what only that kind knows; every case runs for both.
#include "core/config_document.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace voltara {
namespace {

using test::FakeView;
using Lines = std::vector<std::string>;

// A setting's accepted values: some texts its control gives, some it cannot, and the words.
struct Rule
{
    std::string key;
    Lines accepted;
    Lines refused;
    std::string described;
};

struct Kind
{
    ConfigKind kind;
    const char *golden; // the defaults as the editor writes them, in tests/core/data
    Lines general; // the general options, record 0's keys
    std::string records_text;
    std::vector<std::pair<std::string, std::optional<int>>> record_names; // beyond the numbers
    std::vector<Rule> rules;
    bool knows_patterns; // the named patterns of the Presets menu
};

void PrintTo(const Kind &kind, std::ostream *out)
{
    *out << FileNameOf(kind.kind);
}

// The lines of a record's section ("[BOT2]" up to the next section or the end).
Lines SectionOf(const Lines &lines, const std::string &name)
{
    auto begin = std::find(lines.begin(), lines.end(), "[" + name + "]");
    auto end = std::find_if(begin + (begin != lines.end()), lines.end(),
        [](const std::string &line) { return line.starts_with('['); });
    return {begin, end};
}

bool Holds(const Lines &lines, const std::string &line)
{
    return std::count(lines.begin(), lines.end(), line) == 1;
}

// The lines of a golden file, without their line ends.
Lines GoldenLines(const char *name)
{
    const std::string bytes = test::ReadBytes(std::string(VOLTARA_TEST_DATA "/") + name);
    Lines lines;
    for (std::size_t from = 0, end; (end = bytes.find("\r\n", from)) != std::string::npos;
         from = end + 2)
        lines.push_back(bytes.substr(from, end - from));
    return lines;
}

class ConfigDocumentTest : public testing::TestWithParam<Kind>
{
protected:
    const Lines golden = GoldenLines(GetParam().golden);
    std::unique_ptr<ConfigDocument> document = ConfigDocument::Make(GetParam().kind);
    FakeView host;
};

TEST_P(ConfigDocumentTest, DefaultsAndAMissingFileBothGiveTheGoldenFile)
{
    EXPECT_EQ(document->Kind(), GetParam().kind);
    EXPECT_EQ(KindOfFileName(FileNameOf(GetParam().kind)), GetParam().kind);
    document->LoadDefaults();
    EXPECT_EQ(document->Lines(), golden);
    EXPECT_EQ(document->SaveBackPath(), std::nullopt);

    test::ScratchFolder folder;
    const auto read = ConfigDocument::Make(GetParam().kind);
    EXPECT_EQ(read->Read(folder / "missing.cfg", host), ReadOutcome::Missing);
    EXPECT_EQ(read->Lines(), golden);
    EXPECT_EQ(read->SaveBackPath(), std::nullopt);
}

// Each value comes from its own record and key of the file, and the file is written back as
// it was read.
TEST_P(ConfigDocumentTest, ReadsTheGoldenFileBackWithoutAMessage)
{
    test::ScratchFolder folder;
    const std::string path = folder / FileNameOf(GetParam().kind);
    test::WriteBytes(path, JoinedLines(golden));
    EXPECT_EQ(document->Read(path, host), ReadOutcome::Read);
    EXPECT_TRUE(std::none_of(host.calls.begin(), host.calls.end(),
        [](const std::string &call) { return call.starts_with("Message"); }));
    EXPECT_EQ(document->SaveBackPath(), path);
    EXPECT_EQ(document->Lines(), golden);
    EXPECT_EQ(document->Keys(0), GetParam().general);
    for (const std::string &key : document->Keys(0))
        EXPECT_TRUE(Holds(golden, key + " " + document->Value(0, key))) << key;
    for (int record = 1; record <= document->RecordCount(); ++record) {
        const Lines section = SectionOf(golden, document->RecordName(record));
        const Lines keys = document->Keys(record);
        for (const std::string &key : keys)
            EXPECT_TRUE(Holds(section, key + " " + document->Value(record, key))) << key;
        EXPECT_EQ(std::count_if(section.begin() + 1, section.end(),
                      [](const std::string &line) { return !line.empty() && line[0] != '#'; }),
            static_cast<std::ptrdiff_t>(keys.size()));
    }
}

TEST_P(ConfigDocumentTest, NamesItsRecordsAsTheFileDoes)
{
    Lines sections;
    std::copy_if(golden.begin(), golden.end(), std::back_inserter(sections),
        [](const std::string &line) { return line.starts_with('['); });
    ASSERT_EQ(document->RecordCount(), static_cast<int>(sections.size()));
    for (int record = 1; record <= document->RecordCount(); ++record) {
        EXPECT_EQ("[" + document->RecordName(record) + "]", sections[record - 1]);
        EXPECT_EQ(document->RecordNamed(std::to_string(record)), record);
        EXPECT_EQ(document->RecordNamed(" " + std::to_string(record) + " "), record);
    }
    for (const std::string &none :
        Lines {"", "0", "-1", "01", "1.0", std::to_string(sections.size() + 1)})
        EXPECT_EQ(document->RecordNamed(none), std::nullopt) << '"' << none << '"';
    for (const auto &[text, record] : GetParam().record_names)
        EXPECT_EQ(document->RecordNamed(text), record) << '"' << text << '"';
    EXPECT_EQ(document->RecordsText(), GetParam().records_text);
}

// Each key stores into its own setting of its own record only, and the writer puts it there.
TEST_P(ConfigDocumentTest, KeepsEachValueInItsOwnRecordAndSetting)
{
    document->LoadDefaults();
    const Lines keys = document->Keys(1);
    for (std::size_t i = 0; i < keys.size(); ++i)
        document->SetValue(2, keys[i], std::string(1, static_cast<char>('A' + i)));
    for (const std::string &key : GetParam().general)
        document->SetValue(0, key, "4");

    const Lines lines = document->Lines();
    const Lines written = SectionOf(lines, document->RecordName(2));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string value(1, static_cast<char>('A' + i));
        EXPECT_EQ(document->Value(2, keys[i]), value);
        EXPECT_TRUE(Holds(written, keys[i] + " " + value)) << keys[i];
        EXPECT_EQ(document->PlaceOf(keys[i]), ConfigDocument::KeyPlace::Record);
    }
    for (int record : {1, 3}) {
        const std::string name = document->RecordName(record);
        EXPECT_EQ(SectionOf(lines, name), SectionOf(golden, name)) << name;
    }
    for (const std::string &key : GetParam().general) {
        EXPECT_EQ(document->Value(0, key), "4");
        EXPECT_TRUE(Holds(lines, key + " 4"));
        EXPECT_EQ(document->PlaceOf(key), ConfigDocument::KeyPlace::General);
    }
    EXPECT_EQ(document->PlaceOf("no_such_key"), ConfigDocument::KeyPlace::None);
    EXPECT_THROW(document->Value(1, "no_such_key"), std::out_of_range);
    EXPECT_THROW(document->SetValue(1, "no_such_key", "1"), std::out_of_range);
    EXPECT_THROW(document->IsAccepted("no_such_key", "1"), std::out_of_range);
    EXPECT_THROW(document->Value(0, keys[0]), IndexError);
    EXPECT_THROW(document->SetValue(document->RecordCount() + 1, keys[0], "1"), IndexError);
}

TEST_P(ConfigDocumentTest, AcceptsWhatTheControlsGiveAndSaysSo)
{
    for (const Rule &rule : GetParam().rules) {
        SCOPED_TRACE(rule.key);
        for (const std::string &text : rule.accepted)
            EXPECT_TRUE(document->IsAccepted(rule.key, text)) << '"' << text << '"';
        for (const std::string &text : rule.refused)
            EXPECT_FALSE(document->IsAccepted(rule.key, text)) << '"' << text << '"';
        EXPECT_EQ(document->AcceptedValues(rule.key), rule.described);
    }
}

TEST_P(ConfigDocumentTest, AppliesOnlyThePresetsItKnows)
{
    document->LoadDefaults();
    const std::string key = document->Keys(1).front();
    document->SetValue(2, key, "7");
    EXPECT_EQ(document->KnowsPreset("12"), GetParam().knows_patterns);
    FixedSeedRandom random(1);
    for (const char *unknown : {"99", "", "0"}) {
        EXPECT_FALSE(document->KnowsPreset(unknown));
        EXPECT_FALSE(document->ApplyPreset(2, unknown, random));
    }
    EXPECT_EQ(document->Value(2, key), "7");
    EXPECT_TRUE(document->KnowsPreset(kAllDefaultCode));
    EXPECT_TRUE(document->ApplyPreset(2, kAllDefaultCode, random));
    EXPECT_EQ(document->Lines(), golden);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(BothKinds, ConfigDocumentTest, testing::Values(
    Kind {ConfigKind::Personality, "default_personality.cfg", {"default_personality"},
        "personalities are 1 to 9", {{"BOT2", std::nullopt}, {"10", std::nullopt}},
        {{"melee_percent", {"0", "100"}, {"101", "-1", "5.0", " 5", ""},
            "a whole number from 0 to 100"},
         {"aggression_level", {"normal", "defensive", "aggressive"}, {"Normal", ""},
            "aggressive, normal or defensive"},
         {"transkiller", {"0", "1"}, {"2", ""}, "0 (off) or 1 (on)"},
         {"default_personality", {"-1", "1", "9"}, {"0", "10"},
            "-1 (random) or a whole number from 1 to 9"}},
        true},
    Kind {ConfigKind::Superbot, "default_sbot.cfg", {},
        "tiers are 1 to 3, SUPERBOT, MEGABOT, ULTIMATEBOT",
        {{"MEGABOT", 2}, {" ultimatebot ", 3}, {"SuperBot", 1}, {"BOT1", std::nullopt}},
        {{"ki_gain", {"-1", "0", "1000"}, {"-2", "1001", "5.0"},
            "-1 or a whole number from 0 to 1000"},
         {"transparency_val", {"-1", "1", "255"}, {"0", "256"},
            "-1 or a whole number from 1 to 255"},
         {"powerlevel", {"1", "99999999", "2.5"}, {"0", "abc", "123456789"},
            "a number of at least 1, in at most 8 characters"}},
        false}));
// clang-format on

} // namespace
} // namespace voltara
