// The bounded reads of read.h, written once over each system's opening and reading of a file.
#include "platform/read.h"

#include "platform/detail.h"
#include "platform/journal.h"
#include "platform/reasons.h"

#include <algorithm>
#include <string_view>

namespace voltara {

namespace {

// A file opened by OpenRegularFile, closed however the scope is left unless a stream took it.
class OpenedFile
{
public:
    OpenedFile() = default;
    ~OpenedFile() { Close(); }
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;

    std::intptr_t &Handle() { return handle_; }
    std::intptr_t Release() { return std::exchange(handle_, -1); }
    void Close()
    {
        if (handle_ != -1)
            detail::CloseFile(std::exchange(handle_, -1));
    }

private:
    std::intptr_t handle_ = -1;
};

// Opens the file for ReadFileBytes: NotRegular, Failed (with the reason) or Read for opened.
ReadStatus OpenToRead(
    const std::string &path, OpenedFile &file, FileStamp &stamp, std::string &reason)
{
    std::string why;
    switch (detail::OpenRegularFile(path, file.Handle(), stamp, why)) {
    case detail::Opening::Missing:
    case detail::Opening::NotRegular:
        return ReadStatus::NotRegular;
    case detail::Opening::Failed:
        reason = why;
        return ReadStatus::Failed;
    case detail::Opening::Opened:
        break;
    }
    return ReadStatus::Read;
}

// ReadFileBytes once: a save of the file cut short in the middle of a write in place is
// completed first.
ReadStatus ReadCompleted(const std::string &path, std::uint64_t limit, std::string &bytes,
    FileStamp &stamp, std::string &reason)
{
    OpenedFile file;
    ReadStatus status = OpenToRead(path, file, stamp, reason);
    if (status == ReadStatus::Read && !detail::JournalsOf(stamp.file).empty()) {
        file.Close();
        if (!detail::FinishCutShortSave(path, stamp.file, reason))
            return ReadStatus::Failed;
        status = OpenToRead(path, file, stamp, reason);
    }
    if (status != ReadStatus::Read)
        return status;
    if (stamp.size > limit)
        return ReadStatus::TooLarge;
    // One byte more than measured tells a file that grew since.
    std::string content;
    if (!detail::ReadFromStart(
            file.Handle(), content, static_cast<std::size_t>(stamp.size) + 1, reason))
        return ReadStatus::Failed;
    if (content.size() > limit) {
        stamp.size = content.size();
        return ReadStatus::TooLarge;
    }
    bytes = std::move(content);
    return ReadStatus::Read;
}

} // namespace

ReadStatus ReadFileBytes(const std::string &path, std::uint64_t limit, std::string &bytes,
    FileStamp &stamp, std::string &reason)
{
    if (detail::HasInnerNul(path))
        return ReadStatus::NotRegular;
    ReadStatus status = ReadCompleted(path, limit, bytes, stamp, reason);
    // A write in place that began while the file was read keeps its journal until it has ended:
    // the reading then waits for it, and reads again.
    if (status == ReadStatus::Read && !detail::JournalsOf(stamp.file).empty())
        status = ReadCompleted(path, limit, bytes, stamp, reason);
    return status;
}

bool TextFileReader::Open(const std::string &path, std::string &reason)
{
    Close();
    OpenedFile file;
    FileStamp stamp;
    std::string why;
    const detail::Opening opening = detail::OpenRegularFile(path, file.Handle(), stamp, why);
    if (opening != detail::Opening::Opened) {
        reason = opening == detail::Opening::NotRegular ? reasons::kNotRegular : why;
        return false;
    }
    file_ = detail::StreamOf(file.Release(), reason);
    return file_ != nullptr;
}

// The buffer is refilled only when a line end is not in it yet, so a line costs one search.
std::optional<std::string> TextFileReader::NextLine()
{
    if (!file_)
        return std::nullopt;
    std::string line;
    for (;;) {
        if (next_ == buffer_.size() && !Fill()) {
            // The last line needs no end; a file that ends in one has no empty line after it.
            if (line.empty())
                return std::nullopt;
            return line;
        }
        if (skip_lf_) {
            skip_lf_ = false;
            if (buffer_[next_] == '\n') {
                ++next_;
                continue;
            }
        }
        const std::string_view rest = std::string_view(buffer_).substr(next_);
        const std::size_t end = rest.find_first_of("\r\n");
        const std::size_t length = end == std::string_view::npos ? rest.size() : end;
        const std::size_t room = kMaxLineBytes - std::min(line.size(), kMaxLineBytes);
        line.append(rest.substr(0, std::min(length, room)));
        next_ += length;
        if (end == std::string_view::npos)
            continue;
        skip_lf_ = rest[end] == '\r';
        ++next_;
        return line;
    }
}

// Empties the buffer of what was handed out and reads the next part of the file; false at the
// end of the file. The buffer then holds nothing, so that NextLine can tell a last line without
// an end from the end itself.
bool TextFileReader::Fill()
{
    static constexpr std::size_t kChunk = 64 * 1024;
    buffer_.resize(kChunk);
    const std::size_t got = std::fread(buffer_.data(), 1, kChunk, file_);
    buffer_.resize(got);
    next_ = 0;
    if (first_) {
        first_ = false;
        if (buffer_.starts_with("\xEF\xBB\xBF"))
            next_ = 3;
    }
    return next_ < buffer_.size();
}

TextFileReader &TextFileReader::operator=(TextFileReader &&other) noexcept
{
    if (this != &other) {
        Close();
        file_ = std::exchange(other.file_, nullptr);
        buffer_ = std::move(other.buffer_);
        next_ = std::exchange(other.next_, 0);
        skip_lf_ = std::exchange(other.skip_lf_, false);
        first_ = std::exchange(other.first_, true);
    }
    return *this;
}

void TextFileReader::Close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    buffer_.clear();
    next_ = 0;
    skip_lf_ = false;
    first_ = true;
}

} // namespace voltara
