// verdax-tool missions, run as a user runs it: a process with WINEPREFIX naming a
// prefix that the test builds.

#include "core/StringTable.h"

#include "tests/game/TestGamePrefix.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

using testsupport::RunTool;
using testsupport::ToolRun;

namespace {

std::size_t Occurrences(const std::string& text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

class MissionsCommand : public testing::Test {
protected:
    void SetUp() override
    {
        prefix_.AddMissionFolder("Zeta");
        prefix_.AddMissionFolder("Alpha");
        prefix_.AddFile("Missions/notes.txt", "a plain file");
    }

    ToolRun Run(std::vector<std::string> args = {"missions"}) const
    {
        return RunTool(args, {{"WINEPREFIX", prefix_.Path().string()}, {"LC_ALL", "C"}});
    }

    testsupport::TestGamePrefix prefix_;
};

TEST_F(MissionsCommand, PrintsTheSubFoldersInByteOrder)
{
    prefix_.WriteRegistry();
    const ToolRun run = Run();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Alpha\nZeta\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(MissionsCommand, WithoutTheRegistryKeyShows1003OnceAndFails)
{
    prefix_.WriteRegistryWithoutGame();
    const ToolRun run = Run();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Occurrences(run.err, LoadString(IDS_ERR_REGISTRY)), 1u) << run.err;
}

TEST_F(MissionsCommand, TakesNoArguments)
{
    prefix_.WriteRegistry();
    const ToolRun run = Run({"missions", "extra"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
}

}  // namespace
