#include "core/superbot.h"

#include "core/config_file.h"
#include "core/text.h"
#include "platform/files.h"

#include <iterator>
#include <stdexcept>

namespace voltara {

// clang-format off
const std::array<SuperbotFieldInfo, kSuperbotFieldCount> kSuperbotFields = {{
    {"ki_gain",           &Superbot::ki_gain,           SuperbotControl::Slider,     0, 1000, true},
    {"health_gain",       &Superbot::health_gain,       SuperbotControl::Slider,     0, 180,  true},
    {"powerlevel",        &Superbot::powerlevel,        SuperbotControl::PowerLevel, 0, 0,    false},
    {"transparency_val",  &Superbot::transparency_val,  SuperbotControl::Slider,     1, 255,  true},
    {"sbotlaser_percent", &Superbot::sbotlaser_percent, SuperbotControl::List,       0, 100,  false},
}};
// clang-format on

const SuperbotFieldInfo &SuperbotFieldOf(std::string Superbot::*member)
{
    for (const SuperbotFieldInfo &field : kSuperbotFields) {
        if (field.member == member)
            return field;
    }
    throw std::out_of_range("not a superbot setting");
}

const SuperbotFieldInfo *SuperbotFieldNamed(std::string_view key)
{
    for (const SuperbotFieldInfo &field : kSuperbotFields) {
        if (key == field.key)
            return &field;
    }
    return nullptr;
}

bool IsAcceptedPowerLevel(const std::string &typed)
{
    const auto value = NumericValue(typed);
    return value && *value >= 1 && typed.size() <= static_cast<std::size_t>(kPowerLevelMaxLength);
}

bool IsControlValue(const SuperbotFieldInfo &field, const std::string &text)
{
    if (field.control == SuperbotControl::PowerLevel)
        return IsAcceptedPowerLevel(text);
    return (field.unlimited && text == kUnlimitedValue)
        || IsWholeNumberIn(text, field.first, field.last);
}

namespace {

const char *const kTierNames[kTierCount] = {"SUPERBOT", "MEGABOT", "ULTIMATEBOT"};

const Superbot kTierDefaults[kTierCount] = {
    {"40",  "0", "2500000",  "255", "25"},
    {"200", "0", "3500000",  "127", "50"},
    {"-1",  "1", "10000000", "1",   "75"},
};

// clang-format off
constexpr const char *kHeader[] = {
    "# Super bot config file for the voltara_bot",
    "#",
    "# Lines started with a # and blank lines will be ignored",
    "#",
    "# Description: In this file you can modify some",
    "#              settings used by the super bots.",
    "#",
    "# settings:",
    "#",
    "# ki_gain <value> ",
    "# Specifies how much ki the superbot will recover every",
    "# second.",
    "# Range: -1 - 1000. When specified -1 the bot has",
    "# unlimited ki.",
    "#",
    "# health_gain <value> ",
    "# Specifies how much health the superbot will recover",
    "# every second.",
    "# Range: -1 - 180. When specified -1 the bot has unlimited",
    "# health.",
    "#",
    "# powerlevel <value>",
    "# Specifies with how much powerlevel the superbot starts.",
    "# Range: 1 - 99999999.",
    "#",
    "# transparency_val <value>",
    "# Specifies the transparency value the superbot has.",
    "# Range: -1 and 1 - 255. -1 = bot will flash, 1 = bot is invisible,",
    "# 255 = normal visible. Note: super bots will always flash when",
    "# they're on low health.",
    "#",
    "# sbotlaser_percent <value>",
    "# specifies the percent that a superbot will use a super bot laser",
    "# to drain health or pl",
    "",
};
static_assert(std::size(kHeader) == 35);
// clang-format on

std::size_t TierIndex(int tier)
{
    if (tier < 1 || tier > kTierCount)
        throw std::out_of_range("superbot tier " + std::to_string(tier));
    return static_cast<std::size_t>(tier - 1);
}

// "[" first and "BOT]" last, case counting; "[BOT]" itself names tier 1.
bool IsSectionHeader(std::string_view line)
{
    return line.size() >= 5 && line.front() == '[' && line.compare(line.size() - 4, 4, "BOT]") == 0;
}

int TierOfHeader(std::string_view line)
{
    const std::string_view name = line.substr(1, line.size() - 5);
    if (name == "MEGA")
        return 2;
    if (name == "ULTIMATE")
        return 3;
    return 1;
}

// Reads the sections after the first header; true when the file ended normally.
bool ReadSections(SuperbotConfig &config, LineReader &reader, SuperbotView &view)
{
    int sections = 1;
    while (sections <= kTierCount) {
        const auto line = reader.NextKept();
        if (!line)
            return true;
        if (IsSectionHeader(*line)) {
            config.CurrentTier = TierOfHeader(*line);
            ++sections;
            continue;
        }
        std::string_view key, value;
        if (!SplitKeyValue(*line, key, value))
            return false;
        ApplySuperbotLine(config, key, value, view, reader.LineNumber());
    }
    return false; // a fourth section header
}

// Ends a reading that failed before the sections began. Nothing was applied, so the repair
// only fills records that were never filled: at start-up the window then shows defaults
// instead of empty fields.
ReadOutcome FailBeforeSections(
    SuperbotConfig &config, SuperbotView &view, std::size_t line, const std::string &reason = {})
{
    view.ShowReadingMessage(messages::kReadError, kProgramTitle, line, reason);
    RepairSuperbots(config);
    return ReadOutcome::FailedBeforeRecords;
}

// The common end of a reading: repaired records, the window repainted, tier 1 shown.
void FinishReading(SuperbotConfig &config, SuperbotView &view)
{
    RepairSuperbots(config);
    view.Yield();
    config.CurrentTier = 1;
    view.ShowSuperbot("1");
}

} // namespace

const char *TierName(int tier)
{
    return kTierNames[TierIndex(tier)];
}

const Superbot &TierDefaults(int tier)
{
    return kTierDefaults[TierIndex(tier)];
}

void InitSuperbotKeyNames(SuperbotConfig &config)
{
    config.SuperbotKeyNames.clear();
    for (const SuperbotFieldInfo &field : kSuperbotFields)
        config.SuperbotKeyNames.emplace_back(field.key);
}

void InitSuperbotData(SuperbotConfig &config, const std::string &program_folder)
{
    InitSuperbotKeyNames(config);
    config.CurrentTier = 1;
    config.SuperbotConfigPath = JoinToFolder(program_folder, kSuperbotFileName);
}

void SetTierDefaults(SuperbotConfig &config, int tier)
{
    config.Tier(tier) = TierDefaults(tier);
}

void RepairSuperbots(SuperbotConfig &config)
{
    for (int tier = 1; tier <= kTierCount; ++tier) {
        for (const SuperbotFieldInfo &field : kSuperbotFields) {
            std::string &value = config.Tier(tier).*field.member;
            if (!IsNumericText(value))
                value = TierDefaults(tier).*field.member;
        }
    }
}

void ApplySuperbotLine(SuperbotConfig &config, std::string_view key, std::string_view value,
    Host &host, std::size_t line)
{
    if (const SuperbotFieldInfo *field = SuperbotFieldNamed(key))
        config.Tier(config.CurrentTier).*field->member = value;
    else
        host.ShowReadingMessage(
            messages::InvalidLineText(key, value), messages::kErrorCaption, line);
}

ReadOutcome ReadSuperbot(SuperbotConfig &config, std::string_view content, SuperbotView &view)
{
    LineReader reader(content);
    const auto first = reader.NextKept();
    if (!first || !IsSectionHeader(*first))
        return FailBeforeSections(config, view, reader.LineNumber());
    config.CurrentTier = TierOfHeader(*first);
    if (!ReadSections(config, reader, view))
        view.ShowReadingMessage(messages::kReadError, kProgramTitle, reader.LineNumber());
    FinishReading(config, view);
    return ReadOutcome::Read;
}

ReadOutcome ReadSuperbotFile(SuperbotConfig &config, const std::string &path, SuperbotView &view)
{
    std::string content;
    std::string reason;
    switch (OpenConfigFile(path, config.LoadedPath, config.Known, content, reason, view)) {
    case FileOpening::Missing:
        FinishReading(config, view);
        return ReadOutcome::Missing;
    case FileOpening::TooLarge:
        FinishReading(config, view);
        return ReadOutcome::TooLarge;
    case FileOpening::Unreadable:
        return FailBeforeSections(config, view, 0, reason);
    case FileOpening::Read:
        break;
    }
    return ReadSuperbot(config, content, view);
}

ReadOutcome StartSuperbotConfig(SuperbotConfig &config, const std::string &program_folder,
    SuperbotView &view, const std::optional<std::string> &path)
{
    InitSuperbotData(config, program_folder);
    const ReadOutcome outcome =
        ReadSuperbotFile(config, path.value_or(config.SuperbotConfigPath), view);
    config.CurrentTier = 1;
    return outcome;
}

std::vector<std::string> SuperbotFileLines(const SuperbotConfig &config)
{
    std::vector<std::string> lines(std::begin(kHeader), std::end(kHeader));
    for (int tier = 1; tier <= kTierCount; ++tier) {
        lines.push_back(std::string("[") + TierName(tier) + "]");
        for (const SuperbotFieldInfo &field : kSuperbotFields)
            lines.push_back(std::string(field.key) + " " + config.Tier(tier).*field.member);
        lines.emplace_back("");
    }
    return lines;
}

bool WriteSuperbotFile(SuperbotConfig &config, const std::string &name, Host &host)
{
    return WriteConfigFile(name, SuperbotFileLines(config), config.Known, host);
}

} // namespace voltara
