#include "core/personality_file.h"

#include "core/config_file.h"
#include "core/text.h"

#include <optional>

namespace voltara {

namespace {

// clang-format off
constexpr const char *kHeader[] = {
    "# Bot personalities config file for the voltara_bot",
    "#",
    "# Lines started with a # and blank lines will be ignored",
    "#",
    "# Description:",
    "# In this file you can modify the nine",
    "# different personalities used by the bots.",
    "#",
    "# If this file doesnt exist or settings are corrupt;",
    "# random personalities will be created",
    "#",
    "#",
    "# settings:",
    "#",
    "#",
    "# attack usage percents",
    "#",
    "# melee_percent :",
    "# sets the percent the bots will use melee or the sword INSTEAD of other attacks",
    "#",
    "# kiblast_percent :",
    "# sets the percent the bots will use kiblasts, renzoku or scatter shot",
    "#",
    "# lightbeam_percent :",
    "# sets the percent the bots will use lightbeams, like the",
    "# generic beam and the burning attack",
    "#",
    "# mediumbeam_percent :",
    "# sets the percent the bots will use mediumbeams, like the",
    "# powerbeam and the masenko",
    "#",
    "# heavybeam_percent :",
    "# sets the percent the bots will use heavybeams, like the",
    "# kamehameha and the final flash",
    "#",
    "# disc_percent :",
    "# sets the percent the bots will use discs",
    "#",
    "# laser_percent :",
    "# sets the percent the bots will use lasers, like the",
    "# eye laser and the finger laser",
    "#",
    "# heavyball_percent :",
    "# sets the percent the bots will use heavy non beams,",
    "# like the bigbang and the special beam cannon",
    "#",
    "# kametorp_percent :",
    "# sets the percent a bot will make some kame torpedo's",
    "#",
    "# solarflare_percent :",
    "# sets the percent that a bot will blind his enemy when in danger",
    "#",
    "#",
    "# melee related percents",
    "#",
    "# meleecombo_percent :",
    "# sets the percent will make a combo instead of charging a throw",
    "#",
    "# meleekick_percent :",
    "# sets the percent that a bot will use secondary fire while he swoops",
    "# (to kick his enemy)",
    "#",
    "#",
    "# chat percents :",
    "#",
    "# chat_percent :",
    "# sets the percent that a bot will chat",
    "#",
    "# taunt_percent :",
    "# sets the percent that a bot will taunt after he killed someone",
    "#",
    "# whine_percent :",
    "# sets the percent that a bot whines after he died",
    "#",
    "# chat_tag_percent :",
    "# sets the percent of the time to drop clan tag",
    "#",
    "# chat_drop_percent :",
    "# percent of the time to drop characters",
    "#",
    "# chat_swap_percent :",
    "# percent of the time to swap characters",
    "#",
    "# chat_lower_percent :",
    "# percent of the time to lowercase chat",
    "#",
    "#",
    "# other percents",
    "#",
    "# teleport_percent :",
    "# sets the percent the bots will use teleport",
    "#",
    "# swoop_percent :",
    "# sets the percent that a bot will use swoop to avoid danger",
    "#",
    "# beamexplode_percent :",
    "# sets the percent that a bot will let a beam explode in their enemy's face",
    "#",
    "# fly_percent :",
    "# sets the percent that a bot will fly",
    "#",
    "# stopfly_percent :",
    "# sets the percent that a bot will stop with flying(for a while) to avoid danger",
    "#",
    "# jump_percent :",
    "# sets the percent that a bot will jump(when he's on the ground)to avoid danger",
    "#",
    "# block_percent :",
    "# the percent of blocking attacks instead of dodging them",
    "#",
    "#",
    "# other stuff",
    "#",
    "# aggression_level :",
    "# Sets how aggressive the bot is. Can be: aggressive, normal or defensive",
    "#",
    "# transkiller :",
    "# Sets if a bot will attack when his enemy ascends.",
    "# Valid options are 1(on) and 0(off)",
    "#",
    "#",
    "# To let the bot use a specific personality see the manual.",
    "#",
    "#",
    "# General option:",
    "# default_personality :",
    "# Specifies which personality all bots should use. Valid options are",
    "# -1 and 1 to 9 where -1(default) specifies that each bot will",
    "# use a random one",
};
static_assert(std::size(kHeader) == 129);

// One line of a personality's block: a fixed text, the text followed by the personality's
// number, the section header, or a key line for the named field.
struct BlockLine
{
    enum Kind { Text, Numbered, Section, Key } kind;
    const char *text;
};

constexpr BlockLine kBlock[] = {
    {BlockLine::Numbered, "# Personality "},
    {BlockLine::Section, ""},
    {BlockLine::Text, "# attack usage percent"},
    {BlockLine::Key, "melee_percent"},
    {BlockLine::Key, "kiblast_percent"},
    {BlockLine::Key, "lightbeam_percent"},
    {BlockLine::Key, "mediumbeam_percent"},
    {BlockLine::Key, "heavybeam_percent"},
    {BlockLine::Key, "disc_percent"},
    {BlockLine::Key, "laser_percent"},
    {BlockLine::Key, "heavyball_percent"},
    {BlockLine::Key, "kametorp_percent"},
    {BlockLine::Key, "solarflare_percent"},
    {BlockLine::Text, ""},
    {BlockLine::Text, "# chat related percents"},
    {BlockLine::Key, "chat_percent"},
    {BlockLine::Key, "taunt_percent"},
    {BlockLine::Key, "whine_percent"},
    {BlockLine::Key, "chat_tag_percent"},
    {BlockLine::Key, "chat_drop_percent"},
    {BlockLine::Key, "chat_swap_percent"},
    {BlockLine::Key, "chat_lower_percent"},
    {BlockLine::Text, ""},
    {BlockLine::Text, "# melee related percents"},
    {BlockLine::Key, "meleecombo_percent"},
    {BlockLine::Key, "meleekick_percent"},
    {BlockLine::Text, ""},
    {BlockLine::Text, "# other percents"},
    {BlockLine::Key, "teleport_percent"},
    {BlockLine::Key, "swoop_percent"},
    {BlockLine::Key, "beamexplode_percent"},
    {BlockLine::Key, "fly_percent"},
    {BlockLine::Key, "stopfly_percent"},
    {BlockLine::Key, "block_percent"},
    {BlockLine::Key, "jump_percent"},
    {BlockLine::Text, ""},
    {BlockLine::Text, "#other stuff"},
    {BlockLine::Key, "transkiller"},
    {BlockLine::Key, "aggression_level"},
    {BlockLine::Text, ""},
};
static_assert(std::size(kBlock) == 40);
// clang-format on

// Ends a reading that failed before the sections began: the message, then the repair, so the
// window never meets records that were never filled.
ReadOutcome FailBeforeSections(PersonalityConfig &config, PersonalityView &view, std::size_t line,
    const std::string &reason = {})
{
    view.ShowReadingMessage(messages::kReadError, kProgramTitle, line, reason);
    RepairPersonalities(config);
    return ReadOutcome::FailedBeforeRecords;
}

std::optional<int> HeaderNumber(std::string_view line)
{
    const char digit = line[1 + kSectionStem.size()];
    if (digit < '0' || digit > '9')
        return std::nullopt;
    return digit - '0';
}

bool IsSectionHeader(std::string_view line)
{
    return line.size() >= kSectionStem.size() + 2 && line.front() == '['
        && line.substr(1, kSectionStem.size()) == kSectionStem && line.back() == ']';
}

enum class SectionsEnd { EndOfFile, Failure };

// Reads up to nine sections; the first header has been read already.
SectionsEnd ReadSections(PersonalityConfig &config, LineReader &reader, PersonalityView &view)
{
    try {
        for (int repetition = 0; repetition < kBotCount; ++repetition) {
            while (true) {
                const auto line = reader.NextKept();
                if (!line)
                    return SectionsEnd::EndOfFile;
                if (IsSectionHeader(*line)) {
                    const auto number = HeaderNumber(*line);
                    if (!number)
                        return SectionsEnd::Failure;
                    config.CurrentBot = *number;
                    break;
                }
                std::string_view key, value;
                if (!SplitKeyValue(*line, key, value))
                    return SectionsEnd::Failure;
                ApplyConfigLine(config, key, value, view, reader.LineNumber());
            }
        }
    } catch (const IndexError &) {
        return SectionsEnd::Failure;
    }
    return SectionsEnd::Failure; // a tenth section header
}

// The general option line and the first section header. False when the file fails there.
bool ReadGeneralOption(PersonalityConfig &config, LineReader &reader, PersonalityView &view)
{
    const auto option = reader.NextKept();
    std::string_view key, value;
    if (!option || !SplitKeyValue(*option, key, value))
        return false;
    try {
        ApplyConfigLine(config, key, IsNumericText(value) ? value : kRandomPersonality, view,
            reader.LineNumber());
    } catch (const IndexError &) {
        return false;
    }
    const auto header = reader.NextKept();
    if (!header || !IsSectionHeader(*header))
        return false;
    const auto number = HeaderNumber(*header);
    if (!number)
        return false;
    config.CurrentBot = *number;
    return true;
}

} // namespace

int DefaultOptionOf(const std::string &default_personality)
{
    if (default_personality == kRandomPersonality)
        return 0;
    const auto number = ToWholeNumber(default_personality);
    if (!number || *number < 0 || *number > kBotCount)
        return -1;
    return *number;
}

void ApplyConfigLine(PersonalityConfig &config, std::string_view key, std::string_view value,
    Host &host, std::size_t line)
{
    Personality &bot = config.Bot(config.CurrentBot);
    if (key == kDefaultPersonalityKey) {
        config.DefaultPersonality = value;
        return;
    }
    const int field = FieldIndex(key);
    if (field >= 0)
        SetField(bot, field, value);
    else
        host.ShowReadingMessage(
            messages::InvalidLineText(key, value), messages::kErrorCaption, line);
}

ReadOutcome ReadPersonality(
    PersonalityConfig &config, std::string_view content, PersonalityView &view)
{
    LineReader reader(content);
    if (!ReadGeneralOption(config, reader, view))
        return FailBeforeSections(config, view, reader.LineNumber());
    if (ReadSections(config, reader, view) != SectionsEnd::EndOfFile)
        view.ShowReadingMessage(messages::kReadError, kProgramTitle, reader.LineNumber());
    RepairPersonalities(config);

    // Selecting an option stores its value, whichever option was selected before.
    const int option = DefaultOptionOf(config.DefaultPersonality);
    if (option >= 0)
        config.DefaultPersonality = DefaultPersonalityOf(option);
    view.SelectDefaultOption(option);

    view.Yield();
    config.CurrentBot = 1;
    view.ShowPersonality("1");
    return ReadOutcome::Read;
}

ReadOutcome ReadPersonalityFile(
    PersonalityConfig &config, const std::string &path, PersonalityView &view)
{
    std::string content;
    std::string reason;
    switch (OpenConfigFile(path, config.LoadedPath, config.Known, content, reason, view)) {
    case FileOpening::Missing:
        RepairPersonalities(config);
        return ReadOutcome::Missing;
    case FileOpening::TooLarge:
        RepairPersonalities(config);
        return ReadOutcome::TooLarge;
    case FileOpening::Unreadable:
        return FailBeforeSections(config, view, 0, reason);
    case FileOpening::Read:
        break;
    }
    return ReadPersonality(config, content, view);
}

ReadOutcome StartPersonalityConfig(PersonalityConfig &config, const std::string &program_folder,
    PersonalityView &view, const std::optional<std::string> &path)
{
    BuildConfigPath(config, program_folder);
    const ReadOutcome outcome = ReadPersonalityFile(config, path.value_or(config.ConfigPath), view);
    config.CurrentBot = 1;
    return outcome;
}

std::vector<std::string> PersonalityFileLines(const PersonalityConfig &config)
{
    std::vector<std::string> lines(std::begin(kHeader), std::end(kHeader));
    lines.emplace_back("");
    lines.push_back(std::string(kDefaultPersonalityKey) + " " + config.DefaultPersonality);
    lines.emplace_back("");
    for (int n = 1; n <= kBotCount; ++n) {
        const Personality &bot = config.Bot(n);
        for (const BlockLine &line : kBlock) {
            switch (line.kind) {
            case BlockLine::Text:
                lines.emplace_back(line.text);
                break;
            case BlockLine::Numbered:
                lines.push_back(line.text + std::to_string(n));
                break;
            case BlockLine::Section:
                lines.push_back("[" + PersonalitySectionName(n) + "]");
                break;
            case BlockLine::Key:
                lines.push_back(
                    std::string(line.text) + " " + bot.*kFields[FieldIndex(line.text)].member);
                break;
            }
        }
    }
    return lines;
}

bool WritePersonalityFile(PersonalityConfig &config, const std::string &name, Host &host)
{
    return WriteConfigFile(name, PersonalityFileLines(config), config.Known, host);
}

} // namespace voltara
