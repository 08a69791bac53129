#include "core/config_document.h"

#include "core/personality.h"
#include "core/superbot.h"

#include <algorithm>

namespace voltara {

std::unique_ptr<ConfigDocument> MakePersonalityDocument();
std::unique_ptr<ConfigDocument> MakeSuperbotDocument();

std::optional<ConfigKind> KindOfFileName(std::string_view name)
{
    if (name == kPersonalityFileName)
        return ConfigKind::Personality;
    if (name == kSuperbotFileName)
        return ConfigKind::Superbot;
    return std::nullopt;
}

const char *FileNameOf(ConfigKind kind)
{
    return kind == ConfigKind::Personality ? kPersonalityFileName : kSuperbotFileName;
}

std::unique_ptr<ConfigDocument> ConfigDocument::Make(ConfigKind kind)
{
    return kind == ConfigKind::Personality ? MakePersonalityDocument() : MakeSuperbotDocument();
}

ConfigDocument::KeyPlace ConfigDocument::PlaceOf(const std::string &key) const
{
    const auto lists = [&key](const std::vector<std::string> &keys) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    if (lists(Keys(0)))
        return KeyPlace::General;
    return lists(Keys(1)) ? KeyPlace::Record : KeyPlace::None;
}

std::string WholeNumbersText(int first, int last)
{
    return "a whole number from " + std::to_string(first) + " to " + std::to_string(last);
}

} // namespace voltara
