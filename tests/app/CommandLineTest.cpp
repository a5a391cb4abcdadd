// The editor's command line: the parser, and the program answering --help,
// --version and mistakes before it opens anything.

#include "app/CommandLine.h"

#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

CommandLine Parse(std::vector<std::string_view> args)
{
    return ParseCommandLine(args);
}

TEST(CommandLine, PrefixAndMissionInEitherOrderAndNamesAfterTheEndOfOptions)
{
    const CommandLine both = Parse({"--prefix", "/games/dravo", "harbor_town"});
    EXPECT_EQ(both.action, CommandLine::Action::Run);
    EXPECT_EQ(both.prefix, "/games/dravo");
    EXPECT_EQ(both.mission, "harbor_town");

    const CommandLine joined = Parse({"harbor_town", "--prefix=/a", "--prefix=/b"});
    EXPECT_EQ(joined.action, CommandLine::Action::Run);
    EXPECT_EQ(joined.prefix, "/b");  // the last one counts
    EXPECT_EQ(joined.mission, "harbor_town");

    EXPECT_EQ(Parse({"--", "-odd"}).mission, "-odd");
    EXPECT_EQ(Parse({"--", "--help"}).action, CommandLine::Action::Run);
    EXPECT_EQ(Parse({"-"}).mission, "-");

    const CommandLine none = Parse({});
    EXPECT_EQ(none.action, CommandLine::Action::Run);
    EXPECT_FALSE(none.prefix || none.mission);
}

TEST(CommandLine, TheFirstOfHelpVersionOrAMistakeDecides)
{
    EXPECT_EQ(Parse({"--help", "--bogus"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"mission", "-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"--version", "a", "b"}).action, CommandLine::Action::Version);
    EXPECT_EQ(Parse({"--bogus", "--help"}).action, CommandLine::Action::Usage);
}

TEST(CommandLine, MistakesAreUsageErrorsThatSayWhatIsWrong)
{
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x", "harbor_town"}, "unknown option '-x'"},
        {{"--prefixes", "/p"}, "unknown option '--prefixes'"},
        {{"--prefix"}, "--prefix needs a folder"},
        {{"--prefix="}, "--prefix needs a folder"},
        {{"--prefix", ""}, "--prefix needs a folder"},
        {{"one", "two"}, "one mission only: 'one' and 'two'"},
        {{""}, "the mission's name is empty"},
    };
    for (const auto& [args, error] : cases) {
        const CommandLine line = Parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::Usage) << error;
        EXPECT_EQ(line.error, error);
    }
}

// A display that does not exist: were the application object made before the
// command line is read, Qt would end the program on it.
const std::vector<std::pair<std::string, std::string>> kNoDisplay = {{"DISPLAY", ":65000"},
                                                                     {"QT_QPA_PLATFORM", "xcb"}};

TEST(EditorProgram, AnswersHelpVersionAndMistakesWithoutADisplay)
{
    const auto help = testsupport::RunProgram(VERDAX_EDITOR, {"--help"}, kNoDisplay);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, CommandLineHelp());
    EXPECT_EQ(help.out.rfind("Usage: verdax [OPTION]... [MISSION]\n", 0), 0u);

    const auto version = testsupport::RunProgram(VERDAX_EDITOR, {"--version"}, kNoDisplay);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "verdax " VERDAX_PROJECT_VERSION "\n");

    const auto wrong = testsupport::RunProgram(VERDAX_EDITOR, {"harbor_town", "--bogus"}, kNoDisplay);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.out.empty());
    EXPECT_EQ(wrong.err, "verdax: unknown option '--bogus'\n\n" + CommandLineHelp());
}

TEST(EditorProgram, TheToolShowsTheSameVersion)
{
    const auto version = testsupport::RunProgram(VERDAX_TOOL_PROGRAM, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "verdax-tool " VERDAX_PROJECT_VERSION "\n");
}

}  // namespace
