// The journal of a write in place, the same on every system: its layout, its names, and the
// completion of a save cut short that every reader of a configuration file runs first.
#include "platform/journal.h"

#include "platform/lock.h"
#include "platform/reasons.h"

namespace voltara::detail {

namespace {

constexpr std::string_view kMagic = "Voltara journal 1\n";
constexpr std::size_t kNumberBytes = 8;

// FNV-1a over 64 bits: enough to tell a torn or unfinished journal from a whole one.
std::uint64_t Checksum(std::string_view data)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char byte : data) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

void PutNumber(std::string &out, std::uint64_t number)
{
    for (std::size_t i = 0; i < kNumberBytes; ++i)
        out += static_cast<char>((number >> (8 * i)) & 0xFF);
}

// The next number of data, which is then past it; false where data is too short.
bool TakeNumber(std::string_view &data, std::uint64_t &number)
{
    if (data.size() < kNumberBytes)
        return false;
    number = 0;
    for (std::size_t i = 0; i < kNumberBytes; ++i)
        number |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    data.remove_prefix(kNumberBytes);
    return true;
}

// A length and as many bytes after it.
bool TakeText(std::string_view &data, std::string &text)
{
    std::uint64_t size = 0;
    if (!TakeNumber(data, size) || size > data.size())
        return false;
    text.assign(data.substr(0, static_cast<std::size_t>(size)));
    data.remove_prefix(static_cast<std::size_t>(size));
    return true;
}

std::string Hex(std::uint64_t number)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[text.size() - 1 - i] = kDigits[(number >> (4 * i)) & 0xF];
    return text;
}

// Copies one journal's bytes into the file it is for, and removes it; a journal that is not
// whole, or was for another file or an earlier one of that name, is only removed.
bool ApplyJournal(const std::string &journal, const std::string &file, std::string &reason)
{
    std::string data;
    std::string why;
    switch (ReadJournal(journal, file, data, why)) {
    case JournalRead::Missing:
    case JournalRead::Ignored:
        return true;
    case JournalRead::Failed:
        reason = std::string(reasons::kCutShort) + why;
        return false;
    case JournalRead::Read:
        break;
    }
    const std::optional<JournalRecord> record = DecodeJournal(data);
    const std::optional<FileStamp> now = StampOf(file);
    if (record && now && record->file == file && record->device == now->device
        && record->inode == now->inode
        && !RewriteFile(file, record->device, record->inode, record->bytes, why)) {
        reason = std::string(reasons::kCutShort) + why;
        return false;
    }
    RemoveJournal(journal);
    return true;
}

} // namespace

std::string EncodeJournal(const JournalRecord &record)
{
    std::string out(kMagic);
    PutNumber(out, record.device);
    PutNumber(out, record.inode);
    PutNumber(out, record.file.size());
    out += record.file;
    PutNumber(out, record.bytes.size());
    out += record.bytes;
    PutNumber(out, Checksum(out));
    return out;
}

std::optional<JournalRecord> DecodeJournal(std::string_view data)
{
    std::uint64_t sum = 0;
    if (data.size() < kMagic.size() + kNumberBytes || !data.starts_with(kMagic))
        return std::nullopt;
    std::string_view tail = data.substr(data.size() - kNumberBytes);
    if (!TakeNumber(tail, sum) || sum != Checksum(data.substr(0, data.size() - kNumberBytes)))
        return std::nullopt;
    std::string_view rest = data.substr(kMagic.size(), data.size() - kMagic.size() - kNumberBytes);
    JournalRecord record;
    if (!TakeNumber(rest, record.device) || !TakeNumber(rest, record.inode)
        || !TakeText(rest, record.file) || !TakeText(rest, record.bytes) || !rest.empty())
        return std::nullopt;
    return record;
}

std::string JournalNameBeside(const std::string &file_name)
{
    static constexpr std::size_t kLongestName = 255;
    std::string name = "." + file_name + ".journal";
    return name.size() > kLongestName ? std::string() : name;
}

std::string JournalNameElsewhere(const std::string &file)
{
    return Hex(Checksum(file)) + ".journal";
}

bool FinishCutShortSave(const std::string &path, const std::string &file, std::string &reason)
{
    const std::vector<std::string> journals = JournalsOf(file);
    if (journals.empty())
        return true;
    FileLock lock;
    if (!lock.Acquire(path, reason))
        return false;
    for (const std::string &journal : journals) {
        if (!ApplyJournal(journal, file, reason))
            return false;
    }
    return true;
}

} // namespace voltara::detail
