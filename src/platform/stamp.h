// What a file was when a program read or wrote it, so that a later save can tell whether
// another program has written it since.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace voltara {

struct FileStamp
{
    std::string file; // the file itself, absolute, links resolved; empty for no file
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // the system's time of the last write, in its finest unit

    // True when both stamps describe the same bytes of the same file: a write in place changes
    // the time, a replacement the inode.
    bool SameState(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size
            && modified == other.modified;
    }
};

// The stamp of the file at path as it is now (links followed); nullopt where no regular file
// is there.
std::optional<FileStamp> StampOf(const std::string &path);

// The files a program has read or saved in this run, each as it was then, so that a save can
// tell when another program has written one of them since.
class KnownFiles
{
public:
    // Remembers the file as the stamp gives it, in place of what was known of it before.
    void Remember(const FileStamp &stamp);
    // True when now is the stamp of one of these files, and it differs from what was known.
    bool Changed(const FileStamp &now) const;

private:
    std::vector<FileStamp> files_;
};

} // namespace voltara
