#include "botcfg/arguments.h"

namespace botcfg {

namespace {

struct ValueOption
{
    const char *long_name;
    const char *short_name;
    Option bit;
    std::optional<std::string> Arguments::*slot;
};

const ValueOption kValueOptions[] = {
    {"--kind",   nullptr, kKindOption,   &Arguments::kind  },
    {"--output", "-o",    kOutputOption, &Arguments::output},
    {"--seed",   nullptr, kSeedOption,   &Arguments::seed  },
};

struct FlagOption
{
    const char *name;
    Option bit;
    bool Arguments::*slot;
};

const FlagOption kFlagOptions[] = {
    {"--force",   kForceOption,  &Arguments::force  },
    {"--json",    kJsonOption,   &Arguments::json   },
    {"--dry-run", kDryRunOption, &Arguments::dry_run},
};

bool LooksLikeOption(const std::string &arg)
{
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

// Notes an option under the name it was given by, so that messages name it as the user wrote
// it; an option given twice is refused, as no value of it could be the one meant.
void Note(Arguments &parsed, Option option, const std::string &name)
{
    for (const auto &[given, given_name] : parsed.options_given) {
        if (given == option)
            throw UsageError(given_name == name ? name + " is given twice"
                                                : given_name + " and " + name + " are one option");
    }
    parsed.options_given.emplace_back(option, name);
}

// Takes a value option at args[i] ("--kind K", "--kind=K", "-o OUT"); false when it is none.
bool TakeValueOption(const std::vector<std::string> &args, std::size_t &i, Arguments &parsed)
{
    const std::string &arg = args[i];
    for (const ValueOption &option : kValueOptions) {
        const std::string name = option.long_name;
        if (arg.starts_with(name + "=")) {
            Note(parsed, option.bit, name);
            parsed.*option.slot = arg.substr(name.size() + 1);
        } else if (arg == name || (option.short_name && arg == option.short_name)) {
            if (i + 1 >= args.size())
                throw UsageError("option " + arg + " needs a value");
            Note(parsed, option.bit, arg);
            parsed.*option.slot = args[++i];
        } else {
            continue;
        }
        return true;
    }
    return false;
}

// Takes the option at args[i], or throws UsageError for an unknown one.
void TakeOption(const std::vector<std::string> &args, std::size_t &i, Arguments &parsed)
{
    const std::string &arg = args[i];
    if (arg == "--help" || arg == "-h") {
        parsed.help = true;
        return;
    }
    if (arg == "--version") {
        parsed.version = true;
        return;
    }
    for (const FlagOption &option : kFlagOptions) {
        if (arg == option.name) {
            Note(parsed, option.bit, arg);
            parsed.*option.slot = true;
            return;
        }
    }
    if (!TakeValueOption(args, i, parsed))
        throw UsageError("unknown option " + arg);
}

} // namespace

Arguments ParseArguments(const std::vector<std::string> &args)
{
    Arguments parsed;
    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!options_ended && arg == "--")
            options_ended = true;
        else if (!options_ended && LooksLikeOption(arg))
            TakeOption(args, i, parsed);
        else if (parsed.command.empty())
            parsed.command = arg;
        else
            parsed.positionals.push_back(arg);
    }
    return parsed;
}

} // namespace botcfg
