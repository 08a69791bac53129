// botcfg's command line: the command, its positional arguments and its options.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace botcfg {

// A command line that cannot be run as given: exit status 2 with a one-line usage message.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The options, as bits, so that each command can name the ones it takes.
enum Option : unsigned {
    kKindOption = 1u << 0,
    kOutputOption = 1u << 1,
    kForceOption = 1u << 2,
    kJsonOption = 1u << 3,
    kSeedOption = 1u << 4,
    kDryRunOption = 1u << 5,
};

struct Arguments
{
    std::string command; // empty when only --help or --version was given
    std::vector<std::string> positionals;
    std::optional<std::string> kind; // --kind K
    std::optional<std::string> output; // -o OUT, --output OUT
    std::optional<std::string> seed; // --seed S
    bool force = false;
    bool json = false;
    bool dry_run = false; // --dry-run
    bool help = false; // --help, -h
    bool version = false; // --version
    std::vector<std::pair<Option, std::string>> options_given; // in order, named as given
};

// Parses the arguments after the program's name. The first argument that is not --help,
// -h or --version is the command; options may stand anywhere after it; "--" ends the options;
// an argument made of "-" and a digit is a value (such as -1), not an option. Throws
// UsageError for an unknown option, an option without its value, and an option given twice
// (under either of its names).
Arguments ParseArguments(const std::vector<std::string> &args);

} // namespace botcfg
