#include "config_document.h"

#include "personality_file.h"
#include "platform.h"

#include <stdexcept>

namespace botcfg {

namespace {

// The editors' view, for a program without a window: messages are collected in order, and
// there is nothing to show or to let run.
class Collector : public voltara::PersonalityView, public voltara::SuperbotView
{
public:
    explicit Collector(std::vector<Message> &messages)
        : messages_(messages)
    {
    }
    void ShowMessage(
        const std::string &text, const voltara::Caption &, voltara::MessageIcon) override
    {
        messages_.push_back({text, 0});
    }
    void ShowReadingMessage(
        const std::string &text, const voltara::Caption &, std::size_t line) override
    {
        messages_.push_back({text, line});
    }
    void Yield() override { }
    void SelectDefaultOption(int) override { }
    void ShowPersonality(const std::string &) override { }
    void ShowSuperbot(const std::string &) override { }

private:
    std::vector<Message> &messages_;
};

// Keeps the one message a save gives: the reason it failed.
class SaveReport : public voltara::Host
{
public:
    void ShowMessage(
        const std::string &text, const voltara::Caption &, voltara::MessageIcon) override
    {
        this->text = text;
    }
    void Yield() override { }

    std::string text;
};

constexpr const char *kGeneralKey = voltara::kDefaultPersonalityKey;

} // namespace

std::vector<std::string> RecordKeys(Kind kind)
{
    std::vector<std::string> keys;
    if (kind == Kind::Personality) {
        for (const voltara::FieldInfo &field : voltara::kFields)
            keys.emplace_back(field.key);
    } else {
        for (const voltara::SuperbotFieldInfo &field : voltara::kSuperbotFields)
            keys.emplace_back(field.key);
    }
    return keys;
}

ConfigDocument::ConfigDocument(Kind kind)
    : kind_(kind)
{
}

bool ConfigDocument::Lock(const std::string &path, std::string &reason)
{
    return lock_.Acquire(path, reason);
}

voltara::ReadOutcome ConfigDocument::Open(const std::string &path)
{
    Collector view(messages_);
    if (kind_ == Kind::Personality)
        return voltara::StartPersonalityConfig(personality_, voltara::ProgramFolder(), view, path);
    return voltara::StartSuperbotConfig(superbot_, voltara::ProgramFolder(), view, path);
}

void ConfigDocument::LoadDefaults()
{
    voltara::BuildConfigPath(personality_, voltara::ProgramFolder());
    voltara::InitSuperbotData(superbot_, voltara::ProgramFolder());
    for (int record = 1; record <= RecordCount(); ++record) {
        if (kind_ == Kind::Personality)
            voltara::SetDefaultValues(personality_, std::to_string(record), voltara::kGroupAll);
        else
            voltara::SetTierDefaults(superbot_, record);
    }
}

std::optional<std::string> ConfigDocument::SaveBackPath() const
{
    return voltara::SaveBackPath(
        kind_ == Kind::Personality ? personality_.LoadedPath : superbot_.LoadedPath);
}

std::vector<std::string> ConfigDocument::Lines() const
{
    if (kind_ == Kind::Personality)
        return voltara::PersonalityFileLines(personality_);
    return voltara::SuperbotFileLines(superbot_);
}

bool ConfigDocument::Save(const std::string &path, std::string &failure) const
{
    SaveReport report;
    const bool saved =
        voltara::SaveConfigLines(path, Lines(), report) == voltara::SaveResult::Saved;
    failure = report.text;
    return saved;
}

int ConfigDocument::RecordCount() const
{
    return kind_ == Kind::Personality ? voltara::kBotCount : voltara::kTierCount;
}

std::string ConfigDocument::RecordName(int record) const
{
    if (kind_ == Kind::Personality)
        return "BOT" + std::to_string(record);
    return voltara::TierName(record);
}

std::vector<std::string> ConfigDocument::Keys(int record) const
{
    if (record != 0)
        return RecordKeys(kind_);
    if (kind_ == Kind::Personality)
        return {kGeneralKey};
    return {};
}

std::string ConfigDocument::Value(int record, const std::string &key) const
{
    return const_cast<ConfigDocument *>(this)->Slot(record, key);
}

void ConfigDocument::SetValue(int record, const std::string &key, const std::string &value)
{
    if (kind_ == Kind::Personality && record != 0)
        voltara::SetField(personality_.Bot(record), voltara::FieldIndex(key), value);
    else
        Slot(record, key) = value;
}

void ConfigDocument::ApplyPreset(int record, const std::string &code, voltara::RandomSource &random)
{
    std::vector<Message> ignored;
    Collector view(ignored);
    personality_.CurrentBot = record;
    voltara::ApplyPreset(personality_, code, view, random);
}

void ConfigDocument::SetTierDefaults(int record)
{
    voltara::SetTierDefaults(superbot_, record);
}

std::string &ConfigDocument::Slot(int record, const std::string &key)
{
    if (kind_ == Kind::Personality && record == 0 && key == kGeneralKey)
        return personality_.DefaultPersonality;
    if (kind_ == Kind::Personality && record != 0 && voltara::FieldIndex(key) >= 0)
        return personality_.Bot(record).*voltara::kFields[voltara::FieldIndex(key)].member;
    if (kind_ == Kind::Superbot && record != 0) {
        for (const voltara::SuperbotFieldInfo &field : voltara::kSuperbotFields) {
            if (key == field.key)
                return superbot_.Tier(record).*field.member;
        }
    }
    throw std::out_of_range("no setting " + key + " in record " + std::to_string(record));
}

} // namespace botcfg
