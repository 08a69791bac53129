#include "core/superbot.h"

#include "core/text.h"
#include "platform/files.h"

namespace voltara {

namespace {

const char *const kTierNames[kTierCount] = {"SUPERBOT", "MEGABOT", "ULTIMATEBOT"};

#define VOLTARA_TIER_1(first, second, third) first
#define VOLTARA_TIER_2(first, second, third) second
#define VOLTARA_TIER_3(first, second, third) third
const Superbot kTierDefaults[kTierCount] = {
#define SUPERBOT_SETTING(key, control, first, last, unlimited, defaults, ...)                      \
    VOLTARA_TIER_1 defaults,
    {
#include "core/superbot_settings.def"
    },
#undef SUPERBOT_SETTING
#define SUPERBOT_SETTING(key, control, first, last, unlimited, defaults, ...)                      \
    VOLTARA_TIER_2 defaults,
    {
#include "core/superbot_settings.def"
    },
#undef SUPERBOT_SETTING
#define SUPERBOT_SETTING(key, control, first, last, unlimited, defaults, ...)                      \
    VOLTARA_TIER_3 defaults,
    {
#include "core/superbot_settings.def"
    },
#undef SUPERBOT_SETTING
};
#undef VOLTARA_TIER_1
#undef VOLTARA_TIER_2
#undef VOLTARA_TIER_3

std::size_t TierIndex(int tier)
{
    if (tier < 1 || tier > kTierCount)
        throw IndexError(tier);
    return static_cast<std::size_t>(tier - 1);
}

} // namespace

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
    if (field.kind == SuperbotControl::PowerLevel)
        return IsAcceptedPowerLevel(text);
    return (field.unlimited && text == kUnlimitedValue)
        || IsWholeNumberIn(text, field.first, field.last);
}

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

} // namespace voltara
