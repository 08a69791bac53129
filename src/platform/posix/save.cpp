// The save on POSIX (Linux): the steps of SaveFile (save.h), one small step at a time.
#include "platform/detail.h"
#include "platform/posix/fd.h"
#include "platform/posix/journal.h"
#include "platform/posix/target.h"
#include "platform/reasons.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace voltara {

using detail::HasInnerNul;
using namespace posix;

namespace {

// How much of the old file a write in place keeps in memory to put back on failure, at least:
// all of any configuration file.
constexpr std::size_t kInPlaceKeptBytes = 1 << 20;

// A few fixed names come first where this process may not list the folder: a temporary file
// that a killed save left there can then still be found by its name.
constexpr int kGuessableNames = 4;

std::string TemporaryNameFor(const Target &target, int attempt)
{
    if (!target.folder_readable && attempt < kGuessableNames)
        return detail::TemporaryName(target.name, static_cast<unsigned>(attempt));
    return detail::TemporaryName(target.name);
}

// A save holds the lock of its temporary file from its making to the replacement: one whose
// lock can be taken was left by a save that ended, however it ended, whoever saved it.
void RemoveIfStale(const Target &target, const char *name)
{
    struct stat info = {};
    if (fstatat(target.folder.Get(), name, &info, AT_SYMLINK_NOFOLLOW) != 0
        || !S_ISREG(info.st_mode))
        return;
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    Fd fd(openat(target.folder.Get(), name, O_RDONLY | kFlags));
    if (!fd.IsOpen() && errno == EACCES)
        fd = Fd(openat(target.folder.Get(), name, O_WRONLY | kFlags));
    if (fd.IsOpen() && flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
        unlinkat(target.folder.Get(), name, 0);
}

// What killed saves of this target left beside it: every temporary file of its name that no save
// holds.
void RemoveStaleTemporaries(const Target &target)
{
    if (!target.folder_readable) {
        for (int n = 0; n < kGuessableNames; ++n)
            RemoveIfStale(target, TemporaryNameFor(target, n).c_str());
        return;
    }
    DIR *folder = fdopendir(dup(target.folder.Get()));
    if (!folder)
        return;
    rewinddir(folder);
    while (const dirent *entry = readdir(folder)) {
        if (detail::IsTemporaryNameOf(entry->d_name, target.name))
            RemoveIfStale(target, entry->d_name);
    }
    closedir(folder);
}

// The new file's bytes: a file without a name where the system offers one (it vanishes with
// a save that dies), given a name just before it takes the target's place.
struct Temporary
{
    Fd fd;
    std::string name; // empty while it has none
};

bool CreateTemporary(const Target &target, Temporary &temporary, bool anonymous)
{
    if (Injected(SaveStep::CreateTemporary))
        return false;
    // An existing file's bytes are the owner's alone until its permissions are copied; a new
    // file gets the usual ones from the system's file-creation mask.
    const mode_t mode = target.exists ? 0600 : 0666;
    if (anonymous)
        temporary.fd = Fd(openat(target.folder.Get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    for (int attempt = 0; !anonymous && attempt < 100; ++attempt) {
        temporary.name = TemporaryNameFor(target, attempt);
        temporary.fd = Fd(openat(target.folder.Get(), temporary.name.c_str(),
            O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, mode));
        if (temporary.fd.IsOpen() || errno != EEXIST)
            break;
    }
    if (!temporary.fd.IsOpen()) {
        temporary.name.clear();
        return false;
    }
    // Held until the replacement: the next save tells by it a file in use from one left behind.
    flock(temporary.fd.Get(), LOCK_EX | LOCK_NB);
    return true;
}

// A folder that refuses new files; a plain write of an existing file may still be allowed.
bool IsRefusal(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// File systems that offer no nameless files say so in one of these ways.
bool IsUnsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOENT;
}

// The names of a file's extended attributes, from the list the system gives.
std::vector<std::string> AttributeNames(const char *list, ssize_t length)
{
    std::vector<std::string> names;
    for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(names.back().size()) + 1)
        names.emplace_back(list + at);
    return names;
}

// Every extended attribute of the old file (its access list among them) on the new one, and
// none that the old one lacks (such as the access list a folder gives every new file), as far
// as the process may set them.
void CopyExtendedAttributes(const std::string &old_file, int fd)
{
    std::vector<char> list(64 * 1024);
    std::vector<char> value(64 * 1024);
    const std::vector<std::string> old_names =
        AttributeNames(list.data(), llistxattr(old_file.c_str(), list.data(), list.size()));
    for (const std::string &name : old_names) {
        const ssize_t size = lgetxattr(old_file.c_str(), name.c_str(), value.data(), value.size());
        if (size >= 0)
            fsetxattr(fd, name.c_str(), value.data(), static_cast<std::size_t>(size), 0);
    }
    for (const std::string &name :
        AttributeNames(list.data(), flistxattr(fd, list.data(), list.size()))) {
        if (std::find(old_names.begin(), old_names.end(), name) == old_names.end())
            fremovexattr(fd, name.c_str());
    }
}

enum class Kept { All, NotTheGroup, Failed };

// Owner (or at least group), extended attributes and permissions of the old file on the new
// one, in that order: a change of owner clears the set-user-id and set-group-id bits, and an
// access list sets the group bits.
Kept KeepAttributes(const Target &target, int fd)
{
    const struct stat &old = target.info;
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int group_only = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    struct stat now = {};
    if (fstat(fd, &now) != 0)
        return Kept::Failed;
    if (now.st_gid != old.st_gid)
        return Kept::NotTheGroup;
    CopyExtendedAttributes(target.Path(), fd);
    if (Injected(SaveStep::KeepAttributes) || fchmod(fd, old.st_mode & 07777) != 0)
        return Kept::Failed;
    return Kept::All;
}

// Gives a nameless temporary file its name beside the target, through /proc where the
// process may not link by descriptor.
bool NameTemporary(const Target &target, Temporary &temporary)
{
    if (!temporary.name.empty())
        return true;
    const std::string self = "/proc/self/fd/" + std::to_string(temporary.fd.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryNameFor(target, attempt);
        if (linkat(AT_FDCWD, self.c_str(), target.folder.Get(), name.c_str(), AT_SYMLINK_FOLLOW)
                == 0
            || linkat(temporary.fd.Get(), "", target.folder.Get(), name.c_str(), AT_EMPTY_PATH)
                == 0) {
            temporary.name = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void RemoveTemporary(const Target &target, Temporary &temporary)
{
    temporary.fd.Reset();
    if (!temporary.name.empty())
        unlinkat(target.folder.Get(), temporary.name.c_str(), 0);
    temporary.name.clear();
}

// A replacement the system refuses where it may still allow a plain write of the file: a file
// bind-mounted over the target, another user's file in a sticky folder, another file system.
bool IsReplaceRefusal(int error)
{
    return error == EBUSY || error == EPERM || error == EXDEV || error == EACCES;
}

// The folder holds the new name only once it is synced: until then a power loss could bring
// the old file back after the success was shown. file is the renamed file, which commits the
// name where the folder cannot be opened to be synced.
bool SyncFolder(const Target &target, int file, std::string &reason)
{
    return SyncFolderOf(
        target.folder_readable ? target.folder.Get() : -1, target.folder_path, file, reason);
}

// The regular file at the target, opened for reading back and writing; -1 with the reason
// for anything else.
Fd OpenInPlace(const Target &target, struct stat &info, std::string &reason)
{
    Fd fd(openat(target.folder.Get(), target.name.c_str(),
        O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen() || fstat(fd.Get(), &info) != 0) {
        reason = ErrorText(errno);
        return Fd();
    }
    if (!S_ISREG(info.st_mode)) {
        reason = reasons::kNotRegular;
        return Fd();
    }
    return fd;
}

// Puts the old bytes back after a failed write in place; the text to add to the reason when
// even that fails. Where only the start of a large file was kept, the rest is whole as long as
// the file was not cut yet.
std::string PutBack(int fd, const std::string &old_bytes, std::size_t old_size, bool truncated)
{
    if (WriteAll(fd, old_bytes, 0)
        && (old_bytes.size() == old_size ? ftruncate(fd, static_cast<off_t>(old_size)) == 0
                                         : !truncated)
        && fsync(fd) == 0)
        return {};
    return " (the old contents could not be put back: " + ErrorText(errno) + ")";
}

// The file at the target opened for a write in place, and the old bytes that the new ones cover
// (all of them, for a file of a configuration file's size) read into memory; a closed Fd, with
// the reason, where that fails.
Fd OpenAndKeep(const Target &target, std::size_t new_size, struct stat &info,
    std::string &old_bytes, std::string &reason)
{
    Fd fd = OpenInPlace(target, info, reason);
    const auto old_size = static_cast<std::size_t>(info.st_size);
    const std::size_t kept = std::min(old_size, std::max(new_size, kInPlaceKeptBytes));
    if (fd.IsOpen() && !ReadAll(fd.Get(), old_bytes, kept)) {
        reason = ErrorText(errno);
        fd.Reset();
    }
    return fd;
}

// The plain write, where the system refuses a new file or the replacement. The new bytes go to a
// journal first, synced with its folder, so that a save cut short at any moment is completed by
// the next reader; a write that fails puts back the old bytes kept in memory, and only then is
// the journal removed.
bool WriteInPlace(
    const Target &target, std::string_view bytes, FileStamp &written, std::string &reason)
{
    struct stat info = {};
    std::string old_bytes;
    Fd fd = OpenAndKeep(target, bytes.size(), info, old_bytes, reason);
    Journal journal;
    if (!fd.IsOpen() || !WriteJournal(target, info, bytes, journal, reason))
        return false;
    bool truncated = false;
    bool ok = WriteBytes(fd.Get(), bytes, SaveStep::WriteInPlace)
        && (truncated = ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) == 0)
        && !Injected(SaveStep::Sync) && fsync(fd.Get()) == 0;
    int error = errno;
    if (!ok && Injected(SaveStep::CutShort)) {
        reason = ErrorText(error);
        return false;
    }
    const std::string restore_failure = ok
        ? std::string()
        : PutBack(fd.Get(), old_bytes, static_cast<std::size_t>(info.st_size), truncated);
    // A journal whose old bytes could not be put back completes the file with the new ones.
    if (restore_failure.empty())
        DropJournal(journal);
    if (ok && fstat(fd.Get(), &info) == 0)
        written = StampFrom(info, RealPath(target.Path()));
    if (!fd.Close() && ok) {
        ok = false;
        error = errno;
    }
    if (!ok)
        reason = ErrorText(error) + restore_failure;
    return ok;
}

using detail::Replacement;

// The bytes, the target's attributes and a sync; false with errno set. kept says whether a
// failure was the keeping of attributes.
bool FillTemporary(
    const Target &target, int fd, std::string_view bytes, Kept &kept, struct stat &info)
{
    if (!WriteBytes(fd, bytes, SaveStep::Write))
        return false;
    if (target.exists && (kept = KeepAttributes(target, fd)) != Kept::All)
        return false;
    return !Injected(SaveStep::Sync) && fsync(fd) == 0 && fstat(fd, &info) == 0;
}

// The temporary file, filled and named beside the target; false with errno set. kept says
// whether a failure was the keeping of attributes.
bool PrepareTemporary(const Target &target, std::string_view bytes, Temporary &temporary,
    Kept &kept, struct stat &info)
{
    if (!FillTemporary(target, temporary.fd.Get(), bytes, kept, info))
        return false;
    if (NameTemporary(target, temporary))
        return true;
    // The nameless file could not be given a name: a named one takes its place.
    RemoveTemporary(target, temporary);
    return CreateTemporary(target, temporary, false)
        && FillTemporary(target, temporary.fd.Get(), bytes, kept, info);
}

// The named temporary file takes the target's place; the lock of the temporary file stays held
// through held until the name is durable. False with errno set.
bool Rename(const Target &target, Temporary &temporary, Fd &held)
{
    held = Fd(dup(temporary.fd.Get()));
    if (!held.IsOpen() || !temporary.fd.Close())
        return false;
    return !Injected(SaveStep::Replace)
        && renameat(target.folder.Get(), temporary.name.c_str(), target.folder.Get(),
               target.name.c_str())
        == 0;
}

// The bytes into a temporary file that then takes the target's place; InPlace where the system
// refused a step that a plain write of the file would not need, or where the file has more than
// one name, so that every name sees the new bytes.
Replacement ReplaceTarget(
    const Target &target, std::string_view bytes, FileStamp &written, std::string &reason)
{
    if (target.exists && target.info.st_nlink > 1)
        return Replacement::InPlace;
    Temporary temporary;
    bool created = CreateTemporary(target, temporary, true);
    if (!created && IsUnsupported(errno))
        created = CreateTemporary(target, temporary, false);
    bool in_place = !created && target.exists && IsRefusal(errno);
    Kept kept = Kept::All;
    struct stat info = {};
    Fd held;
    const bool prepared = created && PrepareTemporary(target, bytes, temporary, kept, info);
    if (!prepared || !Rename(target, temporary, held)) {
        const int error = errno;
        in_place = in_place || (prepared && target.exists && IsReplaceRefusal(error));
        RemoveTemporary(target, temporary);
        if (in_place || kept != Kept::All)
            return Replacement::InPlace;
        reason = ErrorText(error);
        return Replacement::Failed;
    }
    written = StampFrom(info, RealPath(target.Path()));
    return SyncFolder(target, held.Get(), reason) ? Replacement::Done : Replacement::Failed;
}

} // namespace

namespace detail {

namespace {

class PosixTarget : public SaveTarget
{
public:
    explicit PosixTarget(Target target)
        : target_(std::move(target))
    {
    }
    std::string LockPath() const override { return target_.Path(); }
    bool Refresh(std::string &reason) override { return RefreshTarget(target_, reason); }
    std::optional<FileStamp> Stamp() const override
    {
        if (!target_.exists)
            return std::nullopt;
        return StampFrom(target_.info, RealPath(target_.Path()));
    }
    void RemoveStaleTemporaries() override { voltara::RemoveStaleTemporaries(target_); }
    Replacement Replace(std::string_view bytes, FileStamp &written, std::string &reason) override
    {
        return ReplaceTarget(target_, bytes, written, reason);
    }
    bool WriteInPlace(std::string_view bytes, FileStamp &written, std::string &reason) override
    {
        return voltara::WriteInPlace(target_, bytes, written, reason);
    }

private:
    Target target_;
};

} // namespace

std::unique_ptr<SaveTarget> FindSaveTarget(const std::string &path, std::string &reason)
{
    Target target;
    if (HasInnerNul(path)) {
        reason = ErrorText(EINVAL);
        return nullptr;
    }
    if (!ResolveTarget(path, target, reason) || !CheckTarget(target, reason))
        return nullptr;
    return std::make_unique<PosixTarget>(std::move(target));
}

} // namespace detail

} // namespace voltara
