// What both editors' readers and writers share around the file itself: the messages, the
// ".cfg" name rule and the honest save.
#pragma once

#include "host.h"

#include <string>
#include <string_view>
#include <vector>

namespace voltara {

inline constexpr const char *kReadErrorText = "Error with reading config file";
inline constexpr const char *kSavedText = "File successfully saved";

// "File: "<path>" doesn't exist" CR LF "Loading default values".
std::string MissingFileText(const std::string &path);

// "Invalid line:" CR LF key, space, value.
std::string InvalidLineText(std::string_view key, std::string_view value);

// How a reader's opening of its file went.
enum class FileOpening { Missing, Unreadable, Read };

// Opens a file for one of the readers. A path that names no regular file is Missing, and the
// "File: ... doesn't exist" box (caption "Error") is shown. Otherwise loaded_path becomes the
// path before anything is read, so that a later Save writes there even when the content
// proves bad, and the whole content is read.
FileOpening OpenConfigFile(
    const std::string &path, std::string &loaded_path, std::string &content, Host &host);

// The name a writer writes to: a final NUL character is dropped, then ".cfg" is appended
// unless the name already ends in it (case counts).
std::string ConfigFileName(std::string name);

// Writes the lines to ConfigFileName(name), each ending in CR LF, and reports the outcome:
// "File successfully saved" with an empty caption, or an "Error" box naming the path and the
// system's reason. Returns whether the file was written.
bool WriteConfigFile(const std::string &name, const std::vector<std::string> &lines, Host &host);

} // namespace voltara
