// The journal of a write in place on POSIX (Linux): written and removed by the save, found,
// trusted or not, and copied into its file by the readers (journal.h has the steps).
#include "platform/posix/journal.h"

#include "platform/journal.h"
#include "platform/reasons.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace voltara {

namespace posix {

namespace {

constexpr long kXfsMagic = 0x58465342;
constexpr long kBtrfsMagic = 0x9123683E;

// The user's own folder for journals: $XDG_STATE_HOME/voltara, else ~/.local/state/voltara;
// empty where neither is set to an absolute path.
std::string StateFolder()
{
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return JoinPosix(state, "voltara");
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return JoinPosix(home, ".local/state/voltara");
    return {};
}

// Makes the folder and those above it that are missing, for the user alone. Each one made is
// synced into the folder above it, so that a journal in it cannot be lost with it.
bool MakeFolders(const std::string &path)
{
    for (std::size_t cut = path.find('/', 1);; cut = path.find('/', cut + 1)) {
        const std::string part = path.substr(0, cut);
        if (mkdir(part.c_str(), 0700) == 0) {
            const Fd above(open(FolderOf(part).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!above.IsOpen() || fsync(above.Get()) != 0)
                return false;
        } else if (errno != EEXIST) {
            return false;
        }
        if (cut == std::string::npos)
            return true;
    }
}

// Where the folder cannot be opened to be synced, the file's own sync commits its name on the
// file systems that log a name with the file (XFS, btrfs); elsewhere the whole file system is
// synced (ext2 and ext4 share one magic number, and only ext4's log commits the name).
int SyncNameThroughFile(int file)
{
    struct statfs system = {};
    if (fstatfs(file, &system) == 0
        && (static_cast<long>(system.f_type) == kXfsMagic
            || static_cast<long>(system.f_type) == kBtrfsMagic))
        return fsync(file);
    return syncfs(file);
}

// The journal lets those read it who may read the file: it takes the file's owner and group as
// far as this process may give them, and the file's permissions, less those of a group it could
// not take.
void ShareLikeFile(int fd, const struct stat &file)
{
    if (fchown(fd, file.st_uid, file.st_gid) != 0) {
        [[maybe_unused]] const int group_only = fchown(fd, static_cast<uid_t>(-1), file.st_gid);
    }
    struct stat now = {};
    if (fstat(fd, &now) != 0)
        return;
    mode_t mode = file.st_mode & 0666;
    if (now.st_uid == geteuid())
        mode |= 0600;
    if (now.st_gid != file.st_gid)
        mode &= ~static_cast<mode_t>(070);
    fchmod(fd, mode);
}

// A new journal beside the file, where its folder takes new files (a test may have it refuse).
bool OpenBeside(const Target &target, const struct stat &info, Journal &journal)
{
    journal.name = detail::JournalNameBeside(target.name);
    if (journal.name.empty() || Injected(SaveStep::CreateTemporary))
        return false;
    journal.fd = Fd(openat(target.folder.Get(), journal.name.c_str(),
        O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!journal.fd.IsOpen())
        return false;
    journal.folder = Fd(dup(target.folder.Get()));
    journal.folder_readable = target.folder_readable;
    journal.folder_path = target.folder_path;
    ShareLikeFile(journal.fd.Get(), info);
    return true;
}

// A new journal in the user's own folder, named after the file's whole path.
bool OpenElsewhere(const std::string &file, Journal &journal, std::string &reason)
{
    journal.folder_path = StateFolder();
    if (journal.folder_path.empty()) {
        reason = reasons::kNoJournalFolder;
        return false;
    }
    journal.name = detail::JournalNameElsewhere(file);
    if (MakeFolders(journal.folder_path))
        journal.folder = Fd(open(journal.folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    journal.folder_readable = journal.folder.IsOpen();
    if (journal.folder.IsOpen())
        journal.fd = Fd(openat(journal.folder.Get(), journal.name.c_str(),
            O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!journal.fd.IsOpen())
        reason = ErrorText(errno);
    return journal.fd.IsOpen();
}

// Trusted with a file: a journal of this process's user, of the administrator, or of the file's
// owner; anyone else may have put it there to have their bytes written into the file.
bool Trusted(const struct stat &journal, const std::string &file)
{
    struct stat info = {};
    return journal.st_uid == geteuid() || journal.st_uid == 0
        || (stat(file.c_str(), &info) == 0 && journal.st_uid == info.st_uid);
}

// Opens the file to be rewritten: for writing, or where that is refused for reading only, so
// that a file already whole needs no right to write it. fd is closed where neither works.
int OpenToRewrite(const std::string &file, Fd &fd)
{
    fd = Fd(open(file.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.IsOpen())
        return 0;
    const int error = errno;
    if (error == EACCES || error == EPERM || error == EROFS)
        fd = Fd(open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    return error;
}

} // namespace

bool WriteJournal(const Target &target, const struct stat &info, std::string_view bytes,
    Journal &journal, std::string &reason)
{
    if (bytes.size() > detail::kMaxJournalBytes) {
        reason = ErrorText(EFBIG);
        return false;
    }
    const detail::JournalRecord record {static_cast<std::uint64_t>(info.st_dev),
        static_cast<std::uint64_t>(info.st_ino), RealPath(target.Path()), std::string(bytes)};
    if (!OpenBeside(target, info, journal) && !OpenElsewhere(record.file, journal, reason))
        return false;
    const bool synced = WriteAll(journal.fd.Get(), detail::EncodeJournal(record), 0)
        && fsync(journal.fd.Get()) == 0;
    if (synced
        && SyncFolderOf(journal.folder_readable ? journal.folder.Get() : -1, journal.folder_path,
            journal.fd.Get(), reason))
        return true;
    if (!synced)
        reason = ErrorText(errno);
    DropJournal(journal);
    return false;
}

void DropJournal(Journal &journal)
{
    if (!journal.fd.IsOpen())
        return;
    unlinkat(journal.folder.Get(), journal.name.c_str(), 0);
    std::string ignored;
    SyncFolderOf(journal.folder_readable ? journal.folder.Get() : -1, journal.folder_path,
        journal.fd.Get(), ignored);
    journal.fd.Reset();
}

bool SyncFolderOf(int folder, const std::string &folder_path, int file, std::string &reason)
{
    Fd reopened;
    if (folder < 0) {
        reopened = Fd(open(folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        folder = reopened.Get();
    }
    if (Injected(SaveStep::SyncFolder)) {
        reason = ErrorText(errno);
        return false;
    }
    if (folder < 0 ? SyncNameThroughFile(file) == 0 : fsync(folder) == 0)
        return true;
    // File systems that cannot sync a folder say so.
    if (folder >= 0 && (errno == EINVAL || errno == EROFS || errno == EOPNOTSUPP))
        return true;
    reason = ErrorText(errno);
    return false;
}

} // namespace posix

using namespace posix;

namespace detail {

std::vector<std::string> JournalsOf(const std::string &file)
{
    std::vector<std::string> found;
    struct stat info = {};
    const std::string beside = JournalNameBeside(NameOf(file));
    if (!beside.empty() && lstat(JoinPosix(FolderOf(file), beside).c_str(), &info) == 0)
        found.push_back(JoinPosix(FolderOf(file), beside));
    const std::string folder = StateFolder();
    const std::string elsewhere = JoinPosix(folder, JournalNameElsewhere(file));
    if (!folder.empty() && lstat(elsewhere.c_str(), &info) == 0)
        found.push_back(elsewhere);
    return found;
}

JournalRead ReadJournal(
    const std::string &journal, const std::string &file, std::string &data, std::string &reason)
{
    Fd fd(open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info = {};
    if (!fd.IsOpen()) {
        const int error = errno;
        if (error == ENOENT)
            return JournalRead::Missing;
        if (lstat(journal.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !Trusted(info, file))
            return JournalRead::Ignored;
        reason = ErrorText(error);
        return JournalRead::Failed;
    }
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || !Trusted(info, file)
        || static_cast<std::uint64_t>(info.st_size) > kMaxJournalBytes + 2 * PATH_MAX)
        return JournalRead::Ignored;
    if (ReadAll(fd.Get(), data, static_cast<std::size_t>(info.st_size) + 1))
        return JournalRead::Read;
    reason = ErrorText(errno);
    return JournalRead::Failed;
}

void RemoveJournal(const std::string &journal)
{
    if (unlink(journal.c_str()) != 0)
        return;
    Fd folder(open(FolderOf(journal).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.IsOpen())
        fsync(folder.Get());
}

bool RewriteFile(const std::string &file, std::uint64_t device, std::uint64_t inode,
    std::string_view bytes, std::string &reason)
{
    Fd fd;
    const int refused = OpenToRewrite(file, fd);
    struct stat info = {};
    std::string now;
    if (!fd.IsOpen() || fstat(fd.Get(), &info) != 0) {
        reason = ErrorText(refused ? refused : errno);
        return false;
    }
    // Another save may have replaced it meanwhile; the journal is not for that one.
    if (!S_ISREG(info.st_mode) || info.st_dev != device || info.st_ino != inode)
        return true;
    if (ReadAll(fd.Get(), now, bytes.size() + 1) && now == bytes)
        return true;
    if (refused == 0 && WriteAll(fd.Get(), bytes, 0)
        && ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) == 0 && fsync(fd.Get()) == 0)
        return true;
    reason = ErrorText(refused ? refused : errno);
    return false;
}

} // namespace detail

} // namespace voltara
