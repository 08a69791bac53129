#include "core/superbot_file.h"

#include "core/config_file.h"
#include "core/superbot_layout.h"
#include "core/text.h"

namespace voltara {

namespace {

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
    return ReadConfigFile(path, config.LoadedPath, config.Known, view,
        {[&] { FinishReading(config, view); },
            [&](const std::string &reason) { return FailBeforeSections(config, view, 0, reason); },
            [&](std::string_view content) { return ReadSuperbot(config, content, view); }});
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
    using namespace superbot_layout;
    std::vector<std::string> lines = HeaderLines(kHeader, kFileLines);
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
