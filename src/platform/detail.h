// What the platform layer's common part asks of each system's part (posix/, win32/), and what
// they share; nothing outside the platform layer includes this.
#pragma once

#include "platform/read.h"
#include "platform/stamp.h"
#include "platform/test_hooks.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace voltara::detail {

// The failure a test has injected at this step, if any.
SaveFault InjectedFault(SaveStep step);

// What each system offers the bounded reads of read.h. OpenRegularFile opens the regular file
// at path for reading, never in a way that could block, and gives its stamp as it is now; where
// it gives anything but Opened, reason holds the system's text (empty for NotRegular).
// A path with a NUL inside is Missing. ReadFromStart reads at most limit bytes from the start
// of the file. StreamOf makes the open file a C stream, which owns it from then on (on failure
// it is closed). CloseFile closes a file that no stream owns.
enum class Opening { Opened, Missing, NotRegular, Failed };
Opening OpenRegularFile(
    const std::string &path, std::intptr_t &handle, FileStamp &stamp, std::string &reason);
bool ReadFromStart(
    std::intptr_t handle, std::string &bytes, std::size_t limit, std::string &reason);
std::FILE *StreamOf(std::intptr_t handle, std::string &reason);
void CloseFile(std::intptr_t handle);

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
    // Under the lock, removes what killed saves of this target left behind, and nothing that a
    // save under way still uses.
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
// The same with number in place of the random part, for a name that a later save can guess.
std::string TemporaryName(const std::string &target_name, unsigned number);
// True when name is one TemporaryName gives for this target.
bool IsTemporaryNameOf(std::string_view name, const std::string &target_name);

} // namespace voltara::detail
