// The commands that only read: check, get and diff.
#include "botcfg/handlers.h"
#include "botcfg/names.h"
#include "botcfg/output.h"

#include <vector>

namespace botcfg {

namespace {

using voltara::ConfigDocument;
using voltara::ReadOutcome;

void MessageToOut(Io &io, const std::string &path, const Message &message)
{
    io.out << MessageLine(path, message) << '\n';
}

// {"file": ..., "line": ..., "text": ...} on one line, the line null where none is to blame.
void MessageToOutAsJson(Io &io, const std::string &path, const Message &message)
{
    io.out << "{\"file\": " << JsonString(path)
           << ", \"line\": " << (message.line ? std::to_string(message.line) : "null")
           << ", \"text\": " << JsonString(OneLine(message.text)) << "}\n";
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

// Reads a file whose values are wanted: one that could not be read before its first section
// holds none of its own.
bool OpenForValues(Document &document, const std::string &path, Io &io)
{
    const auto outcome = OpenFile(document, path, io);
    if (!outcome)
        return false;
    if (*outcome == ReadOutcome::FailedBeforeRecords) {
        Fail(io, Printable(path) + " could not be read before its first section");
        return false;
    }
    return true;
}

// diff's exit status, as diff(1) has it.
enum DiffStatus { kAlike = 0, kDifferent = 1, kTrouble = 2 };

// One setting that two files hold differently.
struct Difference
{
    int record; // 0: a general option
    std::string key;
    std::string a;
    std::string b;
};

// The differing settings in the order the editor's Save writes them.
std::vector<Difference> Differences(const ConfigDocument &a, const ConfigDocument &b)
{
    std::vector<Difference> differences;
    for (int record = 0; record <= a.RecordCount(); ++record) {
        for (const std::string &key : a.Keys(record)) {
            std::string value_a = a.Value(record, key);
            std::string value_b = b.Value(record, key);
            if (value_a != value_b)
                differences.push_back({record, key, std::move(value_a), std::move(value_b)});
        }
    }
    return differences;
}

void PrintDifferences(
    const ConfigDocument &file, const std::vector<Difference> &differences, std::ostream &out)
{
    for (const Difference &difference : differences) {
        if (difference.record != 0)
            out << RecordArgument(file, difference.record) << ' ';
        out << difference.key << ": " << Printable(difference.a) << " -> "
            << Printable(difference.b) << '\n';
    }
}

void PrintDifferencesAsJson(
    const ConfigDocument &file, const std::vector<Difference> &differences, std::ostream &out)
{
    out << '[';
    const char *separator = "\n";
    for (const Difference &difference : differences) {
        const std::string record =
            difference.record ? JsonString(RecordArgument(file, difference.record)) : "null";
        out << separator << "  {\"record\": " << record
            << ", \"key\": " << JsonString(difference.key)
            << ", \"a\": " << JsonString(difference.a) << ", \"b\": " << JsonString(difference.b)
            << '}';
        separator = ",\n";
    }
    out << (differences.empty() ? "]\n" : "\n]\n");
}

} // namespace

int Check(const Arguments &args, Io &io)
{
    std::vector<voltara::ConfigKind> kinds;
    for (const std::string &path : args.positionals)
        kinds.push_back(KindOf(args.kind, path));
    int status = kDone;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        Document document(kinds[i]);
        const auto outcome = OpenFile(document, args.positionals[i], io, Purpose::Look,
            args.json ? MessageToOutAsJson : MessageToOut);
        if (!outcome || !document.messages().empty())
            status = kFailed;
    }
    return status;
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
    if (!OpenForValues(document, positionals[0], io))
        return kFailed;
    PrintSelection(document, positionals, record, args.json, io.out);
    return kDone;
}

int Diff(const Arguments &args, Io &io)
{
    const std::string &path_a = args.positionals[0];
    const std::string &path_b = args.positionals[1];
    const voltara::ConfigKind kind = KindOfBoth(args.kind, path_a, path_b);
    Document a(kind);
    Document b(kind);
    // Both are read, so that the messages of both are seen in one run.
    const bool read_a = OpenForValues(a, path_a, io);
    const bool read_b = OpenForValues(b, path_b, io);
    if (!read_a || !read_b)
        return kTrouble;
    const std::vector<Difference> differences = Differences(a.file(), b.file());
    if (args.json)
        PrintDifferencesAsJson(a.file(), differences, io.out);
    else
        PrintDifferences(a.file(), differences, io.out);
    return differences.empty() ? kAlike : kDifferent;
}

} // namespace botcfg
