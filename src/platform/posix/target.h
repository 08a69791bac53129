// Where a POSIX save lands: the target found the way the kernel would find it, and checked.
#pragma once

#include "platform/posix/fd.h"

#include <string>
#include <sys/stat.h>

namespace voltara::posix {

// Where a save lands, found the way the kernel would find it, but one link at a time, so
// that the link itself stays a link and the new file is made beside the file it leads to.
struct Target
{
    Fd folder; // opened for reading where the folder allows it, else as a path only
    bool folder_readable = false;
    std::string folder_path;
    std::string name;
    bool exists = false;
    struct stat info = {}; // of the file itself, when it exists

    std::string Path() const { return JoinPosix(folder_path, name); }
};

// Finds the target of a save of path, following links one at a time; false with the reason
// where the save is refused (a link another user made in a shared sticky folder, a path that
// leads nowhere a file could be).
bool ResolveTarget(const std::string &path, Target &target, std::string &reason);

// Only regular files are replaced or written; a file marked read-only stays as it is.
bool CheckTarget(const Target &target, std::string &reason);

// Looks at the target again once the lock is held: another writer may have replaced it.
bool RefreshTarget(Target &target, std::string &reason);

} // namespace voltara::posix
