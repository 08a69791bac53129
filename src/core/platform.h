// What the core needs from the operating system: the program's folder, the normal-file test,
// whole-file reading and the safe replacement of a file.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace voltara {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder that holds the running executable, without a trailing separator except at a root.
std::string ProgramFolder();

// Joins a file name to a folder with the platform separator, unless the folder already ends
// in one (a root).
std::string JoinToFolder(const std::string &folder, const std::string &name);

// True when a regular file exists at the path (links followed); folders and devices do not
// count, nor does a path with a NUL character inside (the system would see a shorter one).
bool IsNormalFile(const std::string &path);

// Reads a whole file as bytes. On failure returns false and sets reason to the system's text.
bool ReadWholeFile(const std::string &path, std::string &bytes, std::string &reason);

// Replaces the file at path with the lines given, each followed by CR LF. The bytes go to a
// temporary file beside the final target (symbolic links resolved), which is flushed and then
// renamed over the target, so on any failure the target keeps its old bytes and no temporary
// file stays behind. An existing file keeps its permissions (and owner and group where the
// process may set them). A folder that refuses new files gets an in-place write when the
// target itself is writable. A path with a NUL character inside is refused. On failure returns
// false and sets reason to the system's own text.
//
// On Windows a file with the read-only attribute, a folder and a file another program holds
// open are refused before anything is written; a symbolic link is replaced by the new file,
// and a replaced file takes the permissions of its folder, as the system's rename gives them.
bool SaveLines(const std::string &path, const std::vector<std::string> &lines, std::string &reason);

// Makes standard output pass bytes unchanged, so that CR LF line ends written there arrive as
// they are (Windows would otherwise turn every LF into CR LF).
void UseBinaryStandardOutput();

// The steps of SaveLines at which tests may inject a failure.
enum class SaveStep { CreateTemporary, WriteLine, Flush, Rename, WriteInPlace };

// When set, consulted before each step (line is the 0-based line for WriteLine, else -1): a
// result other than 0 makes that step fail with that system error code, an errno value (ENOSPC
// for a full disk, EACCES for a folder that refuses new files) or on Windows a GetLastError
// code (ERROR_DISK_FULL, ERROR_ACCESS_DENIED). For tests only.
using SaveFaultHook = std::function<int(SaveStep step, int line)>;
void SetSaveFaultHook(SaveFaultHook hook);

} // namespace voltara
