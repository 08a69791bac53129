#include "platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace voltara {

namespace {

SaveFaultHook &FaultHook()
{
    static SaveFaultHook hook;
    return hook;
}

// True when a test has asked this step to fail; errno then says why.
bool InjectedFailure(SaveStep step, int line = -1)
{
    const int error = FaultHook() ? FaultHook()(step, line) : 0;
#ifdef _WIN32
    if (error != 0)
        SetLastError(static_cast<DWORD>(error));
#else
    if (error != 0)
        errno = error;
#endif
    return error != 0;
}

// The system reads a path up to its first NUL: a name with one inside would address another
// file.
bool HasInnerNul(const std::string &path)
{
    return path.find('\0') != std::string::npos;
}

std::string ErrorText(int error)
{
    return std::strerror(error);
}

std::string FolderOf(const std::string &path)
{
    const std::size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos)
        return ".";
    if (cut == 0)
        return path.substr(0, 1);
    if (cut == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, cut);
}

std::string NameOf(const std::string &path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

void SetSaveFaultHook(SaveFaultHook hook)
{
    FaultHook() = std::move(hook);
}

std::string JoinToFolder(const std::string &folder, const std::string &name)
{
    if (!folder.empty() && folder.back() == kPathSeparator)
        return folder + name;
    return folder + kPathSeparator + name;
}

// C stdio, not a file stream: the first stream sets up the C++ library's locale machinery,
// which costs a program that reads one small file at start-up more than the reading does.
bool ReadWholeFile(const std::string &path, std::string &bytes, std::string &reason)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = ErrorText(errno);
        return false;
    }
    std::string content;
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        reason = ErrorText(error != 0 ? error : EIO);
        return false;
    }
    bytes = std::move(content);
    return true;
}

#ifdef _WIN32

namespace {

// The system's own text for an error code, in the ANSI code page like every other text of the
// core, without the line end the system puts after it.
std::string SystemErrorText(DWORD error)
{
    char *buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char *>(&buffer), 0, nullptr);
    std::string text(buffer ? buffer : "", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    // Only for a code the system has no text for; the number is then all there is to say.
    if (text.empty())
        text = "System error " + std::to_string(error);
    return text;
}

std::string LastErrorText()
{
    return SystemErrorText(GetLastError());
}

// A file handle that is closed however the scope is left.
class FileHandle
{
public:
    explicit FileHandle(HANDLE handle)
        : handle_(handle)
    {
    }
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now; false when closing failed (GetLastError says why).
    bool Close()
    {
        const bool closed = !IsOpen() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return false;
        done += written;
    }
    return true;
}

bool WriteLinesTo(HANDLE file, const std::vector<std::string> &lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (InjectedFailure(SaveStep::WriteLine, static_cast<int>(i))
            || !WriteAll(file, lines[i] + "\r\n"))
            return false;
    }
    return !InjectedFailure(SaveStep::Flush) && FlushFileBuffers(file);
}

bool ReadAll(HANDLE file, std::string &bytes)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size))
        return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file, bytes.data() + done, chunk, &read, nullptr))
            return false;
        if (read == 0)
            break;
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool TruncateAtStart(HANDLE file)
{
    return SetFilePointerEx(file, LARGE_INTEGER {}, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// The plain write, for a folder that refuses new files: a save must not fail where it would
// have succeeded. The old bytes are kept in memory first, so that a write failing halfway can
// put them back rather than leave half a file.
bool WriteInPlace(
    const std::string &target, const std::vector<std::string> &lines, std::string &reason)
{
    if (InjectedFailure(SaveStep::WriteInPlace)) {
        reason = LastErrorText();
        return false;
    }
    FileHandle file(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string old_bytes;
    if (!file.IsOpen() || !ReadAll(file.Get(), old_bytes) || !TruncateAtStart(file.Get())) {
        reason = LastErrorText();
        return false;
    }
    bool ok = WriteLinesTo(file.Get(), lines);
    DWORD error = GetLastError();
    std::string restore_failure;
    if (!ok
        && !(TruncateAtStart(file.Get()) && WriteAll(file.Get(), old_bytes)
            && FlushFileBuffers(file.Get())))
        restore_failure = " (the old contents could not be put back: " + LastErrorText() + ")";
    if (!file.Close() && ok) {
        ok = false;
        error = GetLastError();
    }
    if (!ok)
        reason = SystemErrorText(error) + restore_failure;
    return ok;
}

// A new file beside the target for the bytes to go to, named after the target so that one
// left behind by a crash is recognised.
HANDLE CreateTemporary(const std::string &target, std::string &temporary)
{
    const std::string stem =
        "~" + NameOf(target).substr(0, 200) + "." + std::to_string(GetCurrentProcessId()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (InjectedFailure(SaveStep::CreateTemporary))
            return INVALID_HANDLE_VALUE;
        temporary = JoinToFolder(FolderOf(target), stem + std::to_string(attempt) + ".tmp");
        const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

void UseBinaryStandardOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string ProgramFolder()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0)
        return ".";
    return FolderOf(std::string(buffer, length));
}

bool IsNormalFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return !HasInnerNul(path) && attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes
            & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool SaveLines(const std::string &path, const std::vector<std::string> &lines, std::string &reason)
{
    if (HasInnerNul(path)) {
        reason = SystemErrorText(ERROR_INVALID_NAME);
        return false;
    }
    // A file marked read-only stays as it is, even for a user whom the system would let
    // through (Wine run as root opens it for writing).
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)
        && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = SystemErrorText(ERROR_ACCESS_DENIED);
        return false;
    }
    // Otherwise an existing target must take writing: a folder and a file that another program
    // holds open are refused here, in the system's words, before any bytes move.
    if (exists) {
        FileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.IsOpen()) {
            reason = LastErrorText();
            return false;
        }
    }
    std::string temporary;
    FileHandle file(CreateTemporary(path, temporary));
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        if (exists && error == ERROR_ACCESS_DENIED)
            return WriteInPlace(path, lines, reason);
        reason = SystemErrorText(error);
        return false;
    }
    bool ok = WriteLinesTo(file.Get(), lines);
    DWORD error = GetLastError();
    if (!file.Close() && ok) {
        ok = false;
        error = GetLastError();
    }
    // The rename replaces the target in one step: a reader sees the old file or the new one.
    if (ok
        && (InjectedFailure(SaveStep::Rename)
            || !MoveFileExA(temporary.c_str(), path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temporary.c_str());
        reason = SystemErrorText(error);
    }
    return ok;
}

#else

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

namespace {

// The file a save finally lands in: symbolic links are followed, even dangling ones, so the
// link itself stays a link.
// nullopt for a loop of links, which a plain write would refuse too.
std::optional<std::string> ResolveLinks(const std::string &path)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info = {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char buffer[PATH_MAX + 1] = {};
        const ssize_t length = readlink(current.c_str(), buffer, PATH_MAX);
        if (length <= 0)
            return current;
        std::string target(buffer, static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
    }
    return std::nullopt;
}

bool WriteAll(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool WriteLinesTo(int fd, const std::vector<std::string> &lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (InjectedFailure(SaveStep::WriteLine, static_cast<int>(i))
            || !WriteAll(fd, lines[i] + "\r\n"))
            return false;
    }
    return !InjectedFailure(SaveStep::Flush) && fsync(fd) == 0;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The plain write, for a folder that refuses new files: a save must not fail where it would
// have succeeded. The old bytes are kept in memory first, so that a write failing halfway can
// put them back rather than leave half a file.
bool WriteInPlace(
    const std::string &target, const std::vector<std::string> &lines, std::string &reason)
{
    if (InjectedFailure(SaveStep::WriteInPlace)) {
        reason = ErrorText(errno);
        return false;
    }
    std::string old_bytes;
    if (!ReadWholeFile(target, old_bytes, reason))
        return false;
    const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        reason = ErrorText(errno);
        return false;
    }
    bool ok = WriteLinesTo(fd, lines);
    int error = errno;
    std::string restore_failure;
    if (!ok
        && !(ftruncate(fd, 0) == 0 && lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, old_bytes)
            && fsync(fd) == 0))
        restore_failure = " (the old contents could not be put back: " + ErrorText(errno) + ")";
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok)
        reason = ErrorText(error) + restore_failure;
    return ok;
}

} // namespace

bool SaveLines(const std::string &path, const std::vector<std::string> &lines, std::string &reason)
{
    if (HasInnerNul(path)) {
        reason = ErrorText(EINVAL);
        return false;
    }
    const auto resolved = ResolveLinks(path);
    if (!resolved) {
        reason = ErrorText(ELOOP);
        return false;
    }
    const std::string &target = *resolved;
    struct stat existing = {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        reason = ErrorText(EISDIR);
        return false;
    }
    // A file marked read-only stays as it is, even for a user who could override the mark;
    // the refusal reads as the system's own would for anyone else. Any other refusal (a
    // read-only file system among them) is told in the system's words.
    if (exists && (existing.st_mode & 0222) == 0) {
        reason = ErrorText(EACCES);
        return false;
    }
    if (exists && access(target.c_str(), W_OK) != 0) {
        reason = ErrorText(errno);
        return false;
    }
    // The name is cut short so that a target name near the system's limit still leaves room.
    std::string temporary = FolderOf(target) + "/." + NameOf(target).substr(0, 200) + ".XXXXXX";
    const int fd = InjectedFailure(SaveStep::CreateTemporary) ? -1 : mkstemp(temporary.data());
    if (fd < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM || error == EROFS))
            return WriteInPlace(target, lines, reason);
        reason = ErrorText(error);
        return false;
    }
    bool ok = WriteLinesTo(fd, lines);
    int error = errno;
    if (ok) {
        fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode());
        if (exists && fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only the owner's privileges allow this; the permissions are kept all the same.
        }
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok
        && (InjectedFailure(SaveStep::Rename) || rename(temporary.c_str(), target.c_str()) != 0)) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        reason = ErrorText(error);
    }
    return ok;
}

#endif

} // namespace voltara
