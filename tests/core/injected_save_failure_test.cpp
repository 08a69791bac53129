// Every point at which a save of either file can fail: partway through the write, at the sync,
// at the replacement, when the temporary file cannot be made (a full disk, a folder that
// refuses new files and then an in-place write that fails partway). Each time the old file
// keeps every byte, no temporary file is left, the error names the path, no success message
// comes, and the records are as they were.
#include "core/personality_file.h"
#include "core/superbot_file.h"
#include "core_test_support.h"
#include "platform/test_hooks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

namespace voltara {
namespace {

using test::FakeView;
using test::ReadBytes;
using test::ScratchFolder;

const std::string kOldBytes = "# the user's own file\r\ndefault_personality 3\r\n[BOT1]\r\n";

// One way a save can fail: which step, after how many bytes, and with what error.
struct FailurePoint
{
    SaveStep step;
    std::size_t after;
    int error;
    bool refuse_new_files; // the temporary file is refused first, so the save writes in place

    std::string Describe() const
    {
        static const char *const kSteps[] = {
            "create", "write", "sync", "attributes", "replace", "sync folder", "in-place"};
        return std::string(refuse_new_files ? "refused folder, " : "")
            + kSteps[static_cast<int>(step)] + " after " + std::to_string(after);
    }
};

std::vector<FailurePoint> AllPoints(std::size_t size)
{
    using test::kDiskFull;
    std::vector<FailurePoint> points = {
        {SaveStep::CreateTemporary, 0, kDiskFull, false},
        {SaveStep::Sync,            0, kDiskFull, false},
        {SaveStep::Replace,         0, kDiskFull, false},
        {SaveStep::Sync,            0, kDiskFull, true },
    };
    for (const std::size_t after : {std::size_t {0}, std::size_t {1}, size / 2, size - 1}) {
        points.push_back({SaveStep::Write, after, kDiskFull, false});
        points.push_back({SaveStep::WriteInPlace, after, kDiskFull, true});
    }
    return points;
}

void Inject(const FailurePoint &point)
{
    SetSaveFaultHook([point](SaveStep step) {
        if (point.refuse_new_files && step == SaveStep::CreateTemporary)
            return SaveFault {test::kAccessDenied};
        return step == point.step ? SaveFault {point.error, point.after} : SaveFault {};
    });
}

// Saves the records through write at every point where a save of their file can fail, and
// checks each time everything the user must keep.
template <typename Config, typename Records>
void ExpectNothingLostAtAnyPoint(Config &config, const Records &records,
    const std::vector<std::string> &lines, bool (*write)(Config &, const std::string &, Host &))
{
    for (const FailurePoint &point : AllPoints(JoinedLines(lines).size())) {
        SCOPED_TRACE(point.Describe());
        ScratchFolder folder;
        const std::string path = folder / "settings.cfg";
        test::WriteBytes(path, kOldBytes);
        const Records before = records;
        FakeView view;
        Inject(point);
        const bool saved = write(config, path, view);
        SetSaveFaultHook(nullptr);

        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadBytes(path), kOldBytes);
        EXPECT_EQ(folder.Names(), std::vector<std::string> {"settings.cfg"});
        EXPECT_EQ(view.calls,
            std::vector<std::string> {FakeView::Message("File: \"" + path
                    + "\" could not be saved\r\n" + test::SystemErrorText(point.error),
                "Error")});
        EXPECT_TRUE(records == before);
    }
}

TEST(InjectedSaveFailureTest, PersonalityFileKeepsEverythingAtEveryPoint)
{
    PersonalityConfig config = test::DefaultPersonalityConfig();
    config.Bot(4).melee_percent = " 2.5";
    ExpectNothingLostAtAnyPoint(
        config, config.Bots, PersonalityFileLines(config), WritePersonalityFile);
}

TEST(InjectedSaveFailureTest, SuperbotFileKeepsEverythingAtEveryPoint)
{
    SuperbotConfig config = test::DefaultSuperbotConfig();
    config.Tier(2).ki_gain = "1e3";
    ExpectNothingLostAtAnyPoint(
        config, config.Superbots, SuperbotFileLines(config), WriteSuperbotFile);
}

// Makes a scratch folder the user's own folder for journals ($XDG_STATE_HOME, on Windows the
// local application-data folder) while it lives.
class OwnStateFolder
{
public:
#ifdef _WIN32
    static constexpr const char *kVariable = "LOCALAPPDATA";
#else
    static constexpr const char *kVariable = "XDG_STATE_HOME";
#endif
    OwnStateFolder()
    {
        const char *old = std::getenv(kVariable);
        old_ = old ? std::optional<std::string>(old) : std::nullopt;
        Set(folder_.path().string());
    }
    ~OwnStateFolder()
    {
        Set(old_.value_or(""));
    }
    OwnStateFolder(const OwnStateFolder &) = delete;
    OwnStateFolder &operator=(const OwnStateFolder &) = delete;

    // The files in it, its subfolders' included.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> files;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(folder_.path())) {
            if (entry.is_regular_file())
                files.push_back(entry.path().string());
        }
        return files;
    }

private:
    static void Set(const std::string &value)
    {
#ifdef _WIN32
        _putenv_s(kVariable, value.c_str());
#else
        setenv(kVariable, value.c_str(), 1);
#endif
    }

    ScratchFolder folder_;
    std::optional<std::string> old_;
};

// A write in place stopped halfway as a killed save would stop: the next reading completes the
// file with the new bytes and says nothing, and the next save leaves nothing behind. The
// journal lies beside the file, or where the folder refuses new files in the user's own folder.
TEST(InjectedSaveFailureTest, AWriteInPlaceCutShortIsCompletedByTheNextReading)
{
    for (const bool refuse_new_files : {false, true}) {
        SCOPED_TRACE(refuse_new_files ? "folder refusing new files" : "attributes refused");
        ScratchFolder folder;
        const OwnStateFolder state;
        const std::string path = folder / "bot_personality.cfg";
        test::WriteBytes(path, kOldBytes);
        PersonalityConfig config;
        BuildConfigPath(config, "/nowhere");
        FakeView view;
        ReadPersonalityFile(config, VOLTARA_TEST_DATA "/default_personality.cfg", view);
        config.Bot(2).melee_percent = "7";
        const std::string expected = JoinedLines(PersonalityFileLines(config));
        SetSaveFaultHook([&](SaveStep step) {
            if (step == SaveStep::WriteInPlace)
                return SaveFault {test::kDiskFull, kOldBytes.size() + 10};
            if (step == (refuse_new_files ? SaveStep::CreateTemporary : SaveStep::KeepAttributes))
                return SaveFault {test::kAccessDenied};
            return SaveFault {step == SaveStep::CutShort ? test::kDiskFull : 0};
        });
        EXPECT_FALSE(WritePersonalityFile(config, path, view));
        SetSaveFaultHook(nullptr);
        EXPECT_EQ(ReadBytes(path), expected.substr(0, kOldBytes.size() + 10));
        EXPECT_EQ(folder.Names().size(), refuse_new_files ? 1u : 2u);
        EXPECT_EQ(state.Files().size(), refuse_new_files ? 1u : 0u);

        PersonalityConfig read;
        BuildConfigPath(read, "/nowhere");
        FakeView reader;
        EXPECT_EQ(ReadPersonalityFile(read, path, reader), ReadOutcome::Read);
        EXPECT_EQ(ReadBytes(path), expected);
        EXPECT_EQ(read.Bot(2).melee_percent, "7");
        EXPECT_EQ(reader.calls, test::FinishCalls(0));
        EXPECT_EQ(folder.Names(), std::vector<std::string> {"bot_personality.cfg"});
        EXPECT_TRUE(state.Files().empty());
    }
}

TEST(InjectedSaveFailureTest, AfterAFailureTheNextSaveSucceeds)
{
    ScratchFolder folder;
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    PersonalityConfig config = test::DefaultPersonalityConfig();
    FakeView view;
    Inject({SaveStep::WriteInPlace, 100, test::kDiskFull, true});
    EXPECT_FALSE(WritePersonalityFile(config, path, view));
    SetSaveFaultHook(nullptr);
    EXPECT_TRUE(WritePersonalityFile(config, path, view));
    EXPECT_EQ(ReadBytes(path), ReadBytes(VOLTARA_TEST_DATA "/default_personality.cfg"));
    EXPECT_EQ(view.calls.back(), FakeView::Message("File successfully saved", ""));
}

} // namespace
} // namespace voltara
