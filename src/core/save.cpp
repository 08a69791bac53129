// The save, the same on every system: find the target, take the writers' lock, ask where
// another program changed the file, replace it, or write it in place where the system refuses
// the replacement. Each system's steps are in save_posix.cpp and save_win32.cpp.
#include "platform.h"
#include "platform_detail.h"

namespace voltara {

namespace {

// Takes the lock and consults the guard until the file at the target is one the caller may
// overwrite; the question waits for the user with no lock held, so that no other writer waits
// for it. Saved stands for "go on".
SaveResult LockAndAsk(
    detail::SaveTarget &target, FileLock &lock, const SaveGuard &guard, std::string &reason)
{
    std::optional<FileStamp> accepted;
    for (;;) {
        if (!lock.Acquire(target.LockPath(), reason) || !target.Refresh(reason))
            return SaveResult::Failed;
        const std::optional<FileStamp> now = target.Stamp();
        if (!now || !guard.changed || !guard.changed(*now)
            || (accepted && accepted->SameState(*now)))
            return SaveResult::Saved;
        lock.Release();
        if (!guard.overwrite || !guard.overwrite())
            return SaveResult::Cancelled;
        accepted = now;
    }
}

} // namespace

SaveResult SaveFile(const std::string &path, std::string_view bytes, const SaveGuard &guard,
    FileStamp &written, std::string &reason)
{
    const std::unique_ptr<detail::SaveTarget> target = detail::FindSaveTarget(path, reason);
    if (!target)
        return SaveResult::Failed;
    FileLock lock;
    if (const SaveResult asked = LockAndAsk(*target, lock, guard, reason);
        asked != SaveResult::Saved)
        return asked;
    if (target->Stamp())
        target->RemoveStaleTemporaries();
    switch (target->Replace(bytes, written, reason)) {
    case detail::Replacement::Done:
        return SaveResult::Saved;
    case detail::Replacement::Failed:
        return SaveResult::Failed;
    case detail::Replacement::InPlace:
        break;
    }
    return target->WriteInPlace(bytes, written, reason) ? SaveResult::Saved : SaveResult::Failed;
}

} // namespace voltara
