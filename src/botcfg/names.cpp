#include "botcfg/names.h"

#include "botcfg/arguments.h"
#include "core/text.h"
#include "platform/files.h"

namespace botcfg {

namespace {

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

} // namespace

voltara::ConfigKind KindNamed(const std::string &word)
{
    for (const auto kind : {voltara::ConfigKind::Personality, voltara::ConfigKind::Superbot}) {
        if (word == WordOf(kind))
            return kind;
    }
    throw UsageError("unknown kind \"" + word + "\" (personality or superbot)");
}

const char *WordOf(voltara::ConfigKind kind)
{
    return kind == voltara::ConfigKind::Personality ? "personality" : "superbot";
}

voltara::ConfigKind KindOf(const std::optional<std::string> &kind_option, const std::string &path)
{
    if (kind_option)
        return KindNamed(*kind_option);
    if (const auto kind = voltara::KindOfFileName(BaseName(path)))
        return *kind;
    throw UsageError("the kind of " + path
        + " does not follow from its name; give --kind personality or --kind superbot");
}

voltara::ConfigKind KindOfBoth(
    const std::optional<std::string> &kind_option, const std::string &a, const std::string &b)
{
    if (kind_option)
        return KindNamed(*kind_option);
    const auto kind_a = voltara::KindOfFileName(BaseName(a));
    const auto kind_b = voltara::KindOfFileName(BaseName(b));
    if (kind_a && kind_b && *kind_a != *kind_b)
        throw UsageError(a + " and " + b + " are files of two kinds");
    if (kind_a || kind_b)
        return kind_a ? *kind_a : *kind_b;
    throw UsageError("the kind of " + a + " and " + b
        + " does not follow from their names; give --kind personality or --kind superbot");
}

std::optional<int> RecordNamed(const voltara::ConfigDocument &file, const std::string &arg)
{
    if (const auto record = file.RecordNamed(arg))
        return record;
    if (LooksLikeNumber(std::string(voltara::TrimmedSpaces(arg))))
        throw UsageError("no record " + arg + " (" + file.RecordsText() + ")");
    return std::nullopt;
}

std::string RecordArgument(const voltara::ConfigDocument &file, int record)
{
    const std::string name = file.RecordName(record);
    return file.RecordNamed(name) == record ? name : std::to_string(record);
}

int RecordOfKey(
    const voltara::ConfigDocument &file, const std::string &key, std::optional<int> record)
{
    switch (file.PlaceOf(key)) {
    case voltara::ConfigDocument::KeyPlace::General:
        return 0;
    case voltara::ConfigDocument::KeyPlace::Record:
        if (!record)
            throw UsageError(key + " needs the number of a record before it");
        return *record;
    case voltara::ConfigDocument::KeyPlace::None:
        break;
    }
    throw UsageError("unknown setting \"" + key + "\" for a " + WordOf(file.Kind()) + " file");
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
