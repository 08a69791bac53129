// What the POSIX files of the platform layer share: an owned descriptor and the small steps
// of reading and writing that both the readers and the save take.
#pragma once

#include "platform/stamp.h"
#include "platform/test_hooks.h"

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace voltara::posix {

// A file descriptor that is closed however the scope is left.
class Fd
{
public:
    explicit Fd(int fd = -1)
        : fd_(fd)
    {
    }
    ~Fd() { Reset(); }
    Fd(Fd &&other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release() { return std::exchange(fd_, -1); }
    // Closes now; false, with errno set, when closing failed.
    bool Close() { return fd_ < 0 || close(std::exchange(fd_, -1)) == 0; }
    void Reset()
    {
        if (fd_ >= 0)
            close(std::exchange(fd_, -1));
    }

private:
    int fd_;
};

std::string ErrorText(int error);

// True when a test has asked this step to fail; errno then says why, and *after (when given)
// how many bytes the step is to write first.
bool Injected(SaveStep step, std::size_t *after = nullptr);

// The folder of a path ("." for none, "/" at the root) and its last name.
std::string FolderOf(const std::string &path);
std::string NameOf(const std::string &path);
std::string JoinPosix(const std::string &folder, const std::string &name);
// The absolute path with every link resolved; the path itself where that fails.
std::string RealPath(const std::string &path);

FileStamp StampFrom(const struct stat &info, std::string file);

// Opens for reading without ever blocking: a pipe or a device opened without O_NONBLOCK could
// wait for a writer or a terminal forever.
int OpenForReading(const std::string &path);

// Opens a regular file for reading, with what fstat says of it; a closed Fd for anything else,
// error then being errno, or 0 where something other than a regular file is there.
Fd OpenRegularForReading(const std::string &path, struct stat &info, int &error);

bool WriteAll(int fd, std::string_view bytes, off_t offset);
// Writes the bytes at the start of the file, or as many as a test lets through before it fails.
bool WriteBytes(int fd, std::string_view bytes, SaveStep step);
// Reads at most limit bytes from the start of the file.
bool ReadAll(int fd, std::string &bytes, std::size_t limit);

} // namespace voltara::posix
