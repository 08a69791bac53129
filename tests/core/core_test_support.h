// Helpers shared by the core tests: a recording view, scratch folders and file access.
#pragma once

#include "core/personality_file.h"
#include "core/superbot_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef Yield // an old macro of windows.h, and a member of the host interface
#else
#include <functional>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace voltara::test {

// A record holding every setting's default.
inline Personality DefaultRecord()
{
    Personality bot;
    for (const FieldInfo &field : kFields)
        bot.*field.member = field.default_value;
    return bot;
}

// Each editor's configuration as at start-up without a file: every record holds its defaults.
inline PersonalityConfig DefaultPersonalityConfig()
{
    PersonalityConfig config;
    BuildConfigPath(config, "/nowhere");
    RepairPersonalities(config);
    return config;
}

inline SuperbotConfig DefaultSuperbotConfig()
{
    SuperbotConfig config;
    InitSuperbotData(config, "/nowhere");
    RepairSuperbots(config);
    return config;
}

// A record whose every field holds the same marker text, which no preset or default uses.
inline Personality MarkedRecord(const std::string &marker = "x")
{
    Personality bot;
    for (const FieldInfo &field : kFields)
        bot.*field.member = marker;
    return bot;
}

// Records every call the core makes on either editor's window, in order, as readable text.
class FakeView : public PersonalityView, public SuperbotView
{
public:
    using Host::ShowMessage;

    void ShowMessage(const std::string &text, const Caption &caption, MessageIcon icon) override
    {
        calls.push_back(Message(text, caption) + (icon == MessageIcon::None ? "" : " [icon]"));
    }
    bool AskToProceed(
        const std::string &text, const Caption &caption, const std::string &proceed) override
    {
        calls.push_back("Ask " + Message(text, caption) + " [" + proceed + "]");
        return proceed_answer;
    }
    void Yield() override { calls.emplace_back("Yield"); }
    void SelectDefaultOption(int option) override
    {
        calls.push_back("SelectDefaultOption " + std::to_string(option));
    }
    void ShowPersonality(const std::string &number) override
    {
        calls.push_back("ShowPersonality " + number);
    }
    void ShowSuperbot(const std::string &tier) override { calls.push_back("ShowSuperbot " + tier); }

    // How a message box appears in calls: text, then its caption or <title> for the program's.
    static std::string Message(const std::string &text, const Caption &caption)
    {
        return "Message \"" + text + "\" caption " + (caption ? '"' + *caption + '"' : "<title>");
    }

    std::vector<std::string> calls;
    bool proceed_answer = false; // what AskToProceed answers
};

// The view calls that end every reading that got past the first section header.
inline std::vector<std::string> FinishCalls(int option)
{
    return {"SelectDefaultOption " + std::to_string(option), "Yield", "ShowPersonality 1"};
}

inline std::string ReadErrorMessage()
{
    return FakeView::Message("Error with reading config file", kProgramTitle);
}

inline std::string InvalidLineMessage(const std::string &line)
{
    return FakeView::Message("Invalid line:\r\n" + line, "Error");
}

// Joins lines, each ended by the given terminator.
inline std::string Joined(const std::vector<std::string> &lines, const std::string &end = "\r\n")
{
    std::string text;
    for (const std::string &line : lines)
        text += line + end;
    return text;
}

inline std::string ReadBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::random_device device;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path()
                / ("voltara-" + std::to_string(device()) + std::to_string(device()));
            if (std::filesystem::create_directory(path_))
                return;
        }
        throw std::runtime_error("no scratch folder");
    }
    ~ScratchFolder()
    {
        // Folders that refuse changes and read-only files would keep their place.
        std::error_code ignored;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            if (!entry.is_symlink(ignored))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                    std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::permissions(
            path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }
    std::string operator/(const std::string &name) const { return (path_ / name).string(); }

    // The names in the folder, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

// The permission bits of a file, and setting them. On Windows only the owner's write bit
// counts: without it the file carries the read-only attribute, and all three classes show the
// owner's bits.
inline unsigned PermissionsOf(const std::filesystem::path &path)
{
    return static_cast<unsigned>(std::filesystem::status(path).permissions());
}

inline void SetPermissions(const std::filesystem::path &path, unsigned bits)
{
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(bits));
}

// The running test program, as the system names it, with links resolved.
inline std::filesystem::path ExecutablePath()
{
#ifdef _WIN32
    wchar_t buffer[MAX_PATH + 1] = {};
    return std::filesystem::path(buffer, buffer + GetModuleFileNameW(nullptr, buffer, MAX_PATH));
#else
    return std::filesystem::canonical("/proc/self/exe");
#endif
}

// System error codes the tests inject or expect (Windows' own codes there, errno values
// elsewhere), and the system's own text for one.
#ifdef _WIN32
#define VOLTARA_SYSTEM_ERROR(windows, posix) windows
#else
#define VOLTARA_SYSTEM_ERROR(windows, posix) posix
#endif
inline constexpr int kDiskFull = VOLTARA_SYSTEM_ERROR(ERROR_DISK_FULL, ENOSPC);
inline constexpr int kAccessDenied = VOLTARA_SYSTEM_ERROR(ERROR_ACCESS_DENIED, EACCES);
inline constexpr int kNoSuchFolder = VOLTARA_SYSTEM_ERROR(ERROR_PATH_NOT_FOUND, ENOENT);
inline constexpr int kOtherDevice = VOLTARA_SYSTEM_ERROR(ERROR_NOT_SAME_DEVICE, EXDEV);
inline constexpr int kIsAFolder = VOLTARA_SYSTEM_ERROR(ERROR_ACCESS_DENIED, EISDIR);
#undef VOLTARA_SYSTEM_ERROR

inline std::string SystemErrorText(int code)
{
#ifdef _WIN32
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string message = text;
    message.erase(message.find_last_not_of("\r\n ") + 1);
    return message;
#else
    return std::strerror(code);
#endif
}

// Makes a file unreadable for this process while the object lives: on Windows by holding it
// open without sharing, as another program may; elsewhere by taking away every permission.
// Works() is false where nothing can make it unreadable (root reads any file).
class LockedFile
{
public:
    explicit LockedFile(const std::filesystem::path &path)
    {
#ifdef _WIN32
        handle_ = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        works_ = handle_ != INVALID_HANDLE_VALUE;
#else
        works_ = geteuid() != 0;
        SetPermissions(path, 0);
#endif
    }
    ~LockedFile()
    {
#ifdef _WIN32
        if (works_)
            CloseHandle(handle_);
#endif
    }
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    bool Works() const
    {
        return works_;
    }

private:
    bool works_ = false;
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
};

#ifndef _WIN32
// A mount namespace of the calling process's own, so that its mounts go with it. An ordinary
// user gets one inside a user namespace of its own, mapped to itself.
inline bool EnterPrivateMounts()
{
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (uid != 0) {
        if (unshare(CLONE_NEWUSER) != 0)
            return false;
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << uid << ' ' << uid << " 1";
        std::ofstream("/proc/self/gid_map") << gid << ' ' << gid << " 1";
    }
    return unshare(CLONE_NEWNS) == 0
        && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Runs body in a child process (so that what it changes of the process, its user or its mounts,
// goes with it) and returns the text it returned; nullopt when the child could not run or died.
inline std::optional<std::string> InChildProcess(const std::function<std::string()> &body)
{
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string result = body();
        [[maybe_unused]] const ssize_t sent = write(channel[1], result.data(), result.size());
        _exit(0);
    }
    close(channel[1]);
    if (child < 0) {
        close(channel[0]);
        return std::nullopt;
    }
    std::string result;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return std::nullopt;
    return result;
}
#endif

} // namespace voltara::test
