// Saves either replace the whole file or leave everything as it was, and say which.
#include "core_test_support.h"
#include "personality_file.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace voltara {
namespace {

using test::FakeView;
using test::ReadBytes;
using test::ScratchFolder;
using Calls = std::vector<std::string>;

const std::string kOldBytes = "old contents\r\nkept as they were\r\n";

mode_t ModeOf(const std::string &path)
{
    struct stat info = {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::vector<std::string> NamesIn(const std::filesystem::path &path)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    return names;
}

class SaveTest : public testing::Test
{
protected:
    SaveTest()
    {
        BuildConfigPath(config, "/nowhere");
        for (int n = 1; n <= 9; ++n)
            SetDefaultValues(config, std::to_string(n), kGroupAll);
    }
    ~SaveTest() override { SetSaveFaultHook(nullptr); }

    // Makes one step of the save fail with this system error.
    static void FailAt(SaveStep failing, int error = ENOSPC, int failing_line = -1)
    {
        SetSaveFaultHook([=](SaveStep step, int line) {
            return step == failing && line == failing_line ? error : 0;
        });
    }

    static std::string ErrorMessage(const std::string &path, int error)
    {
        return FakeView::Message(
            "File: \"" + path + "\" could not be saved\r\n" + std::strerror(error), "Error");
    }

    bool Save(const std::string &name) { return WritePersonalityFile(config, name, view); }

    const std::string &Expected()
    {
        static const std::string bytes = ReadBytes(VOLTARA_TEST_DATA "/default_personality.cfg");
        return bytes;
    }

    PersonalityConfig config;
    FakeView view;
    ScratchFolder folder;
};

TEST_F(SaveTest, IntoAMissingFolderFailsAndCreatesNothing)
{
    const std::string path = folder / "missing/bot_personality.cfg";
    const PersonalityConfig before = config;
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, ENOENT)});
    EXPECT_TRUE(folder.Names().empty());
    EXPECT_EQ(config.Bots, before.Bots);
    EXPECT_EQ(config.DefaultPersonality, before.DefaultPersonality);
}

TEST_F(SaveTest, OntoAReadOnlyFileLeavesItUntouched)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    chmod(path.c_str(), 0444);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, EACCES)});
    EXPECT_EQ(ReadBytes(path), kOldBytes);
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

// A failure at any step after the temporary file exists removes it and keeps the target.
class SaveFailureTest : public SaveTest,
                        public testing::WithParamInterface<std::pair<SaveStep, int>>
{
};

TEST_P(SaveFailureTest, LeavesTheTargetAsItWasAndNoTemporaryFile)
{
    const auto [step, line] = GetParam();
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    FailAt(step, ENOSPC, line);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, ENOSPC)});
    EXPECT_EQ(ReadBytes(path), kOldBytes);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

INSTANTIATE_TEST_SUITE_P(Steps, SaveFailureTest,
    testing::Values(std::pair {SaveStep::CreateTemporary, -1}, std::pair {SaveStep::WriteLine, 0},
        std::pair {SaveStep::WriteLine, 300}, std::pair {SaveStep::WriteLine, 491},
        std::pair {SaveStep::Flush, -1}, std::pair {SaveStep::Rename, -1}));

TEST_F(SaveTest, NewFileFailingHalfwayLeavesNothingBehind)
{
    const std::string path = folder / "new.cfg";
    FailAt(SaveStep::WriteLine, ENOSPC, 200);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, ENOSPC)});
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SaveTest, KeepsThePermissionsOfAnExistingFile)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    chmod(path.c_str(), 0600);
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(view.calls, Calls {FakeView::Message("File successfully saved", "")});
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(ModeOf(path), 0600u);
}

TEST_F(SaveTest, NewFileGetsTheUsualPermissions)
{
    const mode_t mask = umask(022);
    const std::string path = folder / "bot_personality.cfg";
    EXPECT_TRUE(Save(path));
    umask(mask);
    EXPECT_EQ(ModeOf(path), 0644u);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

TEST_F(SaveTest, ThroughASymbolicLinkWritesTheTargetAndKeepsTheLink)
{
    std::filesystem::create_directory(folder.path() / "real");
    std::filesystem::create_directory(folder.path() / "links");
    const std::string target = folder / "real/bot_personality.cfg";
    const std::string link = folder / "links/bot_personality.cfg";
    test::WriteBytes(target, kOldBytes);
    chmod(target.c_str(), 0640);
    ASSERT_EQ(symlink("../real/bot_personality.cfg", link.c_str()), 0);

    EXPECT_TRUE(Save(link));
    EXPECT_EQ(view.calls, Calls {FakeView::Message("File successfully saved", "")});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), "../real/bot_personality.cfg");
    EXPECT_EQ(ReadBytes(target), Expected());
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(NamesIn(folder.path() / "real"), Calls {"bot_personality.cfg"});
    EXPECT_EQ(NamesIn(folder.path() / "links"), Calls {"bot_personality.cfg"});
}

TEST_F(SaveTest, ThroughADanglingLinkCreatesTheTarget)
{
    const std::string link = folder / "bot_personality.cfg";
    ASSERT_EQ(symlink("elsewhere.cfg", link.c_str()), 0);
    EXPECT_TRUE(Save(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(folder / "elsewhere.cfg"), Expected());
}

// Root may create files in any folder; the folder's refusal is then simulated.
void RefuseNewFilesIn(const std::string &folder)
{
    if (geteuid() == 0)
        SetSaveFaultHook(
            [](SaveStep step, int) { return step == SaveStep::CreateTemporary ? EACCES : 0; });
    else
        chmod(folder.c_str(), 0555);
}

TEST_F(SaveTest, WritableFileInAReadOnlyFolderIsStillSaved)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes + kOldBytes + kOldBytes);
    chmod(path.c_str(), 0664);
    RefuseNewFilesIn(folder.path().string());
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(view.calls, Calls {FakeView::Message("File successfully saved", "")});
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(ModeOf(path), 0664u);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

TEST_F(SaveTest, NewFileInAReadOnlyFolderFails)
{
    const std::string path = folder / "bot_personality.cfg";
    RefuseNewFilesIn(folder.path().string());
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, EACCES)});
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SaveTest, OntoAFolderFails)
{
    const std::string path = folder / "sub.cfg";
    std::filesystem::create_directory(path);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, EISDIR)});
    EXPECT_TRUE(std::filesystem::is_empty(path));
}

TEST_F(SaveTest, ThroughALoopOfLinksFailsAndKeepsTheLinks)
{
    const std::string path = folder / "a.cfg";
    std::filesystem::create_symlink("b.cfg", path);
    std::filesystem::create_symlink("a.cfg", folder / "b.cfg");
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, ELOOP)});
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(folder.Names().size(), 2u);
}

// A mount namespace of the calling process's own, so that its mounts go with it. An ordinary
// user gets one inside a user namespace of its own, mapped to itself.
bool EnterPrivateMounts()
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

// Runs save in a child process that sees folder as a read-only file system holding the file
// existing, and returns what save returned; nullopt where the system allows no such mount.
std::optional<std::string> OnReadOnlyFileSystem(const std::string &folder,
    const std::string &existing, const std::function<std::string()> &save)
{
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        std::string result = "\x01"; // not possible here
        if (EnterPrivateMounts() && mount("tmpfs", folder.c_str(), "tmpfs", 0, nullptr) == 0) {
            test::WriteBytes(existing, kOldBytes);
            if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0)
                result = save();
        }
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
    waitpid(child, nullptr, 0);
    if (result == "\x01")
        return std::nullopt;
    return result;
}

TEST_F(SaveTest, OnAReadOnlyFileSystemGivesTheSystemsReason)
{
    const std::string existing = folder / "bot_personality.cfg";
    const std::string added = folder / "new.cfg";
    const auto messages = OnReadOnlyFileSystem(folder.path().string(), existing, [&] {
        Save(existing);
        Save(added);
        std::string all;
        for (const std::string &call : view.calls)
            all += call + '\n';
        return all;
    });
    if (!messages)
        GTEST_SKIP() << "no read-only file system can be mounted here";
    EXPECT_EQ(*messages, ErrorMessage(existing, EROFS) + '\n' + ErrorMessage(added, EROFS) + '\n');
}

TEST_F(SaveTest, TargetNameNearTheSystemLimitStillSaves)
{
    const std::string path = folder / (std::string(251, 'n') + ".cfg");
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(folder.Names().size(), 1u);
}

} // namespace
} // namespace voltara
