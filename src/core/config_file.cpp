#include "config_file.h"

#include "platform.h"

namespace voltara {

std::string MissingFileText(const std::string &path)
{
    return "File: \"" + path + "\" doesn't exist\r\nLoading default values";
}

std::string InvalidLineText(std::string_view key, std::string_view value)
{
    std::string text = "Invalid line:\r\n";
    text.append(key).append(" ").append(value);
    return text;
}

FileOpening OpenConfigFile(
    const std::string &path, std::string &loaded_path, std::string &content, Host &host)
{
    if (!IsNormalFile(path)) {
        host.ShowMessage(MissingFileText(path), "Error");
        return FileOpening::Missing;
    }
    loaded_path = path;
    std::string reason;
    return ReadWholeFile(path, content, reason) ? FileOpening::Read : FileOpening::Unreadable;
}

std::string ConfigFileName(std::string name)
{
    if (!name.empty() && name.back() == '\0')
        name.pop_back();
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".cfg") != 0)
        name += ".cfg";
    return name;
}

std::optional<std::string> SaveBackPath(const std::string &loaded_path)
{
    if (loaded_path.empty())
        return std::nullopt;
    return loaded_path;
}

bool SaveConfigLines(const std::string &path, const std::vector<std::string> &lines, Host &host)
{
    std::string reason;
    if (SaveLines(path, lines, reason))
        return true;
    host.ShowMessage("File: \"" + path + "\" could not be saved\r\n" + reason, "Error");
    return false;
}

bool WriteConfigFile(const std::string &name, const std::vector<std::string> &lines, Host &host)
{
    if (!SaveConfigLines(ConfigFileName(name), lines, host))
        return false;
    host.ShowMessage(kSavedText, "");
    return true;
}

} // namespace voltara
