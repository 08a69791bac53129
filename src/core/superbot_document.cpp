// sbot.cfg behind the face of config_document.h.
#include "core/document_of.h"
#include "core/superbot_file.h"
#include "core/text.h"
#include "core/windowless_view.h"
#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace voltara {

namespace {

bool SameLetters(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x))
            == std::toupper(static_cast<unsigned char>(y));
    });
}

class SuperbotDocument : public DocumentOf<SuperbotConfig, &StartSuperbotConfig, &SuperbotFileLines>
{
public:
    ConfigKind Kind() const override { return ConfigKind::Superbot; }

    void LoadDefaults() override
    {
        InitSuperbotData(config_, ProgramFolder());
        for (int tier = 1; tier <= kTierCount; ++tier)
            SetTierDefaults(config_, tier);
    }

    int RecordCount() const override { return kTierCount; }

    std::string RecordName(int record) const override { return TierName(record); }

    std::optional<int> RecordNamed(std::string_view text) const override
    {
        text = TrimmedSpaces(text);
        for (int tier = 1; tier <= kTierCount; ++tier) {
            if (IsWholeNumberIn(text, tier, tier) || SameLetters(text, TierName(tier)))
                return tier;
        }
        return std::nullopt;
    }

    std::string RecordsText() const override
    {
        std::string text = "tiers are 1 to " + std::to_string(kTierCount);
        for (int tier = 1; tier <= kTierCount; ++tier)
            text += std::string(", ") + TierName(tier);
        return text;
    }

    std::vector<std::string> Keys(int record) const override
    {
        std::vector<std::string> keys;
        if (record == 0)
            return keys;
        for (const SuperbotFieldInfo &field : kSuperbotFields)
            keys.emplace_back(field.key);
        return keys;
    }

    std::string Value(int record, const std::string &key) const override
    {
        return config_.Tier(record).*Field(key).member;
    }

    void SetValue(int record, const std::string &key, const std::string &value) override
    {
        config_.Tier(record).*Field(key).member = value;
    }

    bool IsAccepted(const std::string &key, const std::string &value) const override
    {
        return IsControlValue(Field(key), value);
    }

    std::string AcceptedValues(const std::string &key) const override
    {
        const SuperbotFieldInfo &field = Field(key);
        if (field.kind == SuperbotControl::PowerLevel)
            return "a number of at least 1, in at most " + std::to_string(kPowerLevelMaxLength)
                + " characters";
        return (field.unlimited ? std::string(kUnlimitedValue) + " or " : std::string())
            + WholeNumbersText(field.first, field.last);
    }

    bool KnowsPreset(const std::string &code) const override { return code == kAllDefaultCode; }

    bool ApplyPreset(int record, const std::string &code, RandomSource &) override
    {
        if (!KnowsPreset(code))
            return false;
        SetTierDefaults(config_, record);
        return true;
    }

private:
    static const SuperbotFieldInfo &Field(const std::string &key)
    {
        const SuperbotFieldInfo *field = SuperbotFieldNamed(key);
        if (!field)
            throw std::out_of_range("no setting " + key);
        return *field;
    }
};

} // namespace

std::unique_ptr<ConfigDocument> MakeSuperbotDocument()
{
    return std::make_unique<SuperbotDocument>();
}

} // namespace voltara
