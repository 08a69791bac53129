#include "botcfg/command_table.h"

#include "botcfg/handlers.h"
#include "botcfg/help.h"

#include <limits>

namespace botcfg {

namespace {

constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();
constexpr unsigned kChangeOptions = kKindOption | kForceOption | kDryRunOption;

// clang-format off
const Command kCommands[] = {
    {"check", "FILE... [--json] [--kind KIND]",
     "print the messages the editor shows on reading each FILE",
     CheckDetails, kKindOption | kJsonOption, 1, kAny, Check},
    {"get", "FILE [N [KEY]] [--json] [--kind KIND]", "print values",
     GetDetails, kKindOption | kJsonOption, 1, 3, Get},
    {"diff", "A B [--json] [--kind KIND]", "print the settings in which two files differ",
     DiffDetails, kKindOption | kJsonOption, 2, 2, Diff, 2},
    {"fix", "FILE [-o OUT] [--dry-run] [--force] [--kind KIND]",
     "write FILE as the editor's Save would",
     FixDetails, kChangeOptions | kOutputOption, 1, 1, Fix},
    {"set", "FILE [N] KEY VALUE [KEY VALUE ...] [--dry-run] [--force] [--kind KIND]",
     "change values and save",
     SetDetails, kChangeOptions, 3, kAny, Set},
    {"preset", "FILE N GROUP ITEM [--seed S] [--dry-run] [--force] [--kind KIND]",
     "apply a Presets menu item and save",
     PresetDetails, kChangeOptions | kSeedOption, 4, kAny, Preset},
    {"apply", "FILE [N] DOC [--dry-run] [--force] [--kind KIND]",
     "set the values of a JSON document as get --json prints it, and save",
     ApplyDetails, kChangeOptions, 2, 3, Apply},
    {"new", "personality|superbot [-o OUT] [--force]", "write the default file",
     NewDetails, kOutputOption | kForceOption, 1, 1, New},
};
// clang-format on

} // namespace

std::span<const Command> Commands()
{
    return kCommands;
}

const Command *CommandNamed(const std::string &name)
{
    for (const Command &command : kCommands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

const Command *CommandIn(const std::vector<std::string> &args)
{
    for (const std::string &arg : args) {
        if (const Command *command = CommandNamed(arg))
            return command;
    }
    return nullptr;
}

void CheckShape(const Command &command, const Arguments &args)
{
    for (const auto &[option, name] : args.options_given) {
        if (!(command.options & option))
            throw UsageError(name + " does not go with " + command.name);
    }
    if (args.positionals.size() < command.min_positionals)
        throw UsageError("missing arguments");
    if (args.positionals.size() > command.max_positionals)
        throw UsageError("too many arguments");
    if (args.dry_run && args.output == "-")
        throw UsageError("--dry-run compares with a file, and -o - writes none");
}

std::string UsageLine(const Command *command)
{
    if (!command)
        return "botcfg COMMAND ARGUMENTS [OPTIONS] (botcfg --help lists the commands)";
    return "botcfg " + std::string(command->name) + " " + command->arguments;
}

std::string ProgramHelp()
{
    std::string text = "botcfg: the Voltara bot configuration files bot_personality.cfg and\n"
                       "sbot.cfg from the command line, read and written as the editors do.\n\n"
                       "usage: botcfg COMMAND ARGUMENTS [OPTIONS]\n\n";
    for (const Command &command : kCommands)
        text += "  " + UsageLine(&command) + "\n      " + command.summary + "\n";
    return text
        + "\nThe kind of FILE follows from its name (bot_personality.cfg or sbot.cfg), or\n"
          "from --kind personality|superbot, which wins. A command that saves takes\n"
          "--dry-run to print what it would change as a unified diff and write nothing.\n"
          "botcfg COMMAND --help (or -h) describes a command; botcfg --version prints the\n"
          "version.\n\n"
        + kExitStatusText;
}

} // namespace botcfg
