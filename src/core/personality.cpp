#include "core/personality.h"

#include "core/text.h"
#include "platform/files.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace voltara {

int FieldIndex(std::string_view key)
{
    // Every key line of a file comes here: one hash instead of up to 28 comparisons.
    static const auto indexes = [] {
        std::unordered_map<std::string_view, int> map;
        for (int i = 0; i < kFieldCount; ++i)
            map.emplace(kFields[i].key, i);
        return map;
    }();
    const auto found = indexes.find(key);
    return found == indexes.end() ? -1 : found->second;
}

void SetField(Personality &bot, int field, std::string_view value)
{
    if (field < 0 || field >= kFieldCount)
        throw std::out_of_range("no setting " + std::to_string(field));
    const FieldInfo &info = kFields[field];
    if (info.kind == FieldKind::Transkiller)
        bot.*info.member = value.empty() ? std::string_view(" ") : value.substr(0, 1);
    else
        bot.*info.member = value;
}

int PersonalityNumber(const std::string &number)
{
    const auto value = ToWholeNumber(number);
    if (!value || *value < 1 || *value > kBotCount)
        throw IndexError(value.value_or(0));
    return *value;
}

void InitKeyNames(PersonalityConfig &config)
{
    config.KeyNames.clear();
    config.KeyNames.reserve(kFieldCount + 1);
    for (const FieldInfo &field : kFields)
        config.KeyNames.emplace_back(field.key);
    config.KeyNames.emplace_back(kDefaultPersonalityKey);
}

void BuildConfigPath(PersonalityConfig &config, const std::string &program_folder)
{
    InitKeyNames(config);
    config.CurrentBot = 1;
    config.DefaultPersonality = kRandomPersonality;
    config.ConfigPath = JoinToFolder(program_folder, kPersonalityFileName);
}

void SetDefaultValues(PersonalityConfig &config, const std::string &number, int group)
{
    Personality &bot = config.Bot(PersonalityNumber(number));
    for (int i = 0; i < kFieldCount; ++i) {
        if (group == kGroupAll || kFields[i].group == group)
            SetField(bot, i, kFields[i].default_value);
    }
}

namespace {

bool IsValid(const FieldInfo &field, const std::string &value)
{
    switch (field.kind) {
    case FieldKind::Percent:
        return IsNumericText(value);
    case FieldKind::Transkiller:
        return value.size() == 1 && value[0] >= '0' && value[0] <= '9';
    case FieldKind::Aggression:
        return IsAggressionWord(value);
    }
    return false;
}

} // namespace

bool IsAggressionWord(std::string_view text)
{
    return std::find(kAggressionWords.begin(), kAggressionWords.end(), text)
        != kAggressionWords.end();
}

std::string DefaultPersonalityOf(int option)
{
    return option == 0 ? kRandomPersonality : std::to_string(option);
}

bool IsDefaultPersonalityValue(const std::string &text)
{
    return text == kRandomPersonality || IsWholeNumberIn(text, 1, kBotCount);
}

std::string PersonalitySectionName(int n)
{
    return std::string(kSectionStem) + std::to_string(n);
}

bool IsControlValue(const FieldInfo &field, const std::string &text)
{
    switch (field.kind) {
    case FieldKind::Percent:
        return IsWholeNumberIn(text, kPercentFirst, kPercentLast);
    case FieldKind::Transkiller:
        return text == kTranskillerOff || text == kTranskillerOn;
    case FieldKind::Aggression:
        return IsValid(field, text);
    }
    return false;
}

void RepairPersonalities(PersonalityConfig &config)
{
    for (Personality &bot : config.Bots) {
        for (int i = 0; i < kFieldCount; ++i) {
            if (!IsValid(kFields[i], bot.*kFields[i].member))
                SetField(bot, i, kFields[i].default_value);
        }
    }
}

} // namespace voltara
