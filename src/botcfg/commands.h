// botcfg: the two configuration files from the command line, read, repaired and written by
// the same core rules as the editors.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace botcfg {

// Runs one command line (the arguments after the program's name). Results go to out, the
// editors' messages and botcfg's own to err; a file written to standard output goes to out
// as bytes. Returns the exit status: 0 done, 1 a message was given or the command refused or
// failed, 2 the command line was wrong.
int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace botcfg
