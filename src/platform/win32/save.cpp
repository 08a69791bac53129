// The save on Windows: the steps of SaveFile (save.h), one small step at a time.
#include "platform/detail.h"
#include "platform/files.h"
#include "platform/reasons.h"
#include "platform/win32/handle.h"
#include "platform/win32/journal.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace voltara {

using detail::HasInnerNul;
using namespace win32;

namespace {

// How much of the old file a write in place keeps in memory to put back on failure, at least:
// all of any configuration file.
constexpr std::size_t kInPlaceKeptBytes = 1 << 20;

// Under the lock no other save of this file is under way, so a temporary file of its name is
// one that a killed save left behind.
void RemoveStaleTemporaries(const std::string &target)
{
    for (const std::string &name : TemporariesOf(target))
        DeleteFileW(SystemPath(JoinToFolder(FolderOf(target), name)).c_str());
}

// The file a save lands in: through a link to the file it leads to, so that the link stays a
// link and the file at its end is written. Every existing target is asked, as Wine shows the
// links of the system below it as plain files. A file that is not there yet is made at the path
// itself.
bool ResolveTarget(const std::string &path, std::string &target, std::string &reason)
{
    target = path;
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    Handle file = OpenShared(path, 0, FILE_FLAG_BACKUP_SEMANTICS);
    const std::string final_path = file.IsOpen() ? FinalPath(file.Get()) : std::string();
    if (!final_path.empty())
        target = final_path;
    else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        reason = LastErrorText();
        return false;
    }
    return true;
}

// Only a regular file that takes writing is replaced: a file marked read-only stays as it is,
// even for a user whom the system would let through (Wine run as root opens it for writing); a
// folder, a device and a file another program holds open are refused here, in the system's
// words, before any bytes move.
bool CheckTarget(const std::string &target, bool &exists, std::string &reason)
{
    const DWORD attributes = GetFileAttributesW(SystemPath(target).c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists)
        return true;
    if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = SystemErrorText(ERROR_ACCESS_DENIED);
        return false;
    }
    Handle probe = OpenShared(target, GENERIC_WRITE);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!probe.IsOpen()) {
        reason = LastErrorText();
        return false;
    }
    if (!IsRegularFile(probe.Get(), info)) {
        reason = reasons::kNotRegular;
        return false;
    }
    return true;
}

// The save's new file beside the target, named after it so that one left behind is recognised.
Handle CreateTemporary(const std::string &target, std::string &temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Injected(SaveStep::CreateTemporary))
            return Handle();
        temporary = JoinToFolder(FolderOf(target), detail::TemporaryName(NameOf(target)));
        Handle file(CreateFileW(SystemPath(temporary).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsOpen() || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return Handle();
}

// The attributes a user may have set (hidden, system, archive, not indexed) and the creation
// time of the old file on the new one. The access list, the owner and named streams are the
// replacement's to keep.
bool KeepAttributes(const std::string &target, HANDLE file)
{
    Handle old = OpenShared(target, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!old.IsOpen() || !GetFileInformationByHandle(old.Get(), &info))
        return false;
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
        | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO basic = {};
    if (Injected(SaveStep::KeepAttributes)
        || !GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return false;
    basic.CreationTime.LowPart = info.ftCreationTime.dwLowDateTime;
    basic.CreationTime.HighPart = static_cast<LONG>(info.ftCreationTime.dwHighDateTime);
    basic.FileAttributes =
        (info.dwFileAttributes & kKept) ? (info.dwFileAttributes & kKept) : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
}

// Refusals that pass: a virus scanner or an indexer that holds the file for a moment.
bool IsPassingRefusal(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION
        || error == ERROR_LOCK_VIOLATION;
}

// Kept: the new file could not take the old one's place after the old one was gone, and stays
// under its own name.
enum class Replaced { Done, Refused, Failed, Kept };

// The empty files named "rf*.tmp" in the target's folder: Wine's ReplaceFileW makes one with
// GetTempFileNameW for each call and leaves it behind when the call fails.
std::vector<std::wstring> ReplacementLeftovers(const std::string &target)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    const HANDLE search =
        FindFirstFileW(SystemPath(JoinToFolder(FolderOf(target), "rf*.tmp")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.nFileSizeLow == 0 && found.nFileSizeHigh == 0
            && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Removes the leftovers that were not there before the replacement was tried.
void RemoveReplacementLeftovers(const std::string &target, const std::vector<std::wstring> &before)
{
    for (const std::wstring &name : ReplacementLeftovers(target)) {
        if (std::find(before.begin(), before.end(), name) == before.end())
            DeleteFileW(SystemPath(JoinToFolder(FolderOf(target), Narrow(name))).c_str());
    }
}

// ReplaceFileW, tried again for a while where a passing refusal stops it; the error of the last
// attempt, ERROR_SUCCESS where one succeeded.
DWORD ReplaceWithRetries(
    const std::string &target, const std::wstring &target_path, const std::wstring &temporary_path)
{
    const std::vector<std::wstring> leftovers = ReplacementLeftovers(target);
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 6; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10 << attempt));
        if (!Injected(SaveStep::Replace)
            && ReplaceFileW(target_path.c_str(), temporary_path.c_str(), nullptr,
                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return ERROR_SUCCESS;
        error = GetLastError();
        RemoveReplacementLeftovers(target, leftovers);
        if (!IsPassingRefusal(error))
            break;
    }
    return error;
}

// The temporary file takes the target's place in one step, and with it the target's access
// list, owner and streams. With no backup name, ReplaceFileW renames once, so that a reader
// finds the old file or the new one, never none. Should it fail after the old file is gone
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT), the new one is moved into place; should even that fail,
// it is kept under its own name, which the reason gives.
Replaced ReplaceWith(
    const std::string &target, const std::string &temporary, bool exists, std::string &reason)
{
    const std::wstring target_path = SystemPath(target);
    const std::wstring temporary_path = SystemPath(temporary);
    const auto move = [&] {
        return !Injected(SaveStep::Replace)
            && MoveFileExW(temporary_path.c_str(), target_path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    };
    if (!exists) {
        if (move())
            return Replaced::Done;
        reason = LastErrorText();
        return Replaced::Failed;
    }
    const DWORD error = ReplaceWithRetries(target, target_path, temporary_path);
    if (error == ERROR_SUCCESS)
        return Replaced::Done;
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
        if (move())
            return Replaced::Done;
        reason = LastErrorText() + " (the new contents are kept in " + temporary + ")";
        return Replaced::Kept;
    }
    // These leave both files as they were.
    if (IsPassingRefusal(error) || error == ERROR_UNABLE_TO_REMOVE_REPLACED)
        return Replaced::Refused;
    reason = SystemErrorText(error);
    return Replaced::Failed;
}

// Puts the old bytes back after a failed write in place; the text to add to the reason when
// even that fails. Where only the start of a large file was kept, the rest is whole as long as
// the file was not cut yet.
std::string PutBack(HANDLE file, const std::string &old_bytes, std::size_t old_size, bool truncated)
{
    if (Rewind(file) && WriteAll(file, old_bytes)
        && (old_bytes.size() == old_size ? SetEndOfFile(file) : !truncated)
        && FlushFileBuffers(file))
        return {};
    return " (the old contents could not be put back: " + LastErrorText() + ")";
}

// The target opened for a write in place, and the old bytes that the new ones cover (all of
// them, for a file of a configuration file's size) read into memory; a closed handle, with the
// reason, where that fails.
Handle OpenAndKeep(const std::string &target, std::size_t new_size, std::string &old_bytes,
    std::size_t &old_size, std::string &reason)
{
    Handle file(CreateFileW(SystemPath(target).c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    const bool opened = file.IsOpen() && GetFileSizeEx(file.Get(), &size);
    old_size = static_cast<std::size_t>(size.QuadPart);
    if (!opened
        || !ReadAll(
            file.Get(), old_bytes, std::min(old_size, std::max(new_size, kInPlaceKeptBytes)))) {
        reason = LastErrorText();
        file.Close();
    }
    return file;
}

// The plain write, where the system refuses a new file or the replacement. The new bytes go to a
// journal first, so that a save cut short at any moment is completed by the next reader; a write
// that fails puts back the old bytes kept in memory, and only then is the journal removed.
bool WriteInPlace(
    const std::string &target, std::string_view bytes, FileStamp &written, std::string &reason)
{
    std::string old_bytes;
    std::size_t old_size = 0;
    Handle file = OpenAndKeep(target, bytes.size(), old_bytes, old_size, reason);
    Journal journal;
    if (!file.IsOpen() || !WriteJournal(file.Get(), bytes, journal, reason))
        return false;
    bool truncated = false;
    bool ok = WriteBytes(file.Get(), bytes, SaveStep::WriteInPlace)
        && (truncated = SetEndOfFile(file.Get())) && !Injected(SaveStep::Sync)
        && FlushFileBuffers(file.Get());
    DWORD error = GetLastError();
    if (!ok && Injected(SaveStep::CutShort)) {
        reason = SystemErrorText(error);
        return false;
    }
    const std::string restore_failure =
        ok ? std::string() : PutBack(file.Get(), old_bytes, old_size, truncated);
    // A journal whose old bytes could not be put back completes the file with the new ones.
    if (restore_failure.empty())
        DropJournal(journal);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (ok && GetFileInformationByHandle(file.Get(), &info))
        written = StampFrom(file.Get(), info);
    if (!file.Close() && ok) {
        ok = false;
        error = GetLastError();
    }
    if (!ok)
        reason = SystemErrorText(error) + restore_failure;
    return ok;
}

// The number of names of the file at target; 1 where it cannot tell.
DWORD NamesOf(const std::string &target)
{
    Handle file = OpenShared(target, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info = {};
    return file.IsOpen() && GetFileInformationByHandle(file.Get(), &info) ? info.nNumberOfLinks : 1;
}

using detail::Replacement;

Replacement ReplaceTarget(
    const std::string &target, bool exists, std::string_view bytes, std::string &reason)
{
    std::string temporary;
    Handle file = CreateTemporary(target, temporary);
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        if (exists && error == ERROR_ACCESS_DENIED)
            return Replacement::InPlace;
        reason = SystemErrorText(error);
        return Replacement::Failed;
    }
    bool kept = true;
    bool ok = WriteBytes(file.Get(), bytes, SaveStep::Write)
        && (!exists || (kept = KeepAttributes(target, file.Get()))) && !Injected(SaveStep::Sync)
        && FlushFileBuffers(file.Get());
    DWORD error = GetLastError();
    if (!file.Close() && ok) {
        ok = false;
        error = GetLastError();
    }
    Replaced replaced = Replaced::Failed;
    if (ok)
        replaced = ReplaceWith(target, temporary, exists, reason);
    else
        reason = SystemErrorText(error);
    if (replaced != Replaced::Done && replaced != Replaced::Kept)
        DeleteFileW(SystemPath(temporary).c_str());
    if (replaced == Replaced::Refused || !kept)
        return Replacement::InPlace;
    return replaced == Replaced::Done ? Replacement::Done : Replacement::Failed;
}

} // namespace

namespace detail {

namespace {

class Win32Target : public SaveTarget
{
public:
    Win32Target(std::string target, bool exists)
        : target_(std::move(target))
        , exists_(exists)
    {
    }
    std::string LockPath() const override { return target_; }
    bool Refresh(std::string &reason) override { return CheckTarget(target_, exists_, reason); }
    std::optional<FileStamp> Stamp() const override
    {
        return exists_ ? StampOf(target_) : std::nullopt;
    }
    // Without a file there is no lock to keep other saves of it out, and their temporary files
    // are not held open until the replacement.
    void RemoveStaleTemporaries() override
    {
        if (exists_)
            voltara::RemoveStaleTemporaries(target_);
    }
    Replacement Replace(std::string_view bytes, FileStamp &written, std::string &reason) override
    {
        // A file of more than one name stays one file: every name sees the new bytes.
        if (exists_ && NamesOf(target_) > 1)
            return Replacement::InPlace;
        const Replacement replaced = ReplaceTarget(target_, exists_, bytes, reason);
        if (replaced == Replacement::Done) {
            if (const std::optional<FileStamp> stamp = StampOf(target_))
                written = *stamp;
        }
        return replaced;
    }
    bool WriteInPlace(std::string_view bytes, FileStamp &written, std::string &reason) override
    {
        return voltara::WriteInPlace(target_, bytes, written, reason);
    }

private:
    std::string target_;
    bool exists_;
};

} // namespace

std::unique_ptr<SaveTarget> FindSaveTarget(const std::string &path, std::string &reason)
{
    if (HasInnerNul(path)) {
        reason = SystemErrorText(ERROR_INVALID_NAME);
        return nullptr;
    }
    std::string target;
    bool exists = false;
    if (!ResolveTarget(path, target, reason) || !CheckTarget(target, exists, reason))
        return nullptr;
    return std::make_unique<Win32Target>(std::move(target), exists);
}

} // namespace detail

} // namespace voltara
