// The Windows part of platform.h. Paths are texts of the ANSI code page, like every other text
// of the core, and reach the system through its wide-character functions, which take paths
// longer than MAX_PATH.
#include "platform.h"
#include "platform_detail.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <thread>
#include <utility>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace voltara {

using detail::HasInnerNul;

namespace {

// The system's own text for an error code, in the ANSI code page, without the line end the
// system puts after it.
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
class Handle
{
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE)
        : handle_(handle)
    {
    }
    ~Handle() { Close(); }
    Handle(Handle &&other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE))
    {
    }
    Handle &operator=(Handle &&other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
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

// True when a test has asked this step to fail; GetLastError then says why, and *after (when
// given) how many bytes the step is to write first.
bool Injected(SaveStep step, std::size_t *after = nullptr)
{
    const SaveFault fault = detail::InjectedFault(step);
    if (fault.error == 0)
        return false;
    SetLastError(static_cast<DWORD>(fault.error));
    if (after)
        *after = fault.after;
    return true;
}

std::wstring Widen(const std::string &text)
{
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int size = WideCharToMultiByte(
        CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(
        CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

// The path as the wide functions take it: one that could pass MAX_PATH is made absolute and
// given the "\\?\" prefix, which lifts that limit.
std::wstring SystemPath(const std::string &path)
{
    std::wstring wide = Widen(path);
    if (wide.size() < MAX_PATH - 20 || wide.starts_with(L"\\\\?\\"))
        return wide;
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
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

// Opens an existing file or folder for the access given, shared with every other program.
Handle OpenShared(const std::string &path, DWORD access, DWORD flags = FILE_ATTRIBUTE_NORMAL)
{
    return Handle(CreateFileW(SystemPath(path).c_str(), access,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags,
        nullptr));
}

// The file's own path as the system knows it, links resolved; empty when it cannot tell.
std::string FinalPath(HANDLE file)
{
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length =
        GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length =
            GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (length == 0 || length >= buffer.size())
        return {};
    buffer.resize(length);
    if (buffer.starts_with(L"\\\\?\\UNC\\"))
        buffer = L"\\\\" + buffer.substr(8);
    else if (buffer.starts_with(L"\\\\?\\"))
        buffer = buffer.substr(4);
    return Narrow(buffer);
}

bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION &info)
{
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info)
        && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileStamp StampFrom(HANDLE file, const BY_HANDLE_FILE_INFORMATION &info)
{
    FileStamp stamp;
    stamp.file = FinalPath(file);
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32)
        | info.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool Rewind(HANDLE file)
{
    return SetFilePointerEx(file, LARGE_INTEGER {}, nullptr, FILE_BEGIN);
}

// Writes the bytes at the start of the file, or as many as a test lets through before it fails.
bool WriteBytes(HANDLE file, std::string_view bytes, SaveStep step)
{
    std::size_t after = 0;
    if (!Rewind(file))
        return false;
    if (Injected(step, &after)) {
        const DWORD error = GetLastError();
        WriteAll(file, bytes.substr(0, std::min(after, bytes.size())));
        SetLastError(error);
        return false;
    }
    return WriteAll(file, bytes);
}

bool ReadAll(HANDLE file, std::string &bytes, std::size_t limit)
{
    bytes.resize(limit);
    std::size_t done = 0;
    while (done < limit) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(limit - done, 1 << 20));
        if (!ReadFile(file, bytes.data() + done, chunk, &got, nullptr))
            return false;
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

// Opens a regular file for reading, shared with every writer; an invalid handle, with the
// reason, for anything else.
Handle OpenRegularForReading(
    const std::string &path, BY_HANDLE_FILE_INFORMATION &info, DWORD &error)
{
    Handle file = OpenShared(path, GENERIC_READ);
    error = file.IsOpen() ? ERROR_SUCCESS : GetLastError();
    if (file.IsOpen() && !IsRegularFile(file.Get(), info)) {
        file.Close();
        error = ERROR_BAD_FILE_TYPE;
    }
    return file;
}

// Under the lock no other save of this file is under way, so a temporary file of its name is
// one that a killed save left behind.
void RemoveStaleTemporaries(const std::string &target)
{
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    WIN32_FIND_DATAW found = {};
    const HANDLE search =
        FindFirstFileW(SystemPath(JoinToFolder(folder, "." + name + ".*.tmp")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string candidate = Narrow(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && detail::IsTemporaryNameOf(candidate, name))
            DeleteFileW(SystemPath(JoinToFolder(folder, candidate)).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
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
        reason = detail::kNotRegularText;
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

enum class Replaced { Done, Refused, Failed };

// The temporary file takes the target's place, and with it the target's access list, owner
// and streams. The old file goes to a backup name first, so that a replacement that fails
// halfway can put it back.
Replaced ReplaceWith(
    const std::string &target, const std::string &temporary, bool exists, std::string &reason)
{
    const std::wstring target_path = SystemPath(target);
    const std::wstring temporary_path = SystemPath(temporary);
    if (!exists) {
        if (!Injected(SaveStep::Replace)
            && MoveFileExW(temporary_path.c_str(), target_path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return Replaced::Done;
        reason = LastErrorText();
        return Replaced::Failed;
    }
    const std::wstring backup =
        SystemPath(JoinToFolder(FolderOf(target), detail::TemporaryName(NameOf(target))));
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 6; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10 << attempt));
        if (!Injected(SaveStep::Replace)
            && ReplaceFileW(target_path.c_str(), temporary_path.c_str(), backup.c_str(),
                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            DeleteFileW(backup.c_str());
            return Replaced::Done;
        }
        error = GetLastError();
        if (!IsPassingRefusal(error))
            break;
    }
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
        && !MoveFileExW(backup.c_str(), target_path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        reason = SystemErrorText(error) + " (the old contents are kept in " + Narrow(backup) + ")";
        return Replaced::Failed;
    }
    // With a backup name given, these leave both files under their own names.
    if (IsPassingRefusal(error) || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT
        || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 || error == ERROR_UNABLE_TO_REMOVE_REPLACED)
        return Replaced::Refused;
    reason = SystemErrorText(error);
    return Replaced::Failed;
}

// The plain write, where the system refuses a new file or the replacement: the old bytes that
// the new ones cover (all of them, for a file of a configuration file's size) are kept in
// memory first, so that a write failing halfway can put them back rather than leave half a
// file.
bool WriteInPlace(
    const std::string &target, std::string_view bytes, FileStamp &written, std::string &reason)
{
    Handle file(CreateFileW(SystemPath(target).c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size)) {
        reason = LastErrorText();
        return false;
    }
    const auto old_size = static_cast<std::size_t>(size.QuadPart);
    const std::size_t kept =
        std::min(old_size, std::max<std::size_t>(bytes.size(), kMaxConfigFileBytes));
    std::string old_bytes;
    if (!ReadAll(file.Get(), old_bytes, kept)) {
        reason = LastErrorText();
        return false;
    }
    bool truncated = false;
    bool ok = WriteBytes(file.Get(), bytes, SaveStep::WriteInPlace)
        && (truncated = SetEndOfFile(file.Get())) && !Injected(SaveStep::Sync)
        && FlushFileBuffers(file.Get());
    DWORD error = GetLastError();
    std::string restore_failure;
    if (!ok
        && !(Rewind(file.Get()) && WriteAll(file.Get(), old_bytes)
            && (old_bytes.size() == old_size ? SetEndOfFile(file.Get()) : !truncated)
            && FlushFileBuffers(file.Get())))
        restore_failure = " (the old contents could not be put back: " + LastErrorText() + ")";
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

enum class Written { Done, InPlace, Failed };

Written ReplaceTarget(
    const std::string &target, bool exists, std::string_view bytes, std::string &reason)
{
    std::string temporary;
    Handle file = CreateTemporary(target, temporary);
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        if (exists && error == ERROR_ACCESS_DENIED)
            return Written::InPlace;
        reason = SystemErrorText(error);
        return Written::Failed;
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
    if (replaced != Replaced::Done)
        DeleteFileW(SystemPath(temporary).c_str());
    if (replaced == Replaced::Refused || !kept)
        return Written::InPlace;
    return replaced == Replaced::Done ? Written::Done : Written::Failed;
}

} // namespace

void UseBinaryStandardOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string ProgramFolder()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return ".";
        if (length < buffer.size()) {
            buffer.resize(length);
            return FolderOf(Narrow(buffer));
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool IsNormalFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return !HasInnerNul(path) && attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes
            & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

std::optional<FileStamp> StampOf(const std::string &path)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = ERROR_SUCCESS;
    Handle file = HasInnerNul(path) ? Handle() : OpenRegularForReading(path, info, error);
    if (!file.IsOpen())
        return std::nullopt;
    return StampFrom(file.Get(), info);
}

ReadStatus ReadFileBytes(const std::string &path, std::uint64_t limit, std::string &bytes,
    FileStamp &stamp, std::string &reason)
{
    if (HasInnerNul(path))
        return ReadStatus::NotRegular;
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = ERROR_SUCCESS;
    Handle file = OpenRegularForReading(path, info, error);
    if (!file.IsOpen()) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
            || error == ERROR_BAD_FILE_TYPE || error == ERROR_INVALID_NAME)
            return ReadStatus::NotRegular;
        reason = SystemErrorText(error);
        return ReadStatus::Failed;
    }
    stamp = StampFrom(file.Get(), info);
    if (stamp.size > limit)
        return ReadStatus::TooLarge;
    // One byte more than measured tells a file that grew since.
    std::string content;
    if (!ReadAll(file.Get(), content, static_cast<std::size_t>(stamp.size) + 1)) {
        reason = LastErrorText();
        return ReadStatus::Failed;
    }
    if (content.size() > limit) {
        stamp.size = content.size();
        return ReadStatus::TooLarge;
    }
    bytes = std::move(content);
    return ReadStatus::Read;
}

bool TextFileReader::Open(const std::string &path, std::string &reason)
{
    Close();
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = ERROR_FILE_NOT_FOUND;
    Handle file = HasInnerNul(path) ? Handle() : OpenRegularForReading(path, info, error);
    if (!file.IsOpen()) {
        reason = error == ERROR_BAD_FILE_TYPE ? detail::kNotRegularText : SystemErrorText(error);
        return false;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file.Get()), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        reason = SystemErrorText(ERROR_INVALID_HANDLE);
        return false;
    }
    file.Release();
    file_ = _fdopen(fd, "rb");
    if (!file_) {
        _close(fd);
        reason = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

// The lock is a byte range far beyond any data: the system's locks on Windows bar reading and
// writing of the range they cover, and no reader of the file must be barred.
bool FileLock::Acquire(const std::string &path, std::string &reason)
{
    Release();
    if (HasInnerNul(path))
        return true;
    const auto deadline = std::chrono::steady_clock::now() + LockWait();
    for (;;) {
        BY_HANDLE_FILE_INFORMATION info = {};
        DWORD error = ERROR_SUCCESS;
        Handle file = OpenRegularForReading(path, info, error);
        // Nothing to lock, or nothing the system lets this process lock: the save says why.
        if (!file.IsOpen())
            return true;
        const std::uint64_t device = info.dwVolumeSerialNumber;
        const std::uint64_t inode =
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        if (detail::JoinHeldLock(device, inode)) {
            device_ = device;
            inode_ = inode;
            counted_ = true;
            return true;
        }
        OVERLAPPED range = {};
        range.Offset = 0xFFFFFFF0;
        range.OffsetHigh = 0x7FFFFFFF;
        if (LockFileEx(
                file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range)) {
            BY_HANDLE_FILE_INFORMATION there = {};
            Handle now = OpenRegularForReading(path, there, error);
            // Another writer may have replaced the file while this one waited: the lock must
            // be on the file that is there now.
            if (now.IsOpen() && there.dwVolumeSerialNumber == info.dwVolumeSerialNumber
                && there.nFileIndexHigh == info.nFileIndexHigh
                && there.nFileIndexLow == info.nFileIndexLow) {
                handle_ = reinterpret_cast<std::intptr_t>(file.Release());
                device_ = device;
                inode_ = inode;
                counted_ = true;
                detail::NoteLockTaken(device_, inode_);
                return true;
            }
            continue;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING)
            return true; // a file system without locks: the save goes on without one
        if (std::chrono::steady_clock::now() >= deadline) {
            reason = detail::kLockedText;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void FileLock::Release()
{
    if (counted_)
        detail::NoteLockReleased(device_, inode_);
    counted_ = false;
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

SaveResult SaveFile(const std::string &path, std::string_view bytes, const SaveGuard &guard,
    FileStamp &written, std::string &reason)
{
    if (HasInnerNul(path)) {
        reason = SystemErrorText(ERROR_INVALID_NAME);
        return SaveResult::Failed;
    }
    std::string target;
    bool exists = false;
    if (!ResolveTarget(path, target, reason) || !CheckTarget(target, exists, reason))
        return SaveResult::Failed;
    FileLock lock;
    std::optional<FileStamp> accepted;
    for (;;) {
        if (!lock.Acquire(target, reason) || !CheckTarget(target, exists, reason))
            return SaveResult::Failed;
        const std::optional<FileStamp> now = exists ? StampOf(target) : std::nullopt;
        if (!now || !guard.changed || !guard.changed(*now)
            || (accepted && accepted->SameState(*now)))
            break;
        // The question waits for the user: no other writer should wait for it.
        lock.Release();
        if (!guard.overwrite || !guard.overwrite())
            return SaveResult::Cancelled;
        accepted = now;
    }
    if (exists)
        RemoveStaleTemporaries(target);
    switch (ReplaceTarget(target, exists, bytes, reason)) {
    case Written::Done:
        if (const std::optional<FileStamp> stamp = StampOf(target))
            written = *stamp;
        return SaveResult::Saved;
    case Written::Failed:
        return SaveResult::Failed;
    case Written::InPlace:
        break;
    }
    return WriteInPlace(target, bytes, written, reason) ? SaveResult::Saved : SaveResult::Failed;
}

} // namespace voltara
