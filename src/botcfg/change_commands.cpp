// The commands that write a file: fix, set, preset, apply and new.
#include "botcfg/changes.h"
#include "botcfg/handlers.h"
#include "botcfg/json_reader.h"
#include "botcfg/names.h"
#include "botcfg/output.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace botcfg {

namespace {

Purpose PurposeOf(const Arguments &args)
{
    return args.dry_run ? Purpose::Preview : Purpose::Change;
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

// The changes that apply's document asks for, read and checked before FILE is touched: a
// document from standard input may take its time, and no lock is held meanwhile.
std::optional<std::vector<Change>> DocumentChanges(
    const voltara::ConfigDocument &file, std::optional<int> record, const std::string &name, Io &io)
{
    const std::optional<std::string> bytes = ReadInput(name, io);
    if (!bytes)
        return std::nullopt;
    const std::string label = name == "-" ? "standard input" : Printable(name);
    try {
        return ChangesOfDocument(file, json::Parse(*bytes), record, label, io);
    } catch (const json::ParseError &error) {
        Fail(io,
            label + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) + ": "
                + error.what() + "; nothing was written");
        return std::nullopt;
    }
}

} // namespace

int Fix(const Arguments &args, Io &io)
{
    const std::string &path = args.positionals[0];
    Document document(KindOf(args.kind, path));
    const auto outcome = OpenFile(document, path, io, PurposeOf(args));
    if (!outcome)
        return kFailed;
    // An output that leads back to the file is a save over it, whatever its name.
    if (args.output && *args.output != "-" && SameFile(path, *args.output)
        && !MayReplaceUnread(*args.output, *outcome, args, io))
        return kFailed;
    if (args.output)
        return WriteTo(document, *args.output, args.dry_run, io);
    return SaveBack(document, *outcome, args, io, ", -o OUT writes elsewhere");
}

int Set(const Arguments &args, Io &io)
{
    const std::string &path = args.positionals[0];
    Document document(KindOf(args.kind, path));
    const std::vector<Change> changes = ChangesOf(document.file(), args.positionals);
    if (!AllAccepted(document.file(), path, changes, io))
        return kFailed;
    const auto outcome = OpenFile(document, path, io, PurposeOf(args));
    if (!outcome)
        return kFailed;
    for (const Change &change : changes)
        document.file().SetValue(change.record, change.key, change.value);
    return SaveBack(document, *outcome, args, io);
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
    const auto outcome = OpenFile(document, positionals[0], io, PurposeOf(args));
    if (!outcome)
        return kFailed;
    document.file().ApplyPreset(*record, code, random);
    return SaveBack(document, *outcome, args, io);
}

int Apply(const Arguments &args, Io &io)
{
    const std::vector<std::string> &positionals = args.positionals;
    const std::string &path = positionals[0];
    Document document(KindOf(args.kind, path));
    std::optional<int> record;
    if (positionals.size() == 3 && !(record = RecordNamed(document.file(), positionals[1])))
        throw UsageError("\"" + positionals[1] + "\" names no record");
    std::optional<std::vector<Change>> changes =
        DocumentChanges(document.file(), record, positionals.back(), io);
    if (!changes)
        return kFailed;
    const auto outcome = OpenFile(document, path, io, PurposeOf(args));
    if (!outcome)
        return kFailed;
    DropUnchanged(document.file(), *changes);
    if (!AllAccepted(document.file(), path, *changes, io, true))
        return kFailed;
    for (const Change &change : *changes)
        document.file().SetValue(change.record, change.key, change.value);
    return SaveBack(document, *outcome, args, io);
}

int New(const Arguments &args, Io &io)
{
    Document document(KindNamed(args.positionals[0]));
    document.file().LoadDefaults();
    const std::string target = args.output.value_or("-");
    // A pipe or a device is no file to replace, with --force or without: say so first.
    if (target != "-" && IsOtherThanRegularFile(target))
        return WriteTo(document, target, false, io);
    if (target != "-" && Occupied(target) && !args.force) {
        Fail(io, Printable(target) + " already exists (--force replaces it)");
        return kFailed;
    }
    return WriteTo(document, target, false, io);
}

} // namespace botcfg
