// The journal of a Windows write in place as the save writes and removes it.
#pragma once

#include "platform/win32/handle.h"

#include <string>
#include <string_view>

namespace voltara::win32 {

// A journal written for one write in place: where it is, and the open journal itself.
struct Journal
{
    std::string path;
    Handle file;
};

// Writes the journal of a write of bytes into the open file, and flushes it: beside the file
// where its folder takes new files, else in the user's local application-data folder. False,
// with the reason, when no journal could be written; nothing is left then.
bool WriteJournal(HANDLE file, std::string_view bytes, Journal &journal, std::string &reason);

// Removes the journal once the file holds what it is to hold.
void DropJournal(Journal &journal);

} // namespace voltara::win32
