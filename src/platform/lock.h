// The writers' lock on one file: every save of the editors and botcfg takes it, so that two
// writers of one file never interleave.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace voltara {

// The system's own lock on the file itself (flock on POSIX, LockFileEx on Windows), which the
// system releases when its holder ends, however it ends. A process that already holds the lock
// of a file takes it again at once.
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

} // namespace voltara
