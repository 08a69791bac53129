// The journal of a POSIX write in place as the save writes and removes it, and the syncs that
// make a new or removed name durable.
#pragma once

#include "platform/posix/fd.h"
#include "platform/posix/target.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace voltara::posix {

// A journal written for one write in place: the folder it lies in and its name there, and the
// open journal itself.
struct Journal
{
    Fd folder;
    bool folder_readable = false;
    std::string folder_path;
    std::string name;
    Fd fd;
};

// Writes the journal of a write of bytes into the file at target, which info describes, and
// syncs it and its folder: beside the file where its folder takes new files, else in the
// user's own folder. False, with the reason, when no journal could be made durable; nothing is
// left then.
bool WriteJournal(const Target &target, const struct stat &info, std::string_view bytes,
    Journal &journal, std::string &reason);

// Removes the journal once the file holds what it is to hold, and syncs its folder.
void DropJournal(Journal &journal);

// Makes a name just made or removed in a folder durable: the folder is synced (folder is -1
// where it is not open for reading); where this process may not read the folder, the file of
// that name (file) commits it instead. False, with the reason, where the system reports a
// failure; a file system that syncs no folders passes.
bool SyncFolderOf(int folder, const std::string &folder_path, int file, std::string &reason);

} // namespace voltara::posix
