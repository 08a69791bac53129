#include "botcfg/commands.h"

#include "botcfg/arguments.h"
#include "botcfg/document.h"
#include "botcfg/help.h"
#include "botcfg/names.h"
#include "botcfg/output.h"
#include "platform/files.h"
#include "version.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <new>

namespace botcfg {

namespace {

constexpr const char *kVersion =
    "botcfg (Voltara Bot Editor) version " VOLTARA_VERSION " (commit " VOLTARA_COMMIT ")";

enum ExitStatus { kDone = 0, kFailed = 1, kUsage = 2 };

struct Io
{
    std::ostream &out;
    std::ostream &err;
};

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
};

using voltara::ConfigDocument;
using voltara::ReadOutcome;
// One value that set stores.
struct Change
{
    int record;
    std::string key;
    std::string value;
};

void Fail(Io &io, const std::string &text)
{
    io.err << "botcfg: " << text << '\n';
}

// True when something other than a regular file is at the path (links followed): a folder, a
// device, a pipe. Nothing is opened to find out.
bool IsOtherThanRegularFile(const std::string &path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

// True when anything at all is at the path, a dangling link included.
bool Occupied(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// Reads the file as its editor does and passes the editor's messages on to standard error.
// nullopt, with a message, when there is no regular file or it was too large to read: botcfg
// never creates one it was to read. A command that saves the file back takes its lock first and
// holds it to the end, so that concurrent runs on one file take their turns.
std::optional<ReadOutcome> OpenFile(Document &document, const std::string &path, Io &io,
    bool messages_to_err = true, bool for_change = false)
{
    if (IsOtherThanRegularFile(path)) {
        Fail(io, Printable(path) + " is not a regular file");
        return std::nullopt;
    }
    std::string reason;
    if (for_change && !document.Lock(path, reason)) {
        Fail(io, Printable(path) + ": " + Printable(OneLine(reason)) + "; nothing was written");
        return std::nullopt;
    }
    std::optional<ReadOutcome> outcome;
    if (voltara::IsNormalFile(path))
        outcome = document.Open(path);
    if (!outcome || *outcome == ReadOutcome::Missing) {
        Fail(io, voltara::messages::MissingFileLine(Printable(path)));
        return std::nullopt;
    }
    for (const Message &message : document.messages())
        (messages_to_err ? io.err : io.out) << MessageLine(path, message) << '\n';
    if (*outcome == ReadOutcome::TooLarge)
        return std::nullopt;
    return outcome;
}

// The whole file to standard output ("-"), or saved to exactly this path.
int WriteTo(const Document &document, const std::string &path, Io &io)
{
    if (path == "-") {
        for (const std::string &line : document.file().Lines())
            io.out << line << "\r\n";
        if (io.out.flush())
            return kDone;
        Fail(io, "standard output could not be written");
        return kFailed;
    }
    if (IsOtherThanRegularFile(path)) {
        Fail(io, Printable(path) + " is not a regular file (-o - writes to standard output)");
        return kFailed;
    }
    std::string failure;
    if (document.Save(path, failure))
        return kDone;
    Fail(io, Printable(OneLine(failure)));
    return kFailed;
}

// Saves back to the file that was read, as the editor's Save does; a file that could not be
// read before its records would lose them all, so it is kept unless forced.
// A file that could not be read before its records would lose them all to a save over it, so
// it is kept unless forced; true when the save may go on.
bool MayReplaceUnread(const std::string &target, ReadOutcome outcome, const Arguments &args, Io &io,
    const char *other_way = "")
{
    if (outcome != ReadOutcome::FailedBeforeRecords || args.force)
        return true;
    Fail(io,
        Printable(target)
            + " not saved: it could not be read before its first section, so saving would"
              " leave only default values in it (--force saves all the same"
            + other_way + ")");
    return false;
}

// Saves back to the file that was read, as the editor's Save does.
int SaveBack(const Document &document, ReadOutcome outcome, const Arguments &args, Io &io,
    const char *other_way = "")
{
    const auto target = document.file().SaveBackPath();
    if (!target) {
        Fail(io, "no file was read, so there is none to save back to");
        return kFailed;
    }
    if (!MayReplaceUnread(*target, outcome, args, io, other_way))
        return kFailed;
    return WriteTo(document, *target, io);
}

// True when both paths lead to one file, through links or other names.
bool SameFile(const std::string &a, const std::string &b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

int Check(const Arguments &args, Io &io)
{
    std::vector<voltara::ConfigKind> kinds;
    for (const std::string &path : args.positionals)
        kinds.push_back(KindOf(args.kind, path));
    int status = kDone;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        Document document(kinds[i]);
        if (!OpenFile(document, args.positionals[i], io, false) || !document.messages().empty())
            status = kFailed;
    }
    return status;
}

int Fix(const Arguments &args, Io &io)
{
    const std::string &path = args.positionals[0];
    Document document(KindOf(args.kind, path));
    const auto outcome = OpenFile(document, path, io, true, true);
    if (!outcome)
        return kFailed;
    // An output that leads back to the file is a save over it, whatever its name.
    if (args.output && *args.output != "-" && SameFile(path, *args.output)
        && !MayReplaceUnread(*args.output, *outcome, args, io))
        return kFailed;
    if (args.output)
        return WriteTo(document, *args.output, io);
    return SaveBack(document, *outcome, args, io, ", -o OUT writes elsewhere");
}

// What get prints: the general options and every record, one record, or one value.
void PrintSelection(const Document &document, const std::vector<std::string> &positionals,
    std::optional<int> record, bool json, std::ostream &out)
{
    const ConfigDocument &file = document.file();
    Pairs pairs;
    std::vector<Group> groups;
    if (positionals.size() == 1) {
        pairs = PairsOf(file, 0);
        for (int n = 1; n <= file.RecordCount(); ++n)
            groups.push_back({file.RecordName(n), PairsOf(file, n)});
    } else if (record && positionals.size() == 2) {
        pairs = PairsOf(file, *record);
    } else {
        const std::string &key = positionals.back();
        pairs.emplace_back(key, file.Value(RecordOfKey(file, key, record), key));
    }
    if (json)
        PrintJson(out, pairs, groups);
    else
        PrintPlain(out, pairs, groups);
}

int Get(const Arguments &args, Io &io)
{
    const std::vector<std::string> &positionals = args.positionals;
    Document document(KindOf(args.kind, positionals[0]));
    const std::optional<int> record =
        positionals.size() > 1 ? RecordNamed(document.file(), positionals[1]) : std::nullopt;
    if (positionals.size() == 3 && !record)
        throw UsageError("\"" + positionals[1] + "\" names no record");
    if (positionals.size() == 3 || (positionals.size() == 2 && !record))
        RecordOfKey(document.file(), positionals.back(), record); // throws for an unknown key
    const auto outcome = OpenFile(document, positionals[0], io);
    if (!outcome)
        return kFailed;
    if (*outcome == ReadOutcome::FailedBeforeRecords) {
        Fail(io, Printable(positionals[0]) + " could not be read before its first section");
        return kFailed;
    }
    PrintSelection(document, positionals, record, args.json, io.out);
    return kDone;
}

std::vector<Change> ChangesOf(
    const ConfigDocument &file, const std::vector<std::string> &positionals)
{
    std::size_t next = 1;
    const std::optional<int> record = RecordNamed(file, positionals[next]);
    if (record)
        ++next;
    if (next == positionals.size() || (positionals.size() - next) % 2 != 0)
        throw UsageError("the settings come as KEY VALUE pairs");
    std::vector<Change> changes;
    for (; next < positionals.size(); next += 2) {
        const std::string &key = positionals[next];
        changes.push_back({RecordOfKey(file, key, record), key, positionals[next + 1]});
    }
    return changes;
}

// Every value the editor's controls could not give is named; one of them refuses them all.
bool AllAccepted(
    const ConfigDocument &file, const std::string &path, const std::vector<Change> &changes, Io &io)
{
    bool accepted = true;
    for (const Change &change : changes) {
        if (file.IsAccepted(change.key, change.value))
            continue;
        Fail(io,
            Printable(path) + ": " + change.key + " \"" + Printable(change.value)
                + "\" refused: it takes " + file.AcceptedValues(change.key)
                + "; nothing was written");
        accepted = false;
    }
    return accepted;
}

int Set(const Arguments &args, Io &io)
{
    const std::string &path = args.positionals[0];
    Document document(KindOf(args.kind, path));
    const std::vector<Change> changes = ChangesOf(document.file(), args.positionals);
    if (!AllAccepted(document.file(), path, changes, io))
        return kFailed;
    const auto outcome = OpenFile(document, path, io, true, true);
    if (!outcome)
        return kFailed;
    for (const Change &change : changes)
        document.file().SetValue(change.record, change.key, change.value);
    return SaveBack(document, *outcome, args, io);
}

std::uint64_t SeedOf(const std::string &text)
{
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw UsageError("the seed \"" + text + "\" is no whole number from 0 to "
            + std::to_string(std::numeric_limits<std::uint64_t>::max()));
    return seed;
}

int Preset(const Arguments &args, Io &io)
{
    const std::vector<std::string> &positionals = args.positionals;
    Document document(KindOf(args.kind, positionals[0]));
    const std::optional<int> record = RecordNamed(document.file(), positionals[1]);
    if (!record)
        throw UsageError("\"" + positionals[1] + "\" names no record");
    std::string item = positionals[3];
    for (std::size_t i = 4; i < positionals.size(); ++i)
        item += " " + positionals[i];
    const std::string code = PresetCode(positionals[2], item);
    std::optional<voltara::FixedSeedRandom> seeded;
    if (args.seed)
        seeded.emplace(SeedOf(*args.seed));
    voltara::RandomSource &random =
        seeded ? static_cast<voltara::RandomSource &>(*seeded) : voltara::SystemRandom();
    if (!document.file().KnowsPreset(code))
        throw UsageError("a " + std::string(WordOf(document.file().Kind()))
            + " file knows only the preset \"all default\"");
    const auto outcome = OpenFile(document, positionals[0], io, true, true);
    if (!outcome)
        return kFailed;
    document.file().ApplyPreset(*record, code, random);
    return SaveBack(document, *outcome, args, io);
}

int New(const Arguments &args, Io &io)
{
    Document document(KindNamed(args.positionals[0]));
    document.file().LoadDefaults();
    const std::string target = args.output.value_or("-");
    if (target != "-" && Occupied(target) && !args.force) {
        Fail(io, Printable(target) + " already exists (--force replaces it)");
        return kFailed;
    }
    return WriteTo(document, target, io);
}

constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();

// clang-format off
const Command kCommands[] = {
    {"check", "FILE... [--kind KIND]", "print the messages the editor shows on reading each FILE",
     CheckDetails, kKindOption, 1, kAny, Check},
    {"fix", "FILE [-o OUT] [--force] [--kind KIND]", "write FILE as the editor's Save would",
     FixDetails, kKindOption | kOutputOption | kForceOption, 1, 1, Fix},
    {"get", "FILE [N [KEY]] [--json] [--kind KIND]", "print values",
     GetDetails, kKindOption | kJsonOption, 1, 3, Get},
    {"set", "FILE [N] KEY VALUE [KEY VALUE ...] [--force] [--kind KIND]", "change values and save",
     SetDetails, kKindOption | kForceOption, 3, kAny, Set},
    {"preset", "FILE N GROUP ITEM [--seed S] [--force] [--kind KIND]",
     "apply a Presets menu item and save",
     PresetDetails, kKindOption | kSeedOption | kForceOption, 4, kAny, Preset},
    {"new", "personality|superbot [-o OUT] [--force]", "write the default file",
     NewDetails, kOutputOption | kForceOption, 1, 1, New},
};
// clang-format on

const Command *CommandNamed(const std::string &name)
{
    for (const Command &command : kCommands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

std::string ProgramHelp()
{
    std::string text = "botcfg: the Voltara bot configuration files bot_personality.cfg and\n"
                       "sbot.cfg from the command line, read and written as the editors do.\n\n"
                       "usage: botcfg COMMAND ARGUMENTS [OPTIONS]\n\n";
    for (const Command &command : kCommands)
        text += "  botcfg " + std::string(command.name) + " " + command.arguments + "\n      "
            + command.summary + "\n";
    return text
        + "\nThe kind of FILE follows from its name (bot_personality.cfg or sbot.cfg), or\n"
          "from --kind personality|superbot, which wins. botcfg COMMAND --help describes a\n"
          "command; botcfg --version prints the version.\n\n"
        + kExitStatusText;
}

std::string UsageLine(const Command *command)
{
    if (!command)
        return "botcfg COMMAND ARGUMENTS [OPTIONS] (botcfg --help lists the commands)";
    return "botcfg " + std::string(command->name) + " " + command->arguments;
}

// The command a line names, even one that failed to parse, for its usage message.
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
}

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

int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    Io io {out, err};
    int status = kDone;
    try {
        status = RunParsed(ParseArguments(args), io);
    } catch (const UsageError &error) {
        io.err << "botcfg: " << Printable(error.what()) << "; usage: " << UsageLine(CommandIn(args))
               << '\n';
        return kUsage;
    } catch (const std::bad_alloc &) {
        Fail(io, "out of memory");
        return kFailed;
    } catch (const std::exception &error) {
        Fail(io, Printable(error.what()));
        return kFailed;
    }
    // What a command printed counts only once it has reached its reader.
    if (!io.out.flush()) {
        Fail(io, "standard output could not be written");
        return kFailed;
    }
    return status;
}

} // namespace botcfg
