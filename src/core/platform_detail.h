// What the two systems' parts of platform.h share, and only they use.
#pragma once

#include "platform.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace voltara::detail {

// The failure a test has injected at this step, if any.
SaveFault InjectedFault(SaveStep step);

// The locks this process holds, by file identity: a second Acquire of one file in one process
// must not wait for the first. JoinHeldLock counts one more holder and returns true when the
// lock is held already; NoteLockTaken counts the first; NoteLockReleased one less.
bool JoinHeldLock(std::uint64_t device, std::uint64_t inode);
void NoteLockTaken(std::uint64_t device, std::uint64_t inode);
void NoteLockReleased(std::uint64_t device, std::uint64_t inode);

// What each system offers the writers' lock of FileLock. OpenToLock opens the file at path to
// be locked and gives its identity; -1 when there is nothing to lock (no regular file, or
// nothing the system lets this process open), and the save then says why. TryLock takes the
// lock without waiting. StillThere tells whether the file at path is still the one of that
// identity. CloseLocked closes the file, and so gives up a lock on it.
enum class LockTry { Taken, Busy, Unsupported };
std::intptr_t OpenToLock(const std::string &path, std::uint64_t &device, std::uint64_t &inode);
LockTry TryLock(std::intptr_t handle);
bool StillThere(const std::string &path, std::uint64_t device, std::uint64_t inode);
void CloseLocked(std::intptr_t handle);

// The system reads a path up to its first NUL: a name with one inside would address another
// file.
inline bool HasInnerNul(std::string_view path)
{
    return path.find('\0') != std::string_view::npos;
}

// A save's temporary file beside its target: the target's name (cut short, so that a name near
// the system's limit still leaves room) between a lead and a random part, so that one left
// behind by a killed save is recognised as such and by nothing else.
std::string TemporaryName(const std::string &target_name);
// True when name is one TemporaryName gives for this target.
bool IsTemporaryNameOf(std::string_view name, const std::string &target_name);

// The reasons a save gives where the system has no words of its own.
inline constexpr const char *kNotRegularText = "It is not a regular file";
inline constexpr const char *kProtectedLinkText =
    "It is reached through a link that another user made in a shared folder, which is not "
    "followed";
inline constexpr const char *kLockedText =
    "Another program is saving it and kept it locked; try again later";

} // namespace voltara::detail
