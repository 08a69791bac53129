// What the two systems' parts of platform.h share, and only they use.
#pragma once

#include "platform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace voltara::detail {

// The failure a test has injected at this step, if any.
SaveFault InjectedFault(SaveStep step);

// What a bounded read gives for the content of a regular file read up to one byte past its
// measured size: TooLarge, with the size seen, where the file holds more than limit (it grew
// since it was measured), else Read with the content moved into bytes.
ReadStatus TakeBounded(
    std::string &content, std::uint64_t limit, std::string &bytes, FileStamp &stamp);

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

// How the replacement of a save's target went: done, refused where a plain write of the file
// may still be allowed, or failed.
enum class Replacement { Done, InPlace, Failed };

// The target of a save as one system finds and writes it; SaveFile runs the steps in order.
class SaveTarget
{
public:
    virtual ~SaveTarget() = default;
    // The file the writers' lock is taken on: the target itself, links resolved.
    virtual std::string LockPath() const = 0;
    // Looks at the target again under the lock; false, with the reason, where it is refused now.
    virtual bool Refresh(std::string &reason) = 0;
    // The stamp of the file at the target now; nullopt while there is none.
    virtual std::optional<FileStamp> Stamp() const = 0;
    // Under the lock, removes what killed saves of this target left behind.
    virtual void RemoveStaleTemporaries() = 0;
    virtual Replacement Replace(
        std::string_view bytes, FileStamp &written, std::string &reason) = 0;
    virtual bool WriteInPlace(std::string_view bytes, FileStamp &written, std::string &reason) = 0;
};

// The target a save of path lands in, checked; nullptr, with the reason, where the save is
// refused before anything is opened.
std::unique_ptr<SaveTarget> FindSaveTarget(const std::string &path, std::string &reason);

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
