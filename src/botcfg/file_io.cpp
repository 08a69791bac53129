#include "botcfg/file_io.h"

#include "botcfg/output.h"
#include "botcfg/unified_diff.h"
#include "core/config_file.h"
#include "core/messages.h"
#include "platform/files.h"
#include "platform/read.h"

#include <filesystem>

namespace botcfg {

namespace {

// The most a document given to apply may hold: what get --json writes for the largest file it
// reads, every byte escaped, with room to spare.
constexpr std::uint64_t kMaxInputBytes = 8 * voltara::kMaxConfigFileBytes;

// The bytes now at a path: empty where nothing is, nullopt (with the reason) where they cannot
// be read.
std::optional<std::string> BytesAt(const std::string &path, std::string &reason)
{
    std::string bytes;
    voltara::FileStamp stamp;
    switch (voltara::ReadFileBytes(path, voltara::kMaxConfigFileBytes, bytes, stamp, reason)) {
    case voltara::ReadStatus::Read:
        return bytes;
    case voltara::ReadStatus::NotRegular:
        return std::string();
    case voltara::ReadStatus::TooLarge:
        reason = "it holds " + std::to_string(stamp.size) + " bytes";
        return std::nullopt;
    case voltara::ReadStatus::Failed:
        break;
    }
    return std::nullopt;
}

int ShowDifference(const std::string &path, const std::string &bytes, Io &io)
{
    std::string reason;
    const std::optional<std::string> now = BytesAt(path, reason);
    if (!now) {
        Fail(io, Printable(path) + " could not be read to compare: " + Printable(OneLine(reason)));
        return kFailed;
    }
    const std::string label = Printable(path);
    io.out << UnifiedDiff(*now, bytes, "a/" + label, "b/" + label);
    return kDone;
}

bool HoldsAlready(const std::string &path, const std::string &bytes)
{
    std::string reason;
    const std::optional<std::string> now = BytesAt(path, reason);
    return now && voltara::IsNormalFile(path) && *now == bytes;
}

std::optional<std::string> ReadStandardInput(Io &io)
{
    std::string bytes;
    char buffer[1 << 16];
    while (bytes.size() <= kMaxInputBytes && io.in.read(buffer, sizeof buffer).gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(io.in.gcount()));
    if (io.in.bad()) {
        Fail(io, "standard input could not be read");
        return std::nullopt;
    }
    if (bytes.size() > kMaxInputBytes) {
        Fail(io,
            "standard input holds more than " + std::to_string(kMaxInputBytes)
                + " bytes, more than any document botcfg takes");
        return std::nullopt;
    }
    return bytes;
}

} // namespace

void Fail(Io &io, const std::string &text)
{
    io.err << "botcfg: " << text << '\n';
}

bool IsOtherThanRegularFile(const std::string &path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

bool Occupied(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

bool SameFile(const std::string &a, const std::string &b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

void MessageToErr(Io &io, const std::string &path, const Message &message)
{
    io.err << MessageLine(path, message) << '\n';
}

std::optional<voltara::ReadOutcome> OpenFile(
    Document &document, const std::string &path, Io &io, Purpose purpose, MessagePrinter print)
{
    if (IsOtherThanRegularFile(path)) {
        Fail(io, Printable(path) + " is not a regular file");
        return std::nullopt;
    }
    std::string reason;
    if (purpose != Purpose::Look && !document.Lock(path, reason)) {
        Fail(io, Printable(path) + ": " + Printable(OneLine(reason)) + "; nothing was written");
        return std::nullopt;
    }
    std::optional<voltara::ReadOutcome> outcome;
    if (voltara::IsNormalFile(path))
        outcome = document.Open(path);
    if (purpose == Purpose::Preview)
        document.Unlock();
    if (!outcome || *outcome == voltara::ReadOutcome::Missing) {
        Fail(io, voltara::messages::MissingFileLine(Printable(path)));
        return std::nullopt;
    }
    for (const Message &message : document.messages())
        print(io, path, message);
    if (*outcome == voltara::ReadOutcome::TooLarge)
        return std::nullopt;
    return outcome;
}

int WriteTo(const Document &document, const std::string &path, bool dry_run, Io &io)
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
    const std::string bytes = voltara::JoinedLines(document.file().Lines());
    if (dry_run)
        return ShowDifference(path, bytes, io);
    if (HoldsAlready(path, bytes))
        return kDone;
    std::string failure;
    if (document.Save(path, failure))
        return kDone;
    Fail(io, Printable(OneLine(failure)));
    return kFailed;
}

bool MayReplaceUnread(const std::string &target, voltara::ReadOutcome outcome,
    const Arguments &args, Io &io, const char *other_way)
{
    if (outcome != voltara::ReadOutcome::FailedBeforeRecords || args.force)
        return true;
    Fail(io,
        Printable(target)
            + " not saved: it could not be read before its first section, so saving would"
              " leave only default values in it (--force saves all the same"
            + other_way + ")");
    return false;
}

int SaveBack(const Document &document, voltara::ReadOutcome outcome, const Arguments &args, Io &io,
    const char *other_way)
{
    const auto target = document.file().SaveBackPath();
    if (!target) {
        Fail(io, "no file was read, so there is none to save back to");
        return kFailed;
    }
    if (!MayReplaceUnread(*target, outcome, args, io, other_way))
        return kFailed;
    return WriteTo(document, *target, args.dry_run, io);
}

std::optional<std::string> ReadInput(const std::string &name, Io &io)
{
    if (name == "-")
        return ReadStandardInput(io);
    std::string bytes;
    voltara::FileStamp stamp;
    std::string reason;
    switch (voltara::ReadFileBytes(name, kMaxInputBytes, bytes, stamp, reason)) {
    case voltara::ReadStatus::Read:
        return bytes;
    case voltara::ReadStatus::NotRegular:
        Fail(io,
            Occupied(name) ? Printable(name) + " is not a regular file"
                           : voltara::messages::MissingFileLine(Printable(name)));
        break;
    case voltara::ReadStatus::TooLarge:
        Fail(io,
            Printable(name) + " holds " + std::to_string(stamp.size) + " bytes, more than any"
                + " document botcfg takes (" + std::to_string(kMaxInputBytes) + ")");
        break;
    case voltara::ReadStatus::Failed:
        Fail(io, Printable(name) + " could not be read: " + Printable(OneLine(reason)));
        break;
    }
    return std::nullopt;
}

} // namespace botcfg
