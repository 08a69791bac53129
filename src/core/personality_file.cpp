#include "core/personality_file.h"

#include "core/config_file.h"
#include "core/personality_layout.h"
#include "core/text.h"

#include <optional>

namespace voltara {

namespace {

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
    return ReadConfigFile(path, config.LoadedPath, config.Known, view,
        {[&] { RepairPersonalities(config); },
            [&](const std::string &reason) { return FailBeforeSections(config, view, 0, reason); },
            [&](std::string_view content) { return ReadPersonality(config, content, view); }});
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
    using namespace personality_layout;
    std::vector<std::string> lines = HeaderLines(kHeader, kFileLines);
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
                lines.push_back(std::string(FieldOf(line.setting).key) + " "
                    + bot.*FieldOf(line.setting).member);
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
