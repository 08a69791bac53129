// What the Windows files of the platform layer share: an owned handle, wide paths, and the small
// steps of reading and writing that both the readers and the save take.
#pragma once

#include "platform/stamp.h"
#include "platform/test_hooks.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace voltara::win32 {

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

// The system's own text for an error code, in the ANSI code page, without the line end the
// system puts after it.
std::string SystemErrorText(DWORD error);

std::string LastErrorText();

// True when a test has asked this step to fail; GetLastError then says why, and *after (when
// given) how many bytes the step is to write first.
bool Injected(SaveStep step, std::size_t *after = nullptr);

// Texts of the ANSI code page as the wide functions take them, and back.
std::wstring Widen(const std::string &text);

std::string Narrow(const std::wstring &wide);

// The path as the wide functions take it: one that could pass MAX_PATH is made absolute and
// given the "\\?\" prefix, which lifts that limit.
std::wstring SystemPath(const std::string &path);

// The folder of a path ("." for none, a root with its separator) and its last name.
std::string FolderOf(const std::string &path);

std::string NameOf(const std::string &path);

// Opens an existing file or folder for the access given, shared with every other program.
Handle OpenShared(const std::string &path, DWORD access, DWORD flags = FILE_ATTRIBUTE_NORMAL);

// The file's own path as the system knows it, links resolved; empty when it cannot tell.
std::string FinalPath(HANDLE file);

bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION &info);

FileStamp StampFrom(HANDLE file, const BY_HANDLE_FILE_INFORMATION &info);

bool WriteAll(HANDLE file, std::string_view bytes);

bool Rewind(HANDLE file);

// Writes the bytes at the start of the file, or as many as a test lets through before it fails.
bool WriteBytes(HANDLE file, std::string_view bytes, SaveStep step);

bool ReadAll(HANDLE file, std::string &bytes, std::size_t limit);

// Opens a regular file for reading, shared with every writer; an invalid handle, with the
// reason, for anything else.
Handle OpenRegularForReading(
    const std::string &path, BY_HANDLE_FILE_INFORMATION &info, DWORD &error);

// The names of the temporary files that saves of target made beside it.
std::vector<std::string> TemporariesOf(const std::string &target);

} // namespace voltara::win32
