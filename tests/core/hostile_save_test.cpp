// Saves and reads where others are in the way: other writers, files changed behind the
// editor's back, huge files, pipes and devices, other users' links and files, bind mounts.
#include "core/personality_file.h"
#include "core/text.h"
#include "core_test_support.h"
#include "platform/read.h"
#include "platform/test_hooks.h"

#include <gtest/gtest.h>

#include <chrono>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace voltara {
namespace {

using test::FakeView;
using test::ReadBytes;
using Calls = std::vector<std::string>;

const std::string kOldBytes = "old contents\r\nkept as they were\r\n";
const std::string kSaved = FakeView::Message("File successfully saved", "");

class HostileSaveTest : public testing::Test
{
protected:
    ~HostileSaveTest() override
    {
        SetSaveFaultHook(nullptr);
        SetLockWait(std::chrono::milliseconds(5000));
    }

    bool Save(const std::string &path) { return WritePersonalityFile(config, path, view); }
    std::string Failure(const std::string &path, const std::string &reason) const
    {
        return FakeView::Message("File: \"" + path + "\" could not be saved\r\n" + reason, "Error");
    }
    const std::string &Expected() const
    {
        static const std::string bytes = ReadBytes(VOLTARA_TEST_DATA "/default_personality.cfg");
        return bytes;
    }

    PersonalityConfig config = test::DefaultPersonalityConfig();
    FakeView view;
    test::ScratchFolder folder;
};

TEST_F(HostileSaveTest, AFileChangedSinceItWasReadIsOverwrittenOnlyWhenTheUserAgrees)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, Expected());
    ReadPersonalityFile(config, path, view);
    // The editor's own saves are no change, however often it saves.
    view.calls.clear();
    EXPECT_TRUE(Save(path));
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(view.calls, (Calls {kSaved, kSaved}));

    test::WriteBytes(path, kOldBytes);
    view.calls.clear();
    EXPECT_FALSE(Save(path));
    const std::string ask =
        "Ask " + FakeView::Message(messages::ChangedFileText(path), kProgramTitle) + " [Overwrite]";
    EXPECT_EQ(view.calls, Calls {ask});
    EXPECT_EQ(ReadBytes(path), kOldBytes);

    view.proceed_answer = true;
    view.calls.clear();
    EXPECT_TRUE(Save(path));
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(view.calls, (Calls {ask, kSaved, kSaved}));
    EXPECT_EQ(ReadBytes(path), Expected());
}

TEST_F(HostileSaveTest, AFileNeverReadOrSavedHereIsNotChecked)
{
    const std::string path = folder / "other.cfg";
    test::WriteBytes(path, kOldBytes);
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(view.calls, Calls {kSaved});
}

TEST_F(HostileSaveTest, AFileLargerThanAConfigurationFileIsNotReadAndNotTakenForLoaded)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, Expected() + std::string(kMaxConfigFileBytes, '#'));
    const auto size = static_cast<std::uint64_t>(std::filesystem::file_size(path));
    EXPECT_EQ(ReadPersonalityFile(config, path, view), ReadOutcome::TooLarge);
    EXPECT_EQ(view.calls,
        Calls {
            FakeView::Message(messages::TooLargeText(path, size, kMaxConfigFileBytes), "Error")});
    // Nothing points a Save at it: the editors ask for a name instead.
    EXPECT_EQ(config.LoadedPath, "");
    EXPECT_EQ(config.Bot(1), test::DefaultRecord());

    std::filesystem::resize_file(path, kMaxConfigFileBytes);
    view.calls.clear();
    EXPECT_EQ(ReadPersonalityFile(config, path, view), ReadOutcome::Read);
    EXPECT_EQ(config.LoadedPath, path);
}

TEST_F(HostileSaveTest, ATemporaryFileOfAKilledSaveIsRemovedByTheNextOneAndNothingElse)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    test::WriteBytes(folder / ".bot_personality.cfg.0123456789ab.tmp", "left by a killed save");
    test::WriteBytes(folder / ".bot_personality.cfg.backup.tmp", "the user's own");
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(folder.Names(), (Calls {".bot_personality.cfg.backup.tmp", "bot_personality.cfg"}));
}

// The line reader of large files against the one of the configuration files: the same lines,
// whatever falls on the boundaries of its buffer, and a very long line cut short.
TEST(TextFileReaderTest, GivesTheLinesOfSplitLinesInBoundedPieces)
{
    test::ScratchFolder folder;
    std::string content = "\xEF\xBB\xBF"
                          "first\r\n";
    content += std::string(64 * 1024 - content.size() - 1, 'a') + "\r\nafter a CR LF cut in two\r";
    content += "\n\nlone LF\rlone CR\r\n" + std::string(200 * 1024, 'l') + "\r\nlast";
    const std::string path = folder / "titles.txt";
    test::WriteBytes(path, content);

    std::vector<std::string> expected = SplitLines(content);
    expected[6].resize(TextFileReader::kMaxLineBytes);
    TextFileReader reader;
    std::string reason;
    ASSERT_TRUE(reader.Open(path, reason)) << reason;
    std::vector<std::string> lines;
    while (auto line = reader.NextLine())
        lines.push_back(*line);
    EXPECT_EQ(lines, expected);
}

#ifdef _WIN32

// What a user may have set on the file stays: hidden, archive, and when it was made.
TEST_F(HostileSaveTest, TheFilesAttributesAndCreationTimeStay)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    const std::wstring wide = std::filesystem::path(path).wstring();
    HANDLE file = CreateFileW(
        wide.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME made = {};
    made.dwHighDateTime = 0x01C0A000; // early in 2001
    ASSERT_TRUE(SetFileTime(file, &made, nullptr, nullptr));
    CloseHandle(file);
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FILE_ATTRIBUTE_DATA before = {};
    ASSERT_TRUE(GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &before));
    // Wine keeps no creation time of its own; there is then none to keep.
    const bool kept_by_system = before.ftCreationTime.dwHighDateTime == made.dwHighDateTime;

    EXPECT_TRUE(Save(path));
    EXPECT_EQ(ReadBytes(path), Expected());
    WIN32_FILE_ATTRIBUTE_DATA now = {};
    ASSERT_TRUE(GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &now));
    EXPECT_EQ(now.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
        static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    if (kept_by_system) {
        EXPECT_EQ(now.ftCreationTime.dwHighDateTime, made.dwHighDateTime);
    }
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

// A program (the game, an indexer) that holds the file open without letting it be deleted
// bars the replacement, not a plain write: the save writes in place.
TEST_F(HostileSaveTest, AFileHeldOpenWithoutDeleteSharingIsWrittenInPlace)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    HANDLE held = CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Save(path));
    CloseHandle(held);
    EXPECT_EQ(view.calls, Calls {kSaved});
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

#else

bool IsRoot()
{
    return geteuid() == 0;
}

// Another process holds the writers' lock: the save waits, then gives up and keeps the file;
// once that process is gone, its lock is too.
TEST_F(HostileSaveTest, AnotherWritersLockMakesTheSaveWaitAndGiveUpUntilItEnds)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const int fd = open(path.c_str(), O_RDONLY);
        flock(fd, LOCK_EX);
        [[maybe_unused]] const ssize_t sent = write(ready[1], "x", 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    SetLockWait(std::chrono::milliseconds(200));
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls,
        Calls {Failure(path, "Another program is saving it and kept it locked; try again later")});
    EXPECT_EQ(ReadBytes(path), kOldBytes);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(ReadBytes(path), Expected());
}

// A pipe, a link to one, and a device stay what they are: refused, never opened, never waited
// on.
TEST_F(HostileSaveTest, WhatIsNotARegularFileIsRefusedAndStaysWhatItWas)
{
    const std::string fifo = folder / "pipe.cfg";
    const std::string link = folder / "link.cfg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_symlink("pipe.cfg", link);
    std::vector<std::string> targets = {fifo, link};
    const std::string device = folder / "full.cfg";
    if (IsRoot() && mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        targets.push_back(device);
    for (const std::string &target : targets) {
        SCOPED_TRACE(target);
        view.calls.clear();
        EXPECT_FALSE(Save(target));
        EXPECT_EQ(view.calls, Calls {Failure(target, "It is not a regular file")});
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    if (targets.size() == 3) {
        EXPECT_TRUE(std::filesystem::is_character_file(device));
    }
    EXPECT_EQ(folder.Names().size(), targets.size());
}

// The kernel's rule for shared sticky folders: another user's link there is not followed, not
// even to make a file at its end; the caller's own link and the folder owner's are.
TEST_F(HostileSaveTest, AnotherUsersLinkInASharedFolderIsNotFollowed)
{
    if (!IsRoot())
        GTEST_SKIP() << "making another user's link needs root";
    const std::string shared = folder / "shared";
    std::filesystem::create_directory(shared);
    test::SetPermissions(shared, 01777);
    ASSERT_EQ(chown(shared.c_str(), 65534, 65534), 0);
    std::filesystem::create_directory(folder / "private");
    const std::string secret = folder / "private/secret.cfg";
    test::WriteBytes(secret, kOldBytes);
    const std::string planted = shared + "/bot_personality.cfg";
    const std::string dangling = shared + "/new.cfg";
    std::filesystem::create_symlink(secret, planted);
    std::filesystem::create_symlink(folder / "private/created.cfg", dangling);
    ASSERT_EQ(lchown(planted.c_str(), 4242, 4242), 0);
    ASSERT_EQ(lchown(dangling.c_str(), 4242, 4242), 0);

    EXPECT_FALSE(Save(planted));
    EXPECT_FALSE(Save(dangling));
    const std::string why = "It is reached through a link that another user made in a shared "
                            "folder, which is not followed";
    EXPECT_EQ(view.calls, (Calls {Failure(planted, why), Failure(dangling, why)}));
    EXPECT_EQ(ReadBytes(secret), kOldBytes);
    EXPECT_FALSE(std::filesystem::exists(folder / "private/created.cfg"));

    ASSERT_EQ(lchown(planted.c_str(), 65534, 65534), 0); // the folder owner's own link
    EXPECT_TRUE(Save(planted));
    EXPECT_EQ(ReadBytes(secret), Expected());
}

// A container's configuration file is a file bind-mounted over the target: it cannot be
// replaced, but it can be written.
TEST_F(HostileSaveTest, AFileBindMountedOverTheTargetIsWrittenInPlace)
{
    const std::string host = folder / "host.cfg";
    const std::string mounted = folder / "bot_personality.cfg";
    test::WriteBytes(host, kOldBytes);
    test::WriteBytes(mounted, "");
    const auto result = test::InChildProcess([&]() -> std::string {
        if (!test::EnterPrivateMounts()
            || mount(host.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return "skip";
        return Save(mounted) ? "saved" : view.calls.back();
    });
    if (!result || *result == "skip")
        GTEST_SKIP() << "no bind mount can be made here";
    EXPECT_EQ(*result, "saved");
    EXPECT_EQ(ReadBytes(host), Expected());
    EXPECT_EQ(folder.Names(), (Calls {"bot_personality.cfg", "host.cfg"}));
}

// A save killed between naming its temporary file and the rename leaves it: the next save
// removes it whoever made it (root saves another user's file as that user's), also before a new
// file, but never one that a save under way still holds.
TEST_F(HostileSaveTest, EveryTemporaryFileNoSaveHoldsIsRemovedByTheNextSave)
{
    const std::string path = folder / "bot_personality.cfg";
    const std::string left = folder / ".bot_personality.cfg.0123456789ab.tmp";
    const std::string held = folder / ".bot_personality.cfg.000000000001.tmp";
    const std::string before_new = folder / ".new.cfg.000000000000.tmp";
    test::WriteBytes(path, kOldBytes);
    for (const std::string &temporary : {left, held, before_new}) {
        test::WriteBytes(temporary, "left by a killed save");
        if (IsRoot()) {
            ASSERT_EQ(chown(temporary.c_str(), 65534, 65534), 0);
        }
    }
    const int holder = open(held.c_str(), O_RDONLY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_TRUE(Save(path));
    EXPECT_TRUE(Save(folder / "new.cfg"));
    EXPECT_EQ(folder.Names(),
        (Calls {".bot_personality.cfg.000000000001.tmp", "bot_personality.cfg", "new.cfg"}));
    close(holder);
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(folder.Names(), (Calls {"bot_personality.cfg", "new.cfg"}));
}

// Leaves a write in place of the file at path cut short, as a killed save would leave it: its
// journal beside it and the file torn.
void CutShortInPlace(PersonalityConfig &config, const std::string &path)
{
    SetSaveFaultHook([](SaveStep step) {
        if (step == SaveStep::WriteInPlace)
            return SaveFault {ENOSPC, kOldBytes.size() + 10};
        return SaveFault {
            step == SaveStep::KeepAttributes || step == SaveStep::CutShort ? EPERM : 0};
    });
    FakeView view;
    WritePersonalityFile(config, path, view);
    SetSaveFaultHook(nullptr);
}

// A journal is copied into its file only where whoever made it could have written the file
// (this user, the file's owner, root): anyone who may add a file to a shared folder could plant
// one. A reader that may not complete the file says so and why.
TEST_F(HostileSaveTest, AJournalIsTrustedOnlyFromThoseWhoMayWriteTheFile)
{
    if (!IsRoot())
        GTEST_SKIP() << "making another user's journal needs root";
    const std::string path = folder / "bot_personality.cfg";
    const std::string journal = folder / ".bot_personality.cfg.journal";
    test::WriteBytes(path, kOldBytes);
    test::SetPermissions(folder.path(), 0755);
    CutShortInPlace(config, path);
    const std::string torn = ReadBytes(path);
    ASSERT_EQ(chown(journal.c_str(), 4242, 4242), 0);
    PersonalityConfig read;
    BuildConfigPath(read, "/nowhere");
    EXPECT_EQ(ReadPersonalityFile(read, path, view), ReadOutcome::FailedBeforeRecords);
    EXPECT_EQ(ReadBytes(path), torn);

    ASSERT_EQ(chown(journal.c_str(), 0, 0), 0);
    const auto as_nobody = test::InChildProcess([&]() -> std::string {
        if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)
            return "no user";
        std::string bytes;
        std::string reason;
        FileStamp stamp;
        return ReadFileBytes(path, kMaxConfigFileBytes, bytes, stamp, reason) == ReadStatus::Failed
            ? reason
            : bytes;
    });
    EXPECT_EQ(as_nobody,
        "A save of it was cut short, and could not be completed: " + test::SystemErrorText(EACCES));
    view.calls.clear();
    EXPECT_EQ(ReadPersonalityFile(read, path, view), ReadOutcome::Read);
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(folder.Names(), Calls {"bot_personality.cfg"});
}

// A file's owner, group and permissions as "owner:group mode".
std::string OwnerGroupAndMode(const std::string &path)
{
    struct stat info = {};
    stat(path.c_str(), &info);
    char text[64];
    std::snprintf(text, sizeof text, "%u:%u %o", static_cast<unsigned>(info.st_uid),
        static_cast<unsigned>(info.st_gid), static_cast<unsigned>(info.st_mode & 07777));
    return text;
}

// Saves as uid 65534 (in group 4242 when in_group) in a child process: "saved", or the message.
std::string SaveAsNobody(PersonalityConfig &config, const std::string &path, bool in_group)
{
    const auto result = test::InChildProcess([&]() -> std::string {
        const gid_t groups[] = {4242};
        if (setgroups(in_group ? 1 : 0, groups) != 0 || setresgid(65534, 65534, 65534) != 0
            || setresuid(65534, 65534, 65534) != 0)
            return "no user";
        FakeView view;
        return WritePersonalityFile(config, path, view) ? "saved" : view.calls.back();
    });
    return result.value_or("died");
}

// A member of the file's group who is not its owner: the group, the set-group-id bit and the
// permissions stay. Where the group could not be kept, or the folder forbids replacing another
// user's file, the file is written in place and stays its owner's and its group's.
TEST_F(HostileSaveTest, AnotherUsersFileKeepsItsGroupAndModeOrIsWrittenInPlace)
{
    if (!IsRoot())
        GTEST_SKIP() << "saving as another user needs root";
    for (const auto &[folder_mode, in_group, owner] : {
             std::tuple {0777u,  true,  "65534:4242 2664"},
              std::tuple {0777u,  false, "0:4242 666"     },
             std::tuple {01777u, true,  "0:4242 2664"    }
    }) {
        SCOPED_TRACE(std::to_string(folder_mode) + (in_group ? " member" : " stranger"));
        test::ScratchFolder scratch;
        test::SetPermissions(scratch.path(), folder_mode);
        const std::string path = scratch / "bot_personality.cfg";
        test::WriteBytes(path, kOldBytes);
        ASSERT_EQ(chown(path.c_str(), 0, 4242), 0);
        ASSERT_EQ(chmod(path.c_str(), in_group ? 02664 : 0666), 0);
        EXPECT_EQ(SaveAsNobody(config, path, in_group), "saved");
        EXPECT_EQ(OwnerGroupAndMode(path), owner);
        EXPECT_EQ(ReadBytes(path), Expected());
        EXPECT_EQ(scratch.Names(), Calls {"bot_personality.cfg"});
    }
}

TEST_F(HostileSaveTest, ExtendedAttributesAndTheAccessListStay)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    if (setxattr(path.c_str(), "user.voltara", "kept", 4, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    const bool acl = std::system(("setfacl -m u:65534:rw '" + path + "' 2>/dev/null").c_str()) == 0;
    EXPECT_TRUE(Save(path));
    char value[16] = {};
    EXPECT_EQ(getxattr(path.c_str(), "user.voltara", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    if (acl) {
        EXPECT_GT(getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0), 0);
    }
    EXPECT_EQ(ReadBytes(path), Expected());
}

// Permissions that cannot be set on the new file do not get lost: the file is written in place
// instead. A folder that cannot be synced makes the save's success uncertain, which is said.
TEST_F(HostileSaveTest, RefusedPermissionsWriteInPlaceAndAFailedFolderSyncIsReported)
{
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    test::SetPermissions(path, 0640);
    SetSaveFaultHook([](SaveStep step) {
        return step == SaveStep::KeepAttributes ? SaveFault {EPERM} : SaveFault {};
    });
    EXPECT_TRUE(Save(path));
    EXPECT_EQ(test::PermissionsOf(path), 0640u);
    EXPECT_EQ(ReadBytes(path), Expected());

    SetSaveFaultHook([](SaveStep step) {
        return step == SaveStep::SyncFolder ? SaveFault {EIO} : SaveFault {};
    });
    view.calls.clear();
    EXPECT_FALSE(Save(path));
    EXPECT_EQ(view.calls, Calls {Failure(path, test::SystemErrorText(EIO))});
}

#endif

} // namespace
} // namespace voltara
