// The POSIX part of the platform layer (Linux): the program's folder, the normal-file test,
// stamps, opening files for the bounded reads and the calls of the writers' lock. The save
// itself is in save.cpp beside this file.
#include "platform/files.h"

#include "platform/detail.h"
#include "platform/posix/fd.h"
#include "platform/reasons.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace voltara {

namespace posix {

std::string ErrorText(int error)
{
    return std::strerror(error);
}

bool Injected(SaveStep step, std::size_t *after)
{
    const SaveFault fault = detail::InjectedFault(step);
    if (fault.error == 0)
        return false;
    errno = fault.error;
    if (after)
        *after = fault.after;
    return true;
}

std::string FolderOf(const std::string &path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string NameOf(const std::string &path)
{
    const std::size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string JoinPosix(const std::string &folder, const std::string &name)
{
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

std::string RealPath(const std::string &path)
{
    char *real = realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string result = real;
    std::free(real);
    return result;
}

FileStamp StampFrom(const struct stat &info, std::string file)
{
    FileStamp stamp;
    stamp.file = std::move(file);
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modified =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

int OpenForReading(const std::string &path)
{
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

Fd OpenRegularForReading(const std::string &path, struct stat &info, int &error)
{
    Fd fd(detail::HasInnerNul(path) ? -1 : OpenForReading(path));
    if (!fd.IsOpen() || fstat(fd.Get(), &info) != 0) {
        error = detail::HasInnerNul(path) ? ENOENT : errno;
        return Fd();
    }
    if (!S_ISREG(info.st_mode)) {
        error = 0;
        return Fd();
    }
    return fd;
}

bool WriteAll(int fd, std::string_view bytes, off_t offset)
{
    while (!bytes.empty()) {
        const ssize_t written = pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

bool WriteBytes(int fd, std::string_view bytes, SaveStep step)
{
    std::size_t after = 0;
    if (Injected(step, &after)) {
        const int error = errno;
        WriteAll(fd, bytes.substr(0, std::min(after, bytes.size())), 0);
        errno = error;
        return false;
    }
    return WriteAll(fd, bytes, 0);
}

bool ReadAll(int fd, std::string &bytes, std::size_t limit)
{
    bytes.resize(limit);
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t got = pread(fd, bytes.data() + done, limit - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

} // namespace posix

using detail::HasInnerNul;
using namespace posix;

void UseBinaryStandardOutput()
{
    // POSIX streams never translate line ends.
}

std::string ProgramFolder()
{
    char buffer[PATH_MAX + 1] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0)
        return ".";
    return FolderOf(std::string(buffer, static_cast<std::size_t>(length)));
}

bool IsNormalFile(const std::string &path)
{
    struct stat info = {};
    return !HasInnerNul(path) && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<FileStamp> StampOf(const std::string &path)
{
    struct stat info = {};
    if (HasInnerNul(path) || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return StampFrom(info, RealPath(path));
}

namespace detail {

Opening OpenRegularFile(
    const std::string &path, std::intptr_t &handle, FileStamp &stamp, std::string &reason)
{
    struct stat info = {};
    int error = 0;
    Fd fd = OpenRegularForReading(path, info, error);
    if (!fd.IsOpen()) {
        reason = error == 0 ? std::string() : ErrorText(error);
        if (error == 0)
            return Opening::NotRegular;
        return error == ENOENT || error == ENOTDIR ? Opening::Missing : Opening::Failed;
    }
    stamp = StampFrom(info, RealPath(path));
    handle = fd.Release();
    return Opening::Opened;
}

bool ReadFromStart(std::intptr_t handle, std::string &bytes, std::size_t limit, std::string &reason)
{
    if (ReadAll(static_cast<int>(handle), bytes, limit))
        return true;
    reason = ErrorText(errno);
    return false;
}

std::FILE *StreamOf(std::intptr_t handle, std::string &reason)
{
    std::FILE *stream = fdopen(static_cast<int>(handle), "rb");
    if (!stream) {
        reason = ErrorText(errno);
        close(static_cast<int>(handle));
    }
    return stream;
}

void CloseFile(std::intptr_t handle)
{
    close(static_cast<int>(handle));
}

std::intptr_t OpenToLock(const std::string &path, std::uint64_t &device, std::uint64_t &inode)
{
    Fd fd(OpenForReading(path));
    if (!fd.IsOpen() && (errno == EACCES || errno == EPERM))
        fd = Fd(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info = {};
    if (!fd.IsOpen() || fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    device = info.st_dev;
    inode = info.st_ino;
    return fd.Release();
}

LockTry TryLock(std::intptr_t handle)
{
    if (flock(static_cast<int>(handle), LOCK_EX | LOCK_NB) == 0)
        return LockTry::Taken;
    return errno == EWOULDBLOCK || errno == EINTR ? LockTry::Busy : LockTry::Unsupported;
}

bool StillThere(const std::string &path, std::uint64_t device, std::uint64_t inode)
{
    struct stat there = {};
    return stat(path.c_str(), &there) == 0 && there.st_dev == device && there.st_ino == inode;
}

void CloseLocked(std::intptr_t handle)
{
    close(static_cast<int>(handle));
}

} // namespace detail

} // namespace voltara
