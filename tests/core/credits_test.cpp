// The titles-file reading beneath the Credits window; the window tests cover the page and the
// scroll through the timers.
#include "core/credits.h"

#include <gtest/gtest.h>

#include <string>

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

class CreditsReadingTest : public ::testing::Test
{
protected:
    bool Load(const std::string &content)
    {
        state_.Titles.OpenText(content);
        page_.clear();
        return ReadFirstPage(state_, [this](const std::string &text) { page_ = text; });
    }

    CreditsState state_;
    std::string page_;
};

TEST_F(CreditsReadingTest, ReadsLinesAsTheConfigurationFilesDo)
{
    // A byte-order mark is no part of the marker; a lone LF and a lone CR end lines too.
    ASSERT_TRUE(Load("\xEF\xBB\xBF"
                     "Credits\nskipped\r"
        + Lines(14)));
    EXPECT_EQ(page_.substr(0, 7), "L1\nL2\nL");
    EXPECT_EQ(state_.CreditLines.back(), "L14");
}

TEST_F(CreditsReadingTest, FailsWhenTheFileEndsBeforeAFullPage)
{
    EXPECT_FALSE(Load("Intro\r\nCredits\r\n"));
    EXPECT_FALSE(Load("Intro\r\nCredits"));
    EXPECT_FALSE(Load(""));
    EXPECT_TRUE(page_.empty());
    // A stream that is not open reads as an empty file, and a step on it ends the scroll.
    state_.Titles.Close();
    EXPECT_FALSE(ReadFirstPage(state_, [](const std::string &) {}));
    EXPECT_EQ(ScrollStep(state_), std::nullopt);
}

TEST_F(CreditsReadingTest, FindsTheMarkerAgainOnEveryLoad)
{
    // The line after the marker reads "Credits" too: the next load must not take that
    // left-over as its marker and show the top of the file.
    const std::string text = "Top\r\nCredits\r\nCredits\r\n" + Lines(15);
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(state_.LastLine, "Credits");
    const std::string first = page_;
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(page_, first);
    EXPECT_EQ(state_.CreditLines.front(), "L1");
}

} // namespace
} // namespace voltara
