// Saves either replace the whole file or leave everything as it was, and say which.
#include "core/personality_file.h"
#include "core_test_support.h"
#include "platform/test_hooks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

#ifndef _WIN32
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace voltara {
namespace {

using test::FakeView;
using test::PermissionsOf;
using test::ReadBytes;
using test::ScratchFolder;
using test::SetPermissions;
using Calls = std::vector<std::string>;

const std::string kOldBytes = "old contents\r\nkept as they were\r\n";

#ifdef _WIN32
#define SKIP_ON_WINDOWS(why) GTEST_SKIP() << why
#else
#define SKIP_ON_WINDOWS(why) (void)0
#endif

std::vector<std::string> NamesIn(const std::filesystem::path &path)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    return names;
}

// Root may create files in any folder, and on Windows only an access list would refuse them;
// the folder's refusal is then simulated.
void RefuseNewFilesIn(const std::string &folder)
{
#ifndef _WIN32
    if (geteuid() != 0) {
        SetPermissions(folder, 0555);
        return;
    }
#endif
    (void)folder;
    SetSaveFaultHook([](SaveStep step) {
        return step == SaveStep::CreateTemporary ? SaveFault {test::kAccessDenied} : SaveFault {};
    });
}

class SaveTest : public testing::Test
{
protected:
    ~SaveTest() override { SetSaveFaultHook(nullptr); }

    // Makes one step of the save fail with this system error, after writing that many bytes.
    static void FailAt(SaveStep failing, int error = test::kDiskFull, std::size_t after = 0)
    {
        SetSaveFaultHook([=](SaveStep step) {
            return step == failing ? SaveFault {error, after} : SaveFault {};
        });
    }

    static std::string ErrorMessage(const std::string &path, int error)
    {
        return FakeView::Message(
            "File: \"" + path + "\" could not be saved\r\n" + test::SystemErrorText(error),
            "Error");
    }

    bool Save(const std::string &name) { return WritePersonalityFile(config, name, view); }

    // Saves over a file of these bytes and permissions (in a folder that refuses new files, if
    // so asked): the file alone holds the new bytes, with the permissions it had.
    void ExpectReplacedKeepingPermissions(
        const std::string &old_bytes, unsigned bits, bool refuse_new_files = false)
    {
        const std::string path = folder / "bot_personality.cfg";
        test::WriteBytes(path, old_bytes);
        SetPermissions(path, bits);
        const unsigned permissions = PermissionsOf(path);
        if (refuse_new_files)
            RefuseNewFilesIn(folder.path().string());
        EXPECT_TRUE(Save(path));
        EXPECT_EQ(view.calls, Calls {FakeView::Message("File successfully saved", "")});
        EXPECT_EQ(ReadBytes(path), Expected());
        EXPECT_EQ(PermissionsOf(path), permissions);
        EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
    }

    const std::string &Expected()
    {
        static const std::string bytes = ReadBytes(VOLTARA_TEST_DATA "/default_personality.cfg");
        return bytes;
    }

    PersonalityConfig config = test::DefaultPersonalityConfig();
    FakeView view;
    ScratchFolder folder;
};

TEST_F(SaveTest, IntoAMissingFolderFailsAndCreatesNothing)
{
    const std::string path = folder / "missing/bot_personality.cfg";
    const PersonalityConfig before = config;
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, test::kNoSuchFolder)});
    EXPECT_TRUE(folder.Names().empty());
    EXPECT_EQ(config.Bots, before.Bots);
    EXPECT_EQ(config.DefaultPersonality, before.DefaultPersonality);
}

TEST_F(SaveTest, OntoAReadOnlyFileLeavesItUntouched)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    SetPermissions(path, 0444);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, test::kAccessDenied)});
    EXPECT_EQ(ReadBytes(path), kOldBytes);
    EXPECT_EQ(PermissionsOf(path), 0444u);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

// A failure at any step after the temporary file exists removes it and keeps the target.
class SaveFailureTest : public SaveTest,
                        public testing::WithParamInterface<std::pair<SaveStep, std::size_t>>
{
};

TEST_P(SaveFailureTest, LeavesTheTargetAsItWasAndNoTemporaryFile)
{
    const auto [step, after] = GetParam();
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    FailAt(step, test::kDiskFull, after);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, test::kDiskFull)});
    EXPECT_EQ(ReadBytes(path), kOldBytes);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

INSTANTIATE_TEST_SUITE_P(Steps, SaveFailureTest,
    testing::Values(std::pair {SaveStep::CreateTemporary, std::size_t {0}},
        std::pair {SaveStep::Write, std::size_t {0}},
        std::pair {SaveStep::Write, std::size_t {5000}},
        std::pair {SaveStep::Sync, std::size_t {0}},
        std::pair {SaveStep::Replace, std::size_t {0}}));

TEST_F(SaveTest, NewFileFailingHalfwayLeavesNothingBehind)
{
    const std::string path = folder / "new.cfg";
    FailAt(SaveStep::Write, test::kDiskFull, 5000);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, test::kDiskFull)});
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SaveTest, KeepsThePermissionsOfAnExistingFile)
{
    ExpectReplacedKeepingPermissions(kOldBytes, 0600);
}

TEST_F(SaveTest, NewFileGetsTheUsualPermissions)
{
#ifdef _WIN32
    GTEST_SKIP() << "no file-creation mask there";
#else
    const mode_t mask = umask(022);
    const std::string path = folder / "bot_personality.cfg";
    EXPECT_TRUE(Save(path));
    umask(mask);
    EXPECT_EQ(PermissionsOf(path), 0644u);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
#endif
}

TEST_F(SaveTest, ThroughASymbolicLinkWritesTheTargetAndKeepsTheLink)
{
    SKIP_ON_WINDOWS("no links can be made there (tests/windows/saves.sh checks Wine's)");
    std::filesystem::create_directory(folder.path() / "real");
    std::filesystem::create_directory(folder.path() / "links");
    const std::string target = folder / "real/bot_personality.cfg";
    const std::string link = folder / "links/bot_personality.cfg";
    test::WriteBytes(target, kOldBytes);
    SetPermissions(target, 0640);
    std::filesystem::create_symlink("../real/bot_personality.cfg", link);

    EXPECT_TRUE(Save(link));
    EXPECT_EQ(view.calls, Calls {FakeView::Message("File successfully saved", "")});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), "../real/bot_personality.cfg");
    EXPECT_EQ(ReadBytes(target), Expected());
    EXPECT_EQ(PermissionsOf(target), 0640u);
    EXPECT_EQ(NamesIn(folder.path() / "real"), Calls {"bot_personality.cfg"});
    EXPECT_EQ(NamesIn(folder.path() / "links"), Calls {"bot_personality.cfg"});
}

TEST_F(SaveTest, ThroughADanglingLinkCreatesTheTarget)
{
    SKIP_ON_WINDOWS("no links can be made there (tests/windows/saves.sh checks Wine's)");
    const std::string link = folder / "bot_personality.cfg";
    std::filesystem::create_symlink("elsewhere.cfg", link);
    EXPECT_TRUE(Save(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(folder / "elsewhere.cfg"), Expected());
}

// A file of two names stays one file: both names see the new bytes.
TEST_F(SaveTest, AFileWithTwoNamesStaysOneFile)
{
    const std::string path = folder / "bot_personality.cfg";
    const std::string other = folder / "linked.cfg";
    test::WriteBytes(path, kOldBytes);
    std::filesystem::create_hard_link(path, other);
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(ReadBytes(other), Expected());
    EXPECT_EQ(folder.Names(), (Calls {"bot_personality.cfg", "linked.cfg"}));
}

TEST_F(SaveTest, WritableFileInAReadOnlyFolderIsStillSaved)
{
    ExpectReplacedKeepingPermissions(kOldBytes + kOldBytes + kOldBytes, 0664, true);
}

TEST_F(SaveTest, NewFileInAReadOnlyFolderFails)
{
    const std::string path = folder / "bot_personality.cfg";
    RefuseNewFilesIn(folder.path().string());
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, test::kAccessDenied)});
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SaveTest, OntoAFolderFails)
{
    const std::string path = folder / "sub.cfg";
    std::filesystem::create_directory(path);
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, test::kIsAFolder)});
    EXPECT_TRUE(std::filesystem::is_empty(path));
}

TEST_F(SaveTest, ThroughALoopOfLinksFailsAndKeepsTheLinks)
{
    SKIP_ON_WINDOWS("no links can be made there (tests/windows/saves.sh checks Wine's)");
    const std::string path = folder / "a.cfg";
    std::filesystem::create_symlink("b.cfg", path);
    std::filesystem::create_symlink("a.cfg", folder / "b.cfg");
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, ELOOP)});
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(folder.Names().size(), 2u);
}

#ifndef _WIN32
// Runs save in a child process that sees folder as a read-only file system holding the file
// existing, and returns what save returned; nullopt where the system allows no such mount.
std::optional<std::string> OnReadOnlyFileSystem(const std::string &folder,
    const std::string &existing, const std::function<std::string()> &save)
{
    const auto result = test::InChildProcess([&]() -> std::string {
        if (!test::EnterPrivateMounts() || mount("tmpfs", folder.c_str(), "tmpfs", 0, nullptr) != 0)
            return "\x01"; // not possible here
        test::WriteBytes(existing, kOldBytes);
        if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return "\x01";
        return save();
    });
    if (!result || *result == "\x01")
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
#endif

TEST_F(SaveTest, TargetNameNearTheSystemLimitStillSaves)
{
    const std::string path = folder / (std::string(251, 'n') + ".cfg");
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(folder.Names().size(), 1u);
}

#ifdef _WIN32
// The game may hold its file open without sharing it: the save fails in the system's words and
// the file keeps its bytes.
TEST_F(SaveTest, FileHeldOpenByAnotherProgramKeepsItsBytes)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    {
        const test::LockedFile held(path);
        ASSERT_TRUE(held.Works());
        EXPECT_FALSE(Save(path));
    }
    EXPECT_EQ(view.calls, Calls {ErrorMessage(path, ERROR_SHARING_VIOLATION)});
    EXPECT_EQ(ReadBytes(path), kOldBytes);
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}
#endif

} // namespace
} // namespace voltara
