// The save, the same on every system: find the target, take the writers' lock, ask where
// another program changed the file, replace it, or write it in place where the system refuses
// the replacement. Each system's steps are in posix/save.cpp and win32/save.cpp.
#include "platform/save.h"

#include "platform/detail.h"
#include "platform/journal.h"
#include "platform/lock.h"

#include <algorithm>
#include <random>

namespace voltara {

namespace {

SaveFaultHook &FaultHook()
{
    static SaveFaultHook hook;
    return hook;
}

constexpr std::size_t kTemporaryNameCut = 200;
constexpr std::size_t kTemporaryRandomDigits = 12;
constexpr std::string_view kTemporaryEnd = ".tmp";

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

namespace detail {

SaveFault InjectedFault(SaveStep step)
{
    return FaultHook() ? FaultHook()(step) : SaveFault {};
}

std::string TemporaryName(const std::string &target_name)
{
    static std::mt19937_64 random {std::random_device {}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = "." + target_name.substr(0, kTemporaryNameCut) + ".";
    for (std::size_t i = 0; i < kTemporaryRandomDigits; ++i)
        name += kDigits[random() % 16];
    return name.append(kTemporaryEnd);
}

std::string TemporaryName(const std::string &target_name, unsigned number)
{
    std::string digits = std::to_string(number);
    digits.insert(0, kTemporaryRandomDigits - std::min(digits.size(), kTemporaryRandomDigits), '0');
    return "." + target_name.substr(0, kTemporaryNameCut) + "." + digits
        + std::string(kTemporaryEnd);
}

bool IsTemporaryNameOf(std::string_view name, const std::string &target_name)
{
    // Names cut short could be those of another target.
    if (target_name.size() > kTemporaryNameCut)
        return false;
    const std::string lead = "." + target_name + ".";
    if (name.size() != lead.size() + kTemporaryRandomDigits + kTemporaryEnd.size()
        || !name.starts_with(lead) || !name.ends_with(kTemporaryEnd))
        return false;
    const std::string_view digits = name.substr(lead.size(), kTemporaryRandomDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

} // namespace detail

void SetSaveFaultHook(SaveFaultHook hook)
{
    FaultHook() = std::move(hook);
}

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
    // A journal of an earlier save cut short is completed first, as a reader would complete it.
    if (const std::optional<FileStamp> stamp = target->Stamp(); stamp
        && (!detail::FinishCutShortSave(target->LockPath(), stamp->file, reason)
            || !target->Refresh(reason)))
        return SaveResult::Failed;
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
