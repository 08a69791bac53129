// botcfg's command line in process: how arguments are split into the command, its positional
// arguments and its options, and which shapes each command of the table takes.
#include "botcfg/arguments.h"
#include "botcfg/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using botcfg::Arguments;
using botcfg::ParseArguments;
using botcfg::UsageError;
using Args = std::vector<std::string>;

// A command line written as one text, its words split at spaces.
Args Words(const std::string &line)
{
    Args words;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

TEST(ParseArguments, SplitsCommandPositionalsAndOptionsWhereverTheyStand)
{
    const Arguments parsed = ParseArguments(
        {"--json", "get", "f.cfg", "--kind=superbot", "-1", "-o", "out", "--dry-run", "-"});
    EXPECT_EQ(parsed.command, "get");
    EXPECT_EQ(parsed.positionals, (Args {"f.cfg", "-1", "-"}));
    EXPECT_EQ(parsed.kind, "superbot");
    EXPECT_EQ(parsed.output, "out");
    EXPECT_TRUE(parsed.json);
    EXPECT_TRUE(parsed.dry_run);
    EXPECT_FALSE(parsed.force);

    const Arguments ended = ParseArguments({"set", "--", "--json", "-o"});
    EXPECT_EQ(ended.positionals, (Args {"--json", "-o"}));
    EXPECT_FALSE(ended.json);
    EXPECT_FALSE(ended.output);
}

TEST(ParseArguments, RefusesUnknownMissingAndRepeatedOptions)
{
    const char *const refused[] = {"get --frobnicate", "fix f -o", "fix f -o a --output b",
        "fix --dry-run --dry-run", "get --json f --json", "get --kind a --kind=b"};
    for (const char *line : refused) {
        const Args args = Words(line);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_THROW(ParseArguments(args), UsageError);
    }
}

// Throws UsageError when the command line does not fit its command's shape.
void Check(const Args &args)
{
    const Arguments parsed = ParseArguments(args);
    const botcfg::Command *command = botcfg::CommandNamed(parsed.command);
    ASSERT_NE(command, nullptr);
    botcfg::CheckShape(*command, parsed);
}

TEST(CommandTable, EachCommandTakesItsOwnOptionsOnly)
{
    for (const std::string name : {"fix", "set", "preset", "apply"})
        EXPECT_TRUE(botcfg::CommandNamed(name)->options & botcfg::kDryRunOption) << name;
    for (const std::string name : {"check", "get", "diff", "new"})
        EXPECT_FALSE(botcfg::CommandNamed(name)->options & botcfg::kDryRunOption) << name;
    for (const std::string name : {"check", "get", "diff"})
        EXPECT_TRUE(botcfg::CommandNamed(name)->options & botcfg::kJsonOption) << name;

    EXPECT_NO_THROW(Check({"apply", "f.cfg", "3", "-", "--dry-run", "--force", "--kind", "k"}));
    EXPECT_NO_THROW(Check({"fix", "f.cfg", "-o", "out", "--dry-run"}));
    const char *const refused[] = {"get f --dry-run", "new superbot --dry-run", "diff a b --force",
        "fix f --json", "fix f -o - --dry-run"};
    for (const char *line : refused) {
        const Args args = Words(line);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_THROW(Check(args), UsageError);
    }
}

TEST(CommandTable, CountsTheArgumentsOfEachCommand)
{
    const char *const refused[] = {"diff a", "diff a b c", "apply f", "apply f 1 doc more",
        "set f k", "preset f 1 all", "get f 1 k x", "check", "new"};
    for (const char *line : refused) {
        const Args args = Words(line);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_THROW(Check(args), UsageError);
    }
    EXPECT_NO_THROW(Check({"diff", "a", "b"}));
    EXPECT_NO_THROW(Check({"apply", "f", "-"}));
}

TEST(CommandTable, OnlyDiffAnswersTroubleWithTwo)
{
    // diff's 1 means "the files differ", so a failure there must not say 1.
    for (const botcfg::Command &command : botcfg::Commands())
        EXPECT_EQ(command.trouble, std::string(command.name) == "diff" ? 2 : 1) << command.name;
}

} // namespace
