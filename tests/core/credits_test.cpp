#include "credits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace voltara {
namespace {

// Lines "L1" .. "L<count>", each ending in CR LF.
std::string Lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "L" + std::to_string(i) + "\r\n";
    return text;
}

// The marker, the skipped line, then Lines(count).
std::string TitlesText(
    int count, const std::string &before = "Intro\r\n", const std::string &marker = "Credits")
{
    return before + marker + "\r\nskipped\r\n" + Lines(count);
}

// The page text with lines "L<first>" .. "L<first + 13>".
std::string Page(int first, bool final_break)
{
    std::string text;
    for (int i = first; i < first + 14; ++i)
        text += "L" + std::to_string(i) + (i < first + 13 || final_break ? "\n" : "");
    return text;
}

class CreditsReadingTest : public ::testing::Test
{
protected:
    bool Load(const std::string &content)
    {
        state_.Titles.OpenText(content);
        shown_.clear();
        return ReadFirstPage(state_, [this](const std::string &text) { shown_.push_back(text); });
    }

    CreditsState state_;
    std::vector<std::string> shown_;
};

TEST_F(CreditsReadingTest, ShowsTheFirstPageLineByLine)
{
    // Fifteen lines after the marker: the skipped one and a page.
    ASSERT_TRUE(Load(TitlesText(14)));
    ASSERT_EQ(shown_.size(), 14u);
    EXPECT_EQ(shown_.front(), "L1\n");
    EXPECT_EQ(shown_.back(), Page(1, true));
    EXPECT_EQ(state_.LastLine, "skipped");
    // The first step finds the end and closes the file; the page stays.
    EXPECT_EQ(ScrollStep(state_), std::nullopt);
    EXPECT_FALSE(state_.Titles.IsOpen());
    EXPECT_EQ(state_.CreditLines.front(), "L1");
}

TEST_F(CreditsReadingTest, ScrollsToTheLastLineOfTheFile)
{
    ASSERT_TRUE(Load(TitlesText(20) + "after the credits"));
    int steps = 0;
    std::optional<std::string> page;
    while (std::optional<std::string> next = ScrollStep(state_)) {
        page = next;
        ++steps;
    }
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(state_.CreditLines.back(), "after the credits");
    EXPECT_TRUE(page->ends_with("L20\nafter the credits"));
}

TEST_F(CreditsReadingTest, FailsWhenTheFileEndsEarly)
{
    EXPECT_FALSE(Load(TitlesText(13)));
    EXPECT_EQ(shown_.size(), 13u);
    EXPECT_EQ(shown_.back(), "L1\nL2\nL3\nL4\nL5\nL6\nL7\nL8\nL9\nL10\nL11\nL12\nL13\n");
    EXPECT_FALSE(Load("Intro\r\nCredits\r\n"));
    EXPECT_FALSE(Load("Intro\r\nCredits"));
    EXPECT_FALSE(Load(""));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CreditsReadingTest, TakesOnlyTheExactMarker)
{
    EXPECT_FALSE(Load(TitlesText(15, "", "credits")));
    EXPECT_FALSE(Load(TitlesText(15, "", "Credits ")));
    EXPECT_FALSE(Load(TitlesText(15, "", " Credits")));
    // A lone LF ends a line too, and a byte-order mark is no part of the first one.
    ASSERT_TRUE(Load("\xEF\xBB\xBF"
                     "Credits\nskipped\r"
        + Lines(15)));
    EXPECT_EQ(shown_.back(), Page(1, true));
}

TEST_F(CreditsReadingTest, FindsTheMarkerAgainOnEveryLoad)
{
    // The line after the marker reads "Credits" too: the next load must not take that
    // left-over as its marker.
    const std::string text = "Top\r\nCredits\r\nCredits\r\n" + Lines(15);
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(state_.LastLine, "Credits");
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(shown_.back(), Page(1, true));
}

TEST_F(CreditsReadingTest, EndsTheScrollWhenClosingOrWithoutFile)
{
    ASSERT_TRUE(Load(TitlesText(30)));
    state_.Closing = true;
    EXPECT_EQ(ScrollStep(state_), std::nullopt);
    EXPECT_FALSE(state_.Titles.IsOpen());
    state_.Closing = false;
    EXPECT_EQ(ScrollStep(state_), std::nullopt);
    EXPECT_EQ(state_.CreditLines.front(), "L1");
}

TEST(StartDelayIntervalTest, IsSevenAndAHalfTimesRoundedHalfToEven)
{
    EXPECT_EQ(StartDelayInterval(400), 3000);
    EXPECT_EQ(StartDelayInterval(20), 150);
    EXPECT_EQ(StartDelayInterval(1000), 7500);
    EXPECT_EQ(StartDelayInterval(401), 3008); // 3007.5
    EXPECT_EQ(StartDelayInterval(403), 3022); // 3022.5
}

} // namespace
} // namespace voltara
