// Reading files without ever holding more than a bound: a whole small file at once, or a text
// file of any size a line at a time.
#pragma once

#include "platform/stamp.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace voltara {

enum class ReadStatus {
    Read,
    NotRegular, // nothing there, or no regular file (a folder, a device, a pipe)
    TooLarge, // more than the limit: nothing was read, stamp.size tells the size
    Failed, // the system refused: reason says why
};

// Reads a whole regular file of at most limit bytes into bytes, and its stamp as it was when
// opened. A pipe or a device is never opened in a way that could block. A save of the file that
// was cut short in the middle of a write in place is completed first, under the file's writers'
// lock; where it cannot be, the reading Failed, and reason says why.
ReadStatus ReadFileBytes(const std::string &path, std::uint64_t limit, std::string &bytes,
    FileStamp &stamp, std::string &reason);

// The lines of a text file, a buffer at a time, so that memory stays bounded however large the
// file. A line ends at CR LF, a lone CR or a lone LF; a UTF-8 byte-order mark at the very start
// is skipped; a line longer than kMaxLineBytes keeps its first kMaxLineBytes bytes and the rest
// is passed over.
class TextFileReader
{
public:
    static constexpr std::size_t kMaxLineBytes = 64 * 1024;

    TextFileReader() = default;
    ~TextFileReader() { Close(); }
    TextFileReader(TextFileReader &&other) noexcept { *this = std::move(other); }
    TextFileReader &operator=(TextFileReader &&other) noexcept;

    // Opens a regular file; on failure returns false and sets reason.
    bool Open(const std::string &path, std::string &reason);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    // The next line without its end; nullopt at the end of the file or after a read error.
    std::optional<std::string> NextLine();

private:
    bool Fill();

    std::FILE *file_ = nullptr;
    std::string buffer_;
    std::size_t next_ = 0;
    bool skip_lf_ = false; // the last line ended in CR: a LF first in the buffer belongs to it
    bool first_ = true;
};

} // namespace voltara
