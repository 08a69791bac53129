// What both editors' readers and writers share around the file itself: the messages, the
// ".cfg" name rule and the honest save.
#pragma once

#include "core/host.h"
#include "core/messages.h"
#include "platform/save.h"
#include "platform/stamp.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara {

// The largest configuration file the readers take. The real files are about 10 KB; a larger
// one is refused before it is read, so that no file makes a reader's memory grow without end.
inline constexpr std::uint64_t kMaxConfigFileBytes = 1 << 20;

// How a reader's opening of its file went.
enum class FileOpening { Missing, Unreadable, TooLarge, Read };

// How a reading ended, for callers that must know more than the messages told the user.
enum class ReadOutcome {
    Missing, // no file at the path: the records were repaired, so empty ones hold defaults
    TooLarge, // larger than a configuration file can be, so not read; repaired as when missing
    FailedBeforeRecords, // unreadable, or damaged before its first section: no record was read
    Read, // the sections were read, perhaps with messages on the way
};

// Opens a file for one of the readers. A path that names no regular file is Missing, and the
// "File: ... doesn't exist" box (caption "Error") is shown. A file larger than
// kMaxConfigFileBytes is TooLarge: the TooLargeText box (caption "Error") is shown, and nothing
// else changes, so that a later Save does not silently replace a file the user never saw.
// Otherwise loaded_path becomes the path before anything is read, so that a later Save writes
// there even when the content proves bad, the whole content is read, and known remembers the
// file as it was when opened. Unreadable comes with the system's reason.
FileOpening OpenConfigFile(const std::string &path, std::string &loaded_path, KnownFiles &known,
    std::string &content, std::string &reason, Host &host);

// What a reader of one kind does with the file OpenConfigFile opened: with no content to read
// (the file missing or too large), with an unreadable file (given the system's reason), and
// with the content.
struct ConfigReading
{
    std::function<void()> without_content;
    std::function<ReadOutcome(const std::string &reason)> unreadable;
    std::function<ReadOutcome(std::string_view content)> read;
};

// OpenConfigFile, then the step of the reading that fits how the opening went.
ReadOutcome ReadConfigFile(const std::string &path, std::string &loaded_path, KnownFiles &known,
    Host &host, const ConfigReading &reading);

// The name a writer writes to: a final NUL character is dropped, then ".cfg" is appended
// unless the name already ends in it (case counts).
std::string ConfigFileName(std::string name);

// The file a save goes back to: the one last found to exist by a reader. The editors' Save
// writes there through ConfigFileName, as every save of theirs does (an opened "foo.txt" is
// saved as "foo.txt.cfg"); botcfg, which scripts call with names they mean, writes to exactly
// that name. nullopt while no file was found (the start-up file was missing and nothing was
// opened since); the editors then ask for a name instead of writing ".cfg" into the working
// directory.
std::optional<std::string> SaveBackPath(const std::string &loaded_path);

// The lines, each ended by CR LF, as one text.
std::string JoinedLines(const std::vector<std::string> &lines);

// Writes the lines to exactly this path, each ending in CR LF, in one SaveFile. A failure is
// reported as an "Error" box naming the path and the system's reason, and the file keeps its
// old bytes; success shows nothing. With known, a file that another program has written since
// it was last read or saved here is overwritten only after the host's AskToProceed with
// ChangedFileText agreed (Cancelled, with nothing shown, when not), and a saved file is
// remembered as written.
SaveResult SaveConfigLines(const std::string &path, const std::vector<std::string> &lines,
    Host &host, KnownFiles *known = nullptr);

// The editors' save: SaveConfigLines to ConfigFileName(name) with their known files, then
// "File successfully saved" with an empty caption when it worked. Returns whether the file was
// written.
bool WriteConfigFile(
    const std::string &name, const std::vector<std::string> &lines, KnownFiles &known, Host &host);

} // namespace voltara
