#include "names.h"

#include "arguments.h"
#include "platform.h"
#include "text.h"

namespace botcfg {

namespace {

constexpr const char *kGeneralKey = voltara::kDefaultPersonalityKey;

// Lower case, "_" and "-" as spaces, runs of spaces as one, none at the ends.
std::string Normalized(const std::string &text)
{
    std::string normal;
    for (char c : text) {
        if (c == '_' || c == '-')
            c = ' ';
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ' ' || (!normal.empty() && normal.back() != ' '))
            normal += c;
    }
    if (!normal.empty() && normal.back() == ' ')
        normal.pop_back();
    return normal;
}

std::string BaseName(const std::string &path)
{
    const std::size_t cut = path.find_last_of(voltara::kPathSeparator == '/' ? "/" : "/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool LooksLikeNumber(const std::string &arg)
{
    const std::size_t digit = arg.starts_with("-") || arg.starts_with("+") ? 1 : 0;
    return arg.size() > digit && arg[digit] >= '0' && arg[digit] <= '9';
}

std::string WholeNumbers(int first, int last)
{
    return "a whole number from " + std::to_string(first) + " to " + std::to_string(last);
}

} // namespace

Kind KindNamed(const std::string &word)
{
    if (word == "personality")
        return Kind::Personality;
    if (word == "superbot")
        return Kind::Superbot;
    throw UsageError("unknown kind \"" + word + "\" (personality or superbot)");
}

Kind KindOf(const std::optional<std::string> &kind_option, const std::string &path)
{
    if (kind_option)
        return KindNamed(*kind_option);
    const std::string name = BaseName(path);
    if (name == voltara::kPersonalityFileName)
        return Kind::Personality;
    if (name == voltara::kSuperbotFileName)
        return Kind::Superbot;
    throw UsageError("the kind of " + path
        + " does not follow from its name; give --kind personality or --kind superbot");
}

std::optional<int> RecordNamed(Kind kind, const std::string &arg)
{
    const int count = kind == Kind::Personality ? voltara::kBotCount : voltara::kTierCount;
    for (int record = 1; record <= count; ++record) {
        if (voltara::IsWholeNumberIn(arg, record, record))
            return record;
        if (kind == Kind::Superbot && Normalized(arg) == Normalized(voltara::TierName(record)))
            return record;
    }
    if (LooksLikeNumber(arg))
        throw UsageError("no record " + arg + " ("
            + std::string(kind == Kind::Personality
                    ? "personalities are 1 to 9)"
                    : "tiers are 1 to 3, SUPERBOT, MEGABOT, ULTIMATEBOT)"));
    return std::nullopt;
}

int RecordOfKey(Kind kind, const std::string &key, std::optional<int> record)
{
    if (kind == Kind::Personality && key == kGeneralKey)
        return 0;
    for (const std::string &known : RecordKeys(kind)) {
        if (key != known)
            continue;
        if (!record)
            throw UsageError(key + " needs the number of a record before it");
        return *record;
    }
    throw UsageError("unknown setting \"" + key + "\" for a "
        + (kind == Kind::Personality ? "personality" : "superbot") + " file");
}

bool IsAccepted(Kind kind, const std::string &key, const std::string &value)
{
    if (kind == Kind::Personality && key == kGeneralKey)
        return value == "-1" || voltara::IsWholeNumberIn(value, 1, voltara::kBotCount);
    if (kind == Kind::Personality)
        return voltara::IsControlValue(voltara::kFields.at(voltara::FieldIndex(key)), value);
    for (const voltara::SuperbotFieldInfo &field : voltara::kSuperbotFields) {
        if (key == field.key)
            return voltara::IsControlValue(field, value);
    }
    return false;
}

std::string AcceptedValues(Kind kind, const std::string &key)
{
    if (kind == Kind::Personality && key == kGeneralKey)
        return "-1 (random) or " + WholeNumbers(1, voltara::kBotCount);
    if (kind == Kind::Personality) {
        switch (voltara::kFields.at(voltara::FieldIndex(key)).kind) {
        case voltara::FieldKind::Percent:
            return WholeNumbers(voltara::kPercentFirst, voltara::kPercentLast);
        case voltara::FieldKind::Aggression:
            return "aggressive, normal or defensive";
        case voltara::FieldKind::Transkiller:
            return "0 (off) or 1 (on)";
        }
    }
    for (const voltara::SuperbotFieldInfo &field : voltara::kSuperbotFields) {
        if (key != field.key)
            continue;
        if (field.control == voltara::SuperbotControl::PowerLevel)
            return "a number of at least 1, in at most "
                + std::to_string(voltara::kPowerLevelMaxLength) + " characters";
        return (field.unlimited ? "-1 or " : "") + WholeNumbers(field.first, field.last);
    }
    return "";
}

std::string PresetCode(const std::string &group, const std::string &item)
{
    for (const voltara::PresetSubmenu &submenu : voltara::PresetMenu()) {
        if (Normalized(group) != Normalized(submenu.caption))
            continue;
        std::string choices;
        for (const voltara::PresetItem &entry : submenu.items) {
            if (Normalized(item) == Normalized(entry.caption))
                return entry.code;
            choices += (choices.empty() ? "" : ", ") + Normalized(entry.caption);
        }
        throw UsageError("no preset \"" + item + "\" in " + Normalized(submenu.caption)
            + " (one of: " + choices + ")");
    }
    std::string groups;
    for (const voltara::PresetSubmenu &submenu : voltara::PresetMenu())
        groups += (groups.empty() ? "" : ", ") + Normalized(submenu.caption);
    throw UsageError("no preset group \"" + group + "\" (one of: " + groups + ")");
}

std::string PresetChoices()
{
    std::string text;
    for (const voltara::PresetSubmenu &submenu : voltara::PresetMenu()) {
        std::string line = "  " + Normalized(submenu.caption);
        line.resize(12, ' ');
        for (const voltara::PresetItem &entry : submenu.items)
            line += Normalized(entry.caption) + ", ";
        line.resize(line.size() - 2);
        text += line + "\n";
    }
    return text;
}

} // namespace botcfg
