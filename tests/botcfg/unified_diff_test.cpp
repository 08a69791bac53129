// The unified difference of dry runs, in the exact format of diff -u (checked against GNU diff's
// output for the same texts): hunk headers, context, merged hunks and missing final newlines.
#include "botcfg/unified_diff.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using botcfg::UnifiedDiff;

std::string Numbers(int last, int changed_a, int changed_b)
{
    std::string text;
    for (int n = 1; n <= last; ++n)
        text += (n == changed_a || n == changed_b ? "x" : std::to_string(n)) + "\n";
    return text;
}

TEST(UnifiedDiff, EqualTextsGiveNothing)
{
    EXPECT_EQ(UnifiedDiff("a\r\nb", "a\r\nb", "a/F", "b/F"), "");
}

TEST(UnifiedDiff, MergesHunksWhoseContextsMeetAndSplitsTheOthers)
{
    const std::string base = Numbers(16, 0, 0);
    EXPECT_EQ(UnifiedDiff(base, Numbers(16, 2, 9), "a/F", "b/F"),
        "--- a/F\n+++ b/F\n@@ -1,12 +1,12 @@\n 1\n-2\n+x\n 3\n 4\n 5\n 6\n 7\n 8\n-9\n+x\n 10\n"
        " 11\n 12\n");
    EXPECT_EQ(UnifiedDiff(base, Numbers(16, 2, 10), "a/F", "b/F"),
        "--- a/F\n+++ b/F\n@@ -1,5 +1,5 @@\n 1\n-2\n+x\n 3\n 4\n 5\n@@ -7,7 +7,7 @@\n 7\n 8\n 9\n"
        "-10\n+x\n 11\n 12\n 13\n");
}

TEST(UnifiedDiff, KeepsCarriageReturnsAndMarksAMissingFinalNewline)
{
    EXPECT_EQ(UnifiedDiff("a\n", "a\r\nb", "a/F", "b/F"),
        "--- a/F\n+++ b/F\n@@ -1 +1,2 @@\n-a\n+a\r\n+b\n\\ No newline at end of file\n");
    EXPECT_EQ(UnifiedDiff("", "a\n", "a/F", "b/F"), "--- a/F\n+++ b/F\n@@ -0,0 +1 @@\n+a\n");
}

} // namespace
