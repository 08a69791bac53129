// bot_personality.cfg behind the face of config_document.h.
#include "core/document_of.h"
#include "core/personality_file.h"
#include "core/text.h"
#include "core/windowless_view.h"
#include "platform/files.h"

#include <stdexcept>

namespace voltara {

namespace {

class PersonalityDocument
    : public DocumentOf<PersonalityConfig, &StartPersonalityConfig, &PersonalityFileLines>
{
public:
    ConfigKind Kind() const override { return ConfigKind::Personality; }

    void LoadDefaults() override
    {
        BuildConfigPath(config_, ProgramFolder());
        for (int n = 1; n <= kBotCount; ++n)
            SetDefaultValues(config_, std::to_string(n), kGroupAll);
    }

    int RecordCount() const override { return kBotCount; }

    std::string RecordName(int record) const override { return PersonalitySectionName(record); }

    std::optional<int> RecordNamed(std::string_view text) const override
    {
        const std::string number(TrimmedSpaces(text));
        for (int n = 1; n <= kBotCount; ++n) {
            if (IsWholeNumberIn(number, n, n))
                return n;
        }
        return std::nullopt;
    }

    std::string RecordsText() const override
    {
        return "personalities are 1 to " + std::to_string(kBotCount);
    }

    std::vector<std::string> Keys(int record) const override
    {
        if (record == 0)
            return {kDefaultPersonalityKey};
        std::vector<std::string> keys;
        for (const FieldInfo &field : kFields)
            keys.emplace_back(field.key);
        return keys;
    }

    std::string Value(int record, const std::string &key) const override
    {
        if (record == 0 && key == kDefaultPersonalityKey)
            return config_.DefaultPersonality;
        return config_.Bot(record).*Field(key).member;
    }

    void SetValue(int record, const std::string &key, const std::string &value) override
    {
        if (record == 0 && key == kDefaultPersonalityKey)
            config_.DefaultPersonality = value;
        else
            SetField(config_.Bot(record), FieldIndex(Field(key).key), value);
    }

    bool IsAccepted(const std::string &key, const std::string &value) const override
    {
        if (key == kDefaultPersonalityKey)
            return IsDefaultPersonalityValue(value);
        return IsControlValue(Field(key), value);
    }

    std::string AcceptedValues(const std::string &key) const override
    {
        if (key == kDefaultPersonalityKey)
            return std::string(kRandomPersonality) + " (random) or "
                + WholeNumbersText(1, kBotCount);
        switch (Field(key).kind) {
        case FieldKind::Percent:
            return WholeNumbersText(kPercentFirst, kPercentLast);
        case FieldKind::Aggression:
            return std::string(kAggressive) + ", " + kNormal + " or " + kDefensive;
        case FieldKind::Transkiller:
            return std::string(kTranskillerOff) + " (off) or " + kTranskillerOn + " (on)";
        }
        return {};
    }

    bool KnowsPreset(const std::string &code) const override { return IsPresetCode(code); }

    bool ApplyPreset(int record, const std::string &code, RandomSource &random) override
    {
        if (!KnowsPreset(code))
            return false;
        SilentHost quiet;
        WindowlessView view(quiet);
        config_.CurrentBot = record;
        voltara::ApplyPreset(config_, code, view, random);
        return true;
    }

private:
    static const FieldInfo &Field(const std::string &key)
    {
        const int index = FieldIndex(key);
        if (index < 0)
            throw std::out_of_range("no setting " + key);
        return kFields[index];
    }
};

} // namespace

std::unique_ptr<ConfigDocument> MakePersonalityDocument()
{
    return std::make_unique<PersonalityDocument>();
}

} // namespace voltara
