// What botcfg's help says: the commands' descriptions and the one rule of its exit status.
#pragma once

#include <string>

namespace botcfg {

// The exit status of every command, as the program's help, each command's help and the README
// state it.
inline constexpr const char *kExitStatusText =
    "Exit status: 0 the command did its work (check: every file read without a message);\n"
    "1 it did not (a file missing, too large, unreadable or not a regular file, a value or\n"
    "a save refused, a save or standard output that failed, no memory left), or check\n"
    "found a message; 2 a wrong command line. The editor's messages that fix, get, set and\n"
    "preset print while reading do not change their status.\n";

// The text after a command's usage line in its --help.
std::string CheckDetails();
std::string FixDetails();
std::string GetDetails();
std::string SetDetails();
std::string PresetDetails();
std::string NewDetails();

} // namespace botcfg
