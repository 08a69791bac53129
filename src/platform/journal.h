// The journal of a write in place. Where a file can only be written in place, the new bytes go
// first to a journal that is synced with its folder before the file is touched: a save cut short
// at any moment then leaves either the old file and a journal that is torn or was never finished,
// or a complete journal, which the next reader of this program (or the next save) copies into the
// file before it reads. Nothing outside the platform layer includes this.
#pragma once

#include "platform/stamp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltara::detail {

// What a journal holds: the identity of the file it is for, its path (links resolved) and the
// bytes that the file is to hold.
struct JournalRecord
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::string file;
    std::string bytes;
};

// The largest content a journal holds: a write in place of more is refused, and a larger
// journal is not read.
inline constexpr std::size_t kMaxJournalBytes = 16 << 20;

// The journal's bytes, ending in a checksum of all that comes before it.
std::string EncodeJournal(const JournalRecord &record);
// The record of a whole journal; nullopt for one that is torn, cut short or not a journal.
std::optional<JournalRecord> DecodeJournal(std::string_view data);

// The name of a file's journal beside it ("." name ".journal"); empty where that name would be
// longer than a system allows.
std::string JournalNameBeside(const std::string &file_name);
// The name of a file's journal in the user's own folder, from the file's whole path, so that two
// files never share one.
std::string JournalNameElsewhere(const std::string &file);

// Where a reader finds the journal of a save of file that was cut short, and completes it: under
// the writers' lock of path (the same file, as the caller names it) it copies the bytes of every
// whole journal for this very file into it, and removes what it finds. True when there was
// nothing to do or it was done; false, with the reason, when the file could not be completed.
bool FinishCutShortSave(const std::string &path, const std::string &file, std::string &reason);

// What each system offers FinishCutShortSave.
// The journals that exist for file, beside it and in the user's own folder.
std::vector<std::string> JournalsOf(const std::string &file);
enum class JournalRead { Missing, Ignored, Read, Failed };
// Reads a journal of file: Ignored for what is not a regular file, or was made by a user whose
// journal this process does not trust with the file (neither itself, the file's owner nor the
// system's administrator), or is too large to be one; Failed, with the reason, for a trusted one
// that cannot be read.
JournalRead ReadJournal(
    const std::string &journal, const std::string &file, std::string &data, std::string &reason);
// Removes a journal, as durably as the system allows, so that it cannot come back after a power
// loss and be copied over what others write later.
void RemoveJournal(const std::string &journal);
// Makes the file of this identity hold exactly bytes, synced; nothing is written where it holds
// them already. False, with the reason, where it could not be written.
bool RewriteFile(const std::string &file, std::uint64_t device, std::uint64_t inode,
    std::string_view bytes, std::string &reason);

} // namespace voltara::detail
