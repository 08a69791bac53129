// The writers' lock of lock.h, the same on every system over each system's own lock calls.
#include "platform/lock.h"

#include "platform/detail.h"
#include "platform/reasons.h"
#include "platform/test_hooks.h"

#include <map>
#include <thread>
#include <utility>

namespace voltara {

namespace {

std::chrono::milliseconds &LockWaitSetting()
{
    static std::chrono::milliseconds wait {5000};
    return wait;
}

std::map<std::pair<std::uint64_t, std::uint64_t>, int> &HeldLocks()
{
    static std::map<std::pair<std::uint64_t, std::uint64_t>, int> held;
    return held;
}

// The locks this process holds, by file identity: a second Acquire of one file in one process
// must not wait for the first. JoinHeldLock counts one more holder and returns true when the
// lock is held already; NoteLockTaken counts the first; NoteLockReleased one less.
bool JoinHeldLock(std::uint64_t device, std::uint64_t inode)
{
    const auto found = HeldLocks().find({device, inode});
    if (found == HeldLocks().end())
        return false;
    ++found->second;
    return true;
}

void NoteLockTaken(std::uint64_t device, std::uint64_t inode)
{
    HeldLocks()[{device, inode}] = 1;
}

void NoteLockReleased(std::uint64_t device, std::uint64_t inode)
{
    const auto found = HeldLocks().find({device, inode});
    if (found != HeldLocks().end() && --found->second <= 0)
        HeldLocks().erase(found);
}

} // namespace

std::chrono::milliseconds LockWait()
{
    return LockWaitSetting();
}

void SetLockWait(std::chrono::milliseconds wait)
{
    LockWaitSetting() = wait;
}

bool FileLock::Acquire(const std::string &path, std::string &reason)
{
    Release();
    if (detail::HasInnerNul(path))
        return true;
    const auto deadline = std::chrono::steady_clock::now() + LockWait();
    for (;;) {
        const std::intptr_t handle = detail::OpenToLock(path, device_, inode_);
        if (handle == -1)
            return true;
        if (JoinHeldLock(device_, inode_)) {
            detail::CloseLocked(handle);
            counted_ = true;
            return true;
        }
        const detail::LockTry tried = detail::TryLock(handle);
        // Another writer may have replaced the file while this one waited: the lock must be
        // on the file that is there now.
        if (tried == detail::LockTry::Taken && detail::StillThere(path, device_, inode_)) {
            handle_ = handle;
            counted_ = true;
            NoteLockTaken(device_, inode_);
            return true;
        }
        detail::CloseLocked(handle);
        if (tried == detail::LockTry::Unsupported)
            return true; // a file system without locks: the save goes on without one
        if (tried == detail::LockTry::Busy) {
            if (std::chrono::steady_clock::now() >= deadline) {
                reason = reasons::kLocked;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

void FileLock::Release()
{
    if (counted_)
        NoteLockReleased(device_, inode_);
    counted_ = false;
    if (handle_ != -1)
        detail::CloseLocked(handle_);
    handle_ = -1;
}

} // namespace voltara
