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

#include <functional>

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

// Saves through `save` with the failure injected, and checks everything the user must keep.
template <typename Records>
void ExpectNothingLost(const FailurePoint &point, const Records &records,
    const std::function<bool(const std::string &, FakeView &)> &save)
{
    ScratchFolder folder;
    const std::string path = folder / "settings.cfg";
    test::WriteBytes(path, kOldBytes);
    const Records before = records;
    FakeView view;
    Inject(point);
    const bool saved = save(path, view);
    SetSaveFaultHook(nullptr);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(path), kOldBytes);
    EXPECT_EQ(folder.Names(), std::vector<std::string> {"settings.cfg"});
    EXPECT_EQ(view.calls,
        std::vector<std::string> {FakeView::Message(
            "File: \"" + path + "\" could not be saved\r\n" + test::SystemErrorText(point.error),
            "Error")});
    EXPECT_TRUE(records == before);
}

TEST(InjectedSaveFailureTest, PersonalityFileKeepsEverythingAtEveryPoint)
{
    PersonalityConfig config;
    BuildConfigPath(config, "/nowhere");
    RepairPersonalities(config);
    config.Bot(4).melee_percent = " 2.5";
    for (const FailurePoint &point : AllPoints(JoinedLines(PersonalityFileLines(config)).size())) {
        SCOPED_TRACE(point.Describe());
        ExpectNothingLost(point, config.Bots, [&](const std::string &path, FakeView &view) {
            return WritePersonalityFile(config, path, view);
        });
    }
}

TEST(InjectedSaveFailureTest, SuperbotFileKeepsEverythingAtEveryPoint)
{
    SuperbotConfig config;
    InitSuperbotData(config, "/nowhere");
    RepairSuperbots(config);
    config.Tier(2).ki_gain = "1e3";
    for (const FailurePoint &point : AllPoints(JoinedLines(SuperbotFileLines(config)).size())) {
        SCOPED_TRACE(point.Describe());
        ExpectNothingLost(point, config.Superbots, [&](const std::string &path, FakeView &view) {
            return WriteSuperbotFile(config, path, view);
        });
    }
}

TEST(InjectedSaveFailureTest, AfterAFailureTheNextSaveSucceeds)
{
    ScratchFolder folder;
    const std::string path = folder / "bot_personality.cfg";
    test::WriteBytes(path, kOldBytes);
    PersonalityConfig config;
    BuildConfigPath(config, "/nowhere");
    RepairPersonalities(config);
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
