// Where the program and its files are: the program's folder, paths joined to it, the normal-file
// test, and standard output as a file of bytes.
#pragma once

#include <string>

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
// On Windows hidden and system files do not count either.
bool IsNormalFile(const std::string &path);

// Makes standard output pass bytes unchanged, so that CR LF line ends written there arrive as
// they are (Windows would otherwise turn every LF into CR LF).
void UseBinaryStandardOutput();

} // namespace voltara
