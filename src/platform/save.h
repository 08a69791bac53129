// The one save of every front end: a file replaced by new bytes so that no failure leaves
// anything but the old file or the new one.
#pragma once

#include "platform/stamp.h"

#include <functional>
#include <string>
#include <string_view>

namespace voltara {

enum class SaveResult { Saved, Failed, Cancelled };

// What the caller knows of the target: a save that would overwrite a file another program has
// written since this one read or saved it asks first.
struct SaveGuard
{
    // True when the file now at the target is not the one this program last knew there.
    std::function<bool(const FileStamp &now)> changed;
    // Asked, with no lock held, when changed is true: false cancels the save.
    std::function<bool()> overwrite;
};

// Replaces the file at path with bytes, so that on any failure it keeps its old bytes and
// nothing else is left behind, and never touches anything but a regular file:
// - the target is resolved: links are followed (the link stays a link), except a link another
//   user owns in a shared sticky folder, which is refused; a target that exists but is not a
//   regular file (a folder, a device, a pipe) is refused before anything is opened;
// - the writers' lock of the target is taken, and the guard consulted;
// - a save of the target that was cut short in the middle of a write in place is completed,
//   and what killed saves left beside it is removed;
// - the bytes go to a new file beside the target in one write, which is synced and given the
//   target's owner (or at least its group), permissions, extended attributes and access lists,
//   and then takes the target's place in one step; the new name is made durable (the folder is
//   synced) before success is reported;
// - where the system refuses a new file or the replacement but lets the file itself be written
//   (a read-only folder, a file bind-mounted over the target, another user's file in a sticky
//   folder, a file the owner or group of which cannot be kept), and where the file has several
//   names, the bytes are written in place: first into a synced journal that every reader (and
//   the next save) completes the file from should the save be cut short, then into the file,
//   and the old ones are put back when that write fails.
// A file marked read-only and a path with a NUL character inside are refused. On success,
// written is the stamp of the file as saved. On failure reason holds the system's own text.
SaveResult SaveFile(const std::string &path, std::string_view bytes, const SaveGuard &guard,
    FileStamp &written, std::string &reason);

} // namespace voltara
