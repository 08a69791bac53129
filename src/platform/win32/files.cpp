// The Windows part of the platform layer: the program's folder, the normal-file test, stamps,
// opening files for the bounded reads and the calls of the writers' lock. Paths are texts of the ANSI code page, like every other text of the
// core, and reach the system through its wide-character functions, which take paths longer
// than MAX_PATH. The save itself is in save.cpp beside this file.
#include "platform/files.h"

#include "platform/detail.h"
#include "platform/reasons.h"
#include "platform/win32/handle.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <utility>

namespace voltara {

namespace win32 {

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

bool Injected(SaveStep step, std::size_t *after)
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

Handle OpenShared(const std::string &path, DWORD access, DWORD flags)
{
    return Handle(CreateFileW(SystemPath(path).c_str(), access,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags,
        nullptr));
}

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

std::vector<std::string> TemporariesOf(const std::string &target)
{
    std::vector<std::string> names;
    const std::string name = NameOf(target);
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW(
        SystemPath(JoinToFolder(FolderOf(target), "." + name + ".*.tmp")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string candidate = Narrow(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && detail::IsTemporaryNameOf(candidate, name))
            names.push_back(candidate);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

Handle OpenRegularForReading(
    const std::string &path, BY_HANDLE_FILE_INFORMATION &info, DWORD &error)
{
    Handle file = OpenShared(path, GENERIC_READ);
    error = file.IsOpen() ? ERROR_SUCCESS : GetLastError();
    // Under Wine, ReplaceFileW may take the old file away and then fail (another program holds
    // it open), and the save moves its temporary into place a moment later. A reader in between
    // would find no file, so where a save's temporary stands beside it, it waits for that move.
    for (int attempt = 0; !file.IsOpen() && error == ERROR_FILE_NOT_FOUND && attempt < 5
         && !TemporariesOf(path).empty();
         ++attempt) {
        Sleep(20u << attempt);
        file = OpenShared(path, GENERIC_READ);
        error = file.IsOpen() ? ERROR_SUCCESS : GetLastError();
    }
    if (file.IsOpen() && !IsRegularFile(file.Get(), info)) {
        file.Close();
        error = ERROR_BAD_FILE_TYPE;
    }
    return file;
}

} // namespace win32

using detail::HasInnerNul;
using namespace win32;

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

namespace detail {

Opening OpenRegularFile(
    const std::string &path, std::intptr_t &handle, FileStamp &stamp, std::string &reason)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = ERROR_FILE_NOT_FOUND;
    Handle file = HasInnerNul(path) ? Handle() : OpenRegularForReading(path, info, error);
    if (!file.IsOpen()) {
        if (error == ERROR_BAD_FILE_TYPE)
            return Opening::NotRegular;
        reason = SystemErrorText(error);
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                || error == ERROR_INVALID_NAME
            ? Opening::Missing
            : Opening::Failed;
    }
    stamp = StampFrom(file.Get(), info);
    handle = reinterpret_cast<std::intptr_t>(file.Release());
    return Opening::Opened;
}

bool ReadFromStart(std::intptr_t handle, std::string &bytes, std::size_t limit, std::string &reason)
{
    if (ReadAll(reinterpret_cast<HANDLE>(handle), bytes, limit))
        return true;
    reason = LastErrorText();
    return false;
}

std::FILE *StreamOf(std::intptr_t handle, std::string &reason)
{
    const int fd = _open_osfhandle(handle, _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(reinterpret_cast<HANDLE>(handle));
        reason = SystemErrorText(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    std::FILE *stream = _fdopen(fd, "rb");
    if (!stream) {
        _close(fd);
        reason = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
    }
    return stream;
}

void CloseFile(std::intptr_t handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

std::intptr_t OpenToLock(const std::string &path, std::uint64_t &device, std::uint64_t &inode)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = ERROR_SUCCESS;
    Handle file = OpenRegularForReading(path, info, error);
    if (!file.IsOpen())
        return -1;
    device = info.dwVolumeSerialNumber;
    inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return reinterpret_cast<std::intptr_t>(file.Release());
}

// The lock is a byte range far beyond any data: the system's locks on Windows bar reading and
// writing of the range they cover, and no reader of the file must be barred.
LockTry TryLock(std::intptr_t handle)
{
    OVERLAPPED range = {};
    range.Offset = 0xFFFFFFF0;
    range.OffsetHigh = 0x7FFFFFFF;
    if (LockFileEx(reinterpret_cast<HANDLE>(handle),
            LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range))
        return LockTry::Taken;
    const DWORD error = GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? LockTry::Busy
                                                                      : LockTry::Unsupported;
}

bool StillThere(const std::string &path, std::uint64_t device, std::uint64_t inode)
{
    BY_HANDLE_FILE_INFORMATION there = {};
    DWORD error = ERROR_SUCCESS;
    const Handle now = OpenRegularForReading(path, there, error);
    return now.IsOpen() && there.dwVolumeSerialNumber == device
        && ((static_cast<std::uint64_t>(there.nFileIndexHigh) << 32) | there.nFileIndexLow)
        == inode;
}

void CloseLocked(std::intptr_t handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

} // namespace detail

} // namespace voltara
