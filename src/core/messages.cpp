#include "core/messages.h"

namespace voltara::messages {

std::string MissingFileLine(const std::string &path)
{
    return "File: \"" + path + "\" doesn't exist";
}

std::string MissingFileText(const std::string &path)
{
    return MissingFileLine(path) + "\r\nLoading default values";
}

std::string InvalidLineText(std::string_view key, std::string_view value)
{
    std::string text = "Invalid line:\r\n";
    text.append(key).append(" ").append(value);
    return text;
}

std::string TooLargeText(const std::string &path, std::uint64_t size, std::uint64_t limit)
{
    return "File: \"" + path + "\" was not read\r\nIt holds " + std::to_string(size)
        + " bytes; a configuration file has at most " + std::to_string(limit);
}

std::string ChangedFileText(const std::string &path)
{
    return "File: \"" + path
        + "\" has been changed by another program since it was read or saved here.\r\n"
          "Overwrite it?";
}

std::string NotSavedText(const std::string &path, const std::string &reason)
{
    return "File: \"" + path + "\" could not be saved\r\n" + reason;
}

} // namespace voltara::messages
