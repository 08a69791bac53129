// The commands themselves, each run with a command line that fits its shape.
#pragma once

#include "botcfg/arguments.h"
#include "botcfg/file_io.h"

namespace botcfg {

// Reading: read_commands.cpp.
int Check(const Arguments &args, Io &io);
int Get(const Arguments &args, Io &io);
int Diff(const Arguments &args, Io &io);

// Changing and writing: change_commands.cpp.
int Fix(const Arguments &args, Io &io);
int Set(const Arguments &args, Io &io);
int Preset(const Arguments &args, Io &io);
int Apply(const Arguments &args, Io &io);
int New(const Arguments &args, Io &io);

} // namespace botcfg
