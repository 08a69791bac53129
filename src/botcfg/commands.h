// botcfg: the two configuration files from the command line, read, repaired and written by
// the same core rules as the editors.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace botcfg {

// Runs one command line (the arguments after the program's name). A document named "-" is read
// from in; results go to out, the editors' messages and botcfg's own to err; a file written to
// standard output goes to out as bytes. Returns the exit status as help.h states it.
int Run(
    const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace botcfg
