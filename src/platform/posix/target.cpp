// Where a POSIX save lands: links followed one at a time, as the kernel would follow them.
#include "platform/posix/target.h"

#include "platform/reasons.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace voltara::posix {

namespace {

bool OpenFolder(Target &target, std::string &reason)
{
    target.folder = Fd(open(target.folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    target.folder_readable = target.folder.IsOpen();
    if (!target.folder.IsOpen() && errno == EACCES)
        target.folder = Fd(open(target.folder_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!target.folder.IsOpen())
        reason = ErrorText(errno);
    return target.folder.IsOpen();
}

// The kernel's rule for links in a sticky folder that everyone may write (fs.protected_symlinks):
// only the link's owner and the folder's owner follow them, so that nobody can plant a link
// there that leads another user's save elsewhere.
bool MayFollow(const Target &target, const struct stat &link)
{
    struct stat folder = {};
    if (fstat(target.folder.Get(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

// The next path along the link at the target; false with the reason where it is not followed.
bool FollowLink(Target &target, const struct stat &link, std::string &next, std::string &reason)
{
    if (!MayFollow(target, link)) {
        reason = reasons::kProtectedLink;
        return false;
    }
    // What the kernel finds at the link's end: a pipe or a device (/dev/stdout, say) is refused
    // here, where the text of a link of /proc would lead nowhere.
    struct stat end = {};
    if (fstatat(target.folder.Get(), target.name.c_str(), &end, 0) == 0 && !S_ISREG(end.st_mode)
        && !S_ISDIR(end.st_mode)) {
        reason = reasons::kNotRegular;
        return false;
    }
    char buffer[PATH_MAX];
    const ssize_t length =
        readlinkat(target.folder.Get(), target.name.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof buffer) {
        reason = ErrorText(length < 0 ? errno : ENAMETOOLONG);
        return false;
    }
    const std::string text(buffer, static_cast<std::size_t>(length));
    next = text.front() == '/' ? text : JoinPosix(target.folder_path, text);
    return true;
}

} // namespace

bool ResolveTarget(const std::string &path, Target &target, std::string &reason)
{
    std::string current = path;
    for (int hops = 0; hops <= 40; ++hops) {
        target.folder_path = FolderOf(current);
        target.name = NameOf(current);
        if (target.name.empty() || target.name == "." || target.name == "..") {
            reason = ErrorText(EISDIR);
            return false;
        }
        if (!OpenFolder(target, reason))
            return false;
        struct stat info = {};
        if (fstatat(target.folder.Get(), target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            target.exists = false;
            if (errno == ENOENT)
                return true;
            reason = ErrorText(errno);
            return false;
        }
        if (!S_ISLNK(info.st_mode)) {
            target.exists = true;
            target.info = info;
            return true;
        }
        if (!FollowLink(target, info, current, reason))
            return false;
    }
    reason = ErrorText(ELOOP);
    return false;
}

// Only regular files are replaced or written; a file marked read-only stays as it is, even for
// a user who could override the mark, and reads as the system's refusal would for anyone else.
bool CheckTarget(const Target &target, std::string &reason)
{
    if (!target.exists)
        return true;
    if (S_ISDIR(target.info.st_mode)) {
        reason = ErrorText(EISDIR);
        return false;
    }
    if (!S_ISREG(target.info.st_mode)) {
        reason = reasons::kNotRegular;
        return false;
    }
    if ((target.info.st_mode & 0222) == 0) {
        reason = ErrorText(EACCES);
        return false;
    }
    if (faccessat(target.folder.Get(), target.name.c_str(), W_OK, AT_EACCESS) != 0) {
        reason = ErrorText(errno);
        return false;
    }
    return true;
}

// Looks at the target again once the lock is held: another writer may have replaced it.
bool RefreshTarget(Target &target, std::string &reason)
{
    struct stat info = {};
    target.exists =
        fstatat(target.folder.Get(), target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    if (target.exists && S_ISLNK(info.st_mode)) {
        reason = ErrorText(ELOOP);
        return false;
    }
    target.info = info;
    return CheckTarget(target, reason);
}

} // namespace voltara::posix
