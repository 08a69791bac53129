// What the core needs from the operating system: the program's folder, the normal-file test,
// bounded reading, the writers' lock and the safe replacement of a file. Each system's part
// lives in a file of its own (platform_posix.cpp, platform_win32.cpp), chosen by the build.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace voltara {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder that holds the running executable, without a trailing separator except at a root.
std::string ProgramFolder();

// Joins a file name to a folder with the platform separator, unless the folder already ends
// in one (a root).
std::string JoinToFolder(const std::string &folder, const std::string &name);

// True when a regular file exists at the path (links followed); folders and devices do not
// count, nor does a path with a NUL character inside (the system would see a shorter one).
// On Windows hidden and system files do not count either.
bool IsNormalFile(const std::string &path);

// What a file held when this program last read or wrote it: enough to tell, at the next save,
// whether another program has written it since.
struct FileStamp
{
    std::string file; // the file itself, absolute, links resolved; empty for no file
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // the system's time of the last write, in its finest unit

    // True when both stamps describe the same bytes of the same file: a write in place changes
    // the time, a replacement the inode.
    bool SameState(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size
            && modified == other.modified;
    }
};

// The files a program has read or saved in this run, each as it was then, so that a save can
// tell when another program has written one of them since.
class KnownFiles
{
public:
    // Remembers the file as the stamp gives it, in place of what was known of it before.
    void Remember(const FileStamp &stamp);
    // True when now is the stamp of one of these files, and it differs from what was known.
    bool Changed(const FileStamp &now) const;

private:
    std::vector<FileStamp> files_;
};

// The largest configuration file the readers take. The real files are about 10 KB; a larger
// one is refused before it is read, so that no file makes a reader's memory grow without end.
inline constexpr std::uint64_t kMaxConfigFileBytes = 1 << 20;

enum class ReadStatus {
    Read,
    NotRegular, // nothing there, or no regular file (a folder, a device, a pipe)
    TooLarge, // more than the limit: nothing was read, stamp.size tells the size
    Failed, // the system refused: reason says why
};

// Reads a whole regular file of at most limit bytes into bytes, and its stamp as it was when
// opened. A pipe or a device is never opened in a way that could block.
ReadStatus ReadFileBytes(const std::string &path, std::uint64_t limit, std::string &bytes,
    FileStamp &stamp, std::string &reason);

// The lines of a text file, a buffer at a time, so that memory stays bounded however large the
// file. A line ends at CR LF, a lone CR or a lone LF; a UTF-8 byte-order mark at the very start
// is skipped; a line longer than kMaxLineBytes keeps its first kMaxLineBytes bytes and the rest
// is passed over.
class TextFileReader
{
public:
    static constexpr std::size_t kMaxLineBytes = 64 * 1024;

    TextFileReader() = default;
    ~TextFileReader() { Close(); }
    TextFileReader(TextFileReader &&other) noexcept { *this = std::move(other); }
    TextFileReader &operator=(TextFileReader &&other) noexcept;

    // Opens a regular file; on failure returns false and sets reason.
    bool Open(const std::string &path, std::string &reason);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    // The next line without its end; nullopt at the end of the file or after a read error.
    std::optional<std::string> NextLine();

private:
    bool Fill();

    std::FILE *file_ = nullptr;
    std::string buffer_;
    std::size_t next_ = 0;
    bool skip_lf_ = false; // the last line ended in CR: a LF first in the buffer belongs to it
    bool first_ = true;
};

// The writers' lock on one file: every save of the editors and botcfg takes it, so that two
// writers of one file never interleave. It is the system's own lock on the file itself (flock
// on POSIX, LockFileEx on Windows), which the system releases when its holder ends, however it
// ends. A process that already holds the lock of a file takes it again at once.
class FileLock
{
public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Takes the lock of the file at path (links followed), waiting up to LockWait() while
    // another process holds it. A path with no regular file needs no lock: true, nothing held.
    // False, with the reason, when the wait ran out.
    bool Acquire(const std::string &path, std::string &reason);
    void Release();

private:
    std::intptr_t handle_ = -1; // the open file the lock is on, or -1
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    bool counted_ = false; // this process holds the lock of device_ and inode_ through this
};

// How long a save or botcfg waits for another writer's lock before it gives up.
std::chrono::milliseconds LockWait();
void SetLockWait(std::chrono::milliseconds wait); // for tests

enum class SaveResult { Saved, Failed, Cancelled };

// What the caller knows of the target: a save that would overwrite a file another program has
// written since this one read or saved it asks first.
struct SaveGuard
{
    // True when the file now at the target is not the one this program last knew there.
    std::function<bool(const FileStamp &now)> changed;
    // Asked, with no lock held, when changed is true: false cancels the save.
    std::function<bool()> overwrite;
};

// Replaces the file at path with bytes, so that on any failure it keeps its old bytes and
// nothing else is left behind, and never touches anything but a regular file:
// - the target is resolved: links are followed (the link stays a link), except a link another
//   user owns in a shared sticky folder, which is refused; a target that exists but is not a
//   regular file (a folder, a device, a pipe) is refused before anything is opened;
// - the writers' lock of the target is taken, and the guard consulted;
// - the bytes go to a new file beside the target in one write, which is synced and given the
//   target's owner (or at least its group), permissions, extended attributes and access lists,
//   and then takes the target's place in one step; the folder is synced after it;
// - where the system refuses a new file or the replacement but lets the file itself be written
//   (a read-only folder, a file bind-mounted over the target, another user's file in a sticky
//   folder, a file the owner or group of which cannot be kept), the bytes are written in
//   place, and the old ones put back when that write fails.
// A file marked read-only and a path with a NUL character inside are refused. On success,
// written is the stamp of the file as saved. On failure reason holds the system's own text.
SaveResult SaveFile(const std::string &path, std::string_view bytes, const SaveGuard &guard,
    FileStamp &written, std::string &reason);

// The stamp of the file at path as it is now (links followed); nullopt where no regular file
// is there.
std::optional<FileStamp> StampOf(const std::string &path);

// Makes standard output pass bytes unchanged, so that CR LF line ends written there arrive as
// they are (Windows would otherwise turn every LF into CR LF).
void UseBinaryStandardOutput();

// The steps of SaveFile at which tests may inject a failure.
enum class SaveStep {
    CreateTemporary,
    Write,
    Sync,
    KeepAttributes,
    Replace,
    SyncFolder,
    WriteInPlace,
};

// A failure that a test injects: the system error code the step fails with, an errno value
// (ENOSPC for a full disk, EACCES for a folder that refuses new files) or on Windows a
// GetLastError code (ERROR_DISK_FULL, ERROR_ACCESS_DENIED); 0 for none. A writing step first
// writes `after` bytes of what it writes.
struct SaveFault
{
    int error = 0;
    std::size_t after = 0;
};

// When set, consulted before each step. For tests only.
using SaveFaultHook = std::function<SaveFault(SaveStep step)>;
void SetSaveFaultHook(SaveFaultHook hook);

} // namespace voltara
