#include "botcfg/commands.h"

#include "botcfg/arguments.h"
#include "botcfg/command_table.h"
#include "botcfg/help.h"
#include "botcfg/output.h"
#include "version.h"

#include <new>

namespace botcfg {

namespace {

constexpr const char *kVersion =
    "botcfg (Voltara Bot Editor) version " VOLTARA_VERSION " (commit " VOLTARA_COMMIT ")";

int RunParsed(const Arguments &args, Io &io)
{
    if (args.command.empty()) {
        if (!args.help && !args.version)
            throw UsageError("no command");
        io.out << (args.help ? ProgramHelp() : std::string(kVersion) + "\n");
        return kDone;
    }
    const Command *command = CommandNamed(args.command);
    if (!command)
        throw UsageError("unknown command \"" + args.command + "\"");
    if (args.help) {
        io.out << "usage: " << UsageLine(command) << "\n\n" << command->details();
        return kDone;
    }
    CheckShape(*command, args);
    return command->run(args, io);
}

} // namespace

int Run(
    const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    Io io {in, out, err};
    const Command *command = CommandIn(args);
    const int trouble = command ? command->trouble : kFailed;
    int status = kDone;
    try {
        status = RunParsed(ParseArguments(args), io);
    } catch (const UsageError &error) {
        io.err << "botcfg: " << Printable(error.what()) << "; usage: " << UsageLine(command)
               << '\n';
        return kUsage;
    } catch (const std::bad_alloc &) {
        Fail(io, "out of memory");
        return trouble;
    } catch (const std::exception &error) {
        Fail(io, Printable(error.what()));
        return trouble;
    }
    // What a command printed counts only once it has reached its reader.
    if (!io.out.flush()) {
        Fail(io, "standard output could not be written");
        return trouble;
    }
    return status;
}

} // namespace botcfg
