// What both editors' readers and writers share around the file itself: the messages, the
// ".cfg" name rule and the honest save.
#pragma once

#include "host.h"

#include <optional>
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

// How a reading ended, for callers that must know more than the messages told the user.
enum class ReadOutcome {
    Missing, // no file at the path: the records were repaired, so empty ones hold defaults
    FailedBeforeRecords, // unreadable, or damaged before its first section: no record was read
    Read, // the sections were read, perhaps with messages on the way
};

// Opens a file for one of the readers. A path that names no regular file is Missing, and the
// "File: ... doesn't exist" box (caption "Error") is shown. Otherwise loaded_path becomes the
// path before anything is read, so that a later Save writes there even when the content
// proves bad, and the whole content is read.
FileOpening OpenConfigFile(
    const std::string &path, std::string &loaded_path, std::string &content, Host &host);

// The name a writer writes to: a final NUL character is dropped, then ".cfg" is appended
// unless the name already ends in it (case counts).
std::string ConfigFileName(std::string name);

// The file that the editors' Save writes back to: the one last found to exist by a reader.
// nullopt while none was (the start-up file was missing and nothing was opened since); the
// editors then ask for a name instead of writing ".cfg" into the working directory.
std::optional<std::string> SaveBackPath(const std::string &loaded_path);

// Writes the lines to exactly this path, each ending in CR LF, through the safe replace of
// SaveLines. A failure is reported as an "Error" box naming the path and the system's reason,
// and the file keeps its old bytes; success shows nothing. Returns whether the file was written.
bool SaveConfigLines(const std::string &path, const std::vector<std::string> &lines, Host &host);

// The editors' save: SaveConfigLines to ConfigFileName(name), then "File successfully saved"
// with an empty caption when it worked. Returns whether the file was written.
bool WriteConfigFile(const std::string &name, const std::vector<std::string> &lines, Host &host);

} // namespace voltara
