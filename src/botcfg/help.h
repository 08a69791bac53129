// What botcfg's help says: the commands' descriptions and the one rule of its exit status.
#pragma once

#include <string>

namespace botcfg {

// The exit status of every command, as the program's help, each command's help, the manual
// page and the README state it.
inline constexpr const char *kExitStatusText =
    "Exit status: 0 the command did its work (check: every file read without a message;\n"
    "diff: the files read alike; with --dry-run: the command would have done it); 1 it did\n"
    "not (a file missing, too large, unreadable or not a regular file, a value, a document\n"
    "or a save refused, a save or standard output that failed, no memory left), check found\n"
    "a message, or diff found a difference; 2 a wrong command line, or diff could not\n"
    "compare (for the reasons of 1). The editor's messages that fix, get, diff, set, preset\n"
    "and apply print while reading do not change their status.\n";

// The text after a command's usage line in its --help.
std::string CheckDetails();
std::string FixDetails();
std::string GetDetails();
std::string SetDetails();
std::string PresetDetails();
std::string ApplyDetails();
std::string DiffDetails();
std::string NewDetails();

} // namespace botcfg
