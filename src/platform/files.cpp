// The parts of files.h and stamp.h that are the same on every system.
#include "platform/files.h"

#include "platform/stamp.h"

namespace voltara {

std::string JoinToFolder(const std::string &folder, const std::string &name)
{
    if (!folder.empty() && folder.back() == kPathSeparator)
        return folder + name;
    return folder + kPathSeparator + name;
}

void KnownFiles::Remember(const FileStamp &stamp)
{
    for (FileStamp &known : files_) {
        if (known.file == stamp.file) {
            known = stamp;
            return;
        }
    }
    files_.push_back(stamp);
}

bool KnownFiles::Changed(const FileStamp &now) const
{
    for (const FileStamp &known : files_) {
        if (known.file == now.file)
            return !known.SameState(now);
    }
    return false;
}

} // namespace voltara
