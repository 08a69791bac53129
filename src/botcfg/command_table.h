// botcfg's commands as one table: each command's name, usage, help, the options it takes and
// how many arguments, and the function that runs it.
#pragma once

#include "botcfg/arguments.h"
#include "botcfg/file_io.h"

#include <span>
#include <string>
#include <vector>

namespace botcfg {

struct Command
{
    const char *name;
    const char *arguments; // as the usage line shows them
    const char *summary;
    std::string (*details)();
    unsigned options;
    std::size_t min_positionals;
    std::size_t max_positionals;
    int (*run)(const Arguments &, Io &);
    // The status of a failure that leaves no answer: diff's 1 means "different", so its
    // trouble is 2.
    int trouble = kFailed;
};

std::span<const Command> Commands();

// The command of this name; nullptr for none.
const Command *CommandNamed(const std::string &name);

// The first command named anywhere in a command line, even one that failed to parse, for the
// usage message.
const Command *CommandIn(const std::vector<std::string> &args);

// Throws UsageError when the arguments do not fit the command: an option it does not take, too
// few or too many arguments, a dry run of a write to standard output.
void CheckShape(const Command &command, const Arguments &args);

// "botcfg NAME ARGUMENTS"; for no command, the general usage.
std::string UsageLine(const Command *command);

// botcfg --help: every command's usage and summary, the kinds and the exit status.
std::string ProgramHelp();

} // namespace botcfg
