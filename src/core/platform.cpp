// The parts of platform.h that are the same on every system.
#include "platform.h"

#include "platform_detail.h"

#include <algorithm>
#include <map>
#include <random>
#include <thread>
#include <utility>

namespace voltara {

namespace {

SaveFaultHook &FaultHook()
{
    static SaveFaultHook hook;
    return hook;
}

std::chrono::milliseconds &LockWaitSetting()
{
    static std::chrono::milliseconds wait {5000};
    return wait;
}

std::map<std::pair<std::uint64_t, std::uint64_t>, int> &HeldLocks()
{
    static std::map<std::pair<std::uint64_t, std::uint64_t>, int> held;
    return held;
}

constexpr std::size_t kTemporaryNameCut = 200;
constexpr std::size_t kTemporaryRandomDigits = 12;
constexpr std::string_view kTemporaryEnd = ".tmp";

} // namespace

namespace detail {

SaveFault InjectedFault(SaveStep step)
{
    return FaultHook() ? FaultHook()(step) : SaveFault {};
}

ReadStatus TakeBounded(
    std::string &content, std::uint64_t limit, std::string &bytes, FileStamp &stamp)
{
    if (content.size() > limit) {
        stamp.size = content.size();
        return ReadStatus::TooLarge;
    }
    bytes = std::move(content);
    return ReadStatus::Read;
}

bool JoinHeldLock(std::uint64_t device, std::uint64_t inode)
{
    const auto found = HeldLocks().find({device, inode});
    if (found == HeldLocks().end())
        return false;
    ++found->second;
    return true;
}

void NoteLockTaken(std::uint64_t device, std::uint64_t inode)
{
    HeldLocks()[{device, inode}] = 1;
}

void NoteLockReleased(std::uint64_t device, std::uint64_t inode)
{
    const auto found = HeldLocks().find({device, inode});
    if (found != HeldLocks().end() && --found->second <= 0)
        HeldLocks().erase(found);
}

std::string TemporaryName(const std::string &target_name)
{
    static std::mt19937_64 random {std::random_device {}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = "." + target_name.substr(0, kTemporaryNameCut) + ".";
    for (std::size_t i = 0; i < kTemporaryRandomDigits; ++i)
        name += kDigits[random() % 16];
    return name.append(kTemporaryEnd);
}

bool IsTemporaryNameOf(std::string_view name, const std::string &target_name)
{
    // Names cut short could be those of another target.
    if (target_name.size() > kTemporaryNameCut)
        return false;
    const std::string lead = "." + target_name + ".";
    if (name.size() != lead.size() + kTemporaryRandomDigits + kTemporaryEnd.size()
        || !name.starts_with(lead) || !name.ends_with(kTemporaryEnd))
        return false;
    const std::string_view digits = name.substr(lead.size(), kTemporaryRandomDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

} // namespace detail

void SetSaveFaultHook(SaveFaultHook hook)
{
    FaultHook() = std::move(hook);
}

std::chrono::milliseconds LockWait()
{
    return LockWaitSetting();
}

void SetLockWait(std::chrono::milliseconds wait)
{
    LockWaitSetting() = wait;
}

bool FileLock::Acquire(const std::string &path, std::string &reason)
{
    Release();
    if (detail::HasInnerNul(path))
        return true;
    const auto deadline = std::chrono::steady_clock::now() + LockWait();
    for (;;) {
        const std::intptr_t handle = detail::OpenToLock(path, device_, inode_);
        if (handle == -1)
            return true;
        if (detail::JoinHeldLock(device_, inode_)) {
            detail::CloseLocked(handle);
            counted_ = true;
            return true;
        }
        const detail::LockTry tried = detail::TryLock(handle);
        // Another writer may have replaced the file while this one waited: the lock must be
        // on the file that is there now.
        if (tried == detail::LockTry::Taken && detail::StillThere(path, device_, inode_)) {
            handle_ = handle;
            counted_ = true;
            detail::NoteLockTaken(device_, inode_);
            return true;
        }
        detail::CloseLocked(handle);
        if (tried == detail::LockTry::Unsupported)
            return true; // a file system without locks: the save goes on without one
        if (tried == detail::LockTry::Busy) {
            if (std::chrono::steady_clock::now() >= deadline) {
                reason = detail::kLockedText;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

void FileLock::Release()
{
    if (counted_)
        detail::NoteLockReleased(device_, inode_);
    counted_ = false;
    if (handle_ != -1)
        detail::CloseLocked(handle_);
    handle_ = -1;
}

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
