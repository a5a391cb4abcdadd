// verdax-tool missions, run as a user runs it: a process with WINEPREFIX naming a
// prefix that the test builds.

#include "core/StringTable.h"

#include "tests/game/TestGamePrefix.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

namespace {

// The build names the tool by one of two definitions, depending on how the tool
// tests are declared.
#ifdef VERDAX_TOOL_PATH
constexpr const char* kTool = VERDAX_TOOL_PATH;
#else
constexpr const char* kTool = VERDAX_TOOL;
#endif

struct ToolRun {
    int status = -1;  // -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the tool in a shell with the Wine prefix and the locale in its environment.
ToolRun RunTool(const std::filesystem::path& prefix, const std::vector<std::string>& args, const std::string& locale,
                const std::string& codePage = "")
{
    const testsupport::TempDir outputs;
    std::string command = "env WINEPREFIX=" + Quoted(prefix.string()) + " LC_ALL=" + Quoted(locale) +
                          " VERDAX_CODEPAGE=" + Quoted(codePage) + " " + Quoted(kTool);
    for (const auto& arg : args)
        command += " " + Quoted(arg);
    command += " >" + Quoted((outputs.Path() / "out").string()) + " 2>" + Quoted((outputs.Path() / "err").string());
    const int raw = std::system(command.c_str());
    return {raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testsupport::ReadFile(outputs.Path() / "out"),
            testsupport::ReadFile(outputs.Path() / "err")};
}

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

    ToolRun Run(std::vector<std::string> args = {"missions"}, const std::string& locale = "C") const
    {
        return RunTool(prefix_.Path(), args, locale);
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

// Folders come from the disk in no promised order (a tmpfs lists the newest first,
// ext4 by hash): made in byte order, enough of them never come back that way by chance.
TEST_F(MissionsCommand, ManyFoldersArePrintedInByteOrderWhateverTheDiskGives)
{
    prefix_.WriteRegistry();
    std::vector<std::string> names{"Alpha", "Zeta"};
    for (int i = 0; i < 40; ++i)
        names.push_back(std::string(1, static_cast<char>((i % 2 ? 'a' : 'A') + i % 26)) + std::to_string(i));
    std::ranges::sort(names);
    for (const auto& name : names)
        prefix_.AddMissionFolder(name);
    std::string expected;
    for (const auto& name : names)
        expected += name + "\n";
    const ToolRun run = Run();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
}

TEST_F(MissionsCommand, WithoutTheRegistryKeyShows1003OnceAndFails)
{
    prefix_.WriteRegistryWithoutGame();
    const ToolRun run = Run();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Occurrences(run.err, LoadString(IDS_ERR_REGISTRY)), 1u) << run.err;
}

// Mission names are code page text; the tool prints them as UTF-8 and takes them
// back from the command line the same way.
TEST_F(MissionsCommand, NamesItPrintsAreAcceptedByDump)
{
    prefix_.WriteRegistry();
    prefix_.AddMissionFolder("Миссия");
    prefix_.AddFile("Missions/Миссия/scene2.bin", std::string("\x53\x4C\x06\x00\x00\x00", 6));  // an empty scene
    const ToolRun listed = Run({"missions"}, "ru_RU.UTF-8");
    EXPECT_EQ(listed.out, "Alpha\nZeta\nМиссия\n");
    const ToolRun dumped = Run({"dump", "Миссия"}, "ru_RU.UTF-8");
    EXPECT_EQ(dumped.status, 0) << dumped.err;
}

// The code page chosen by hand comes before the locale; a code page the editor does
// not handle is refused before anything is read.
TEST_F(MissionsCommand, VerdaxCodePageChoosesTheCodePageOrIsRefused)
{
    prefix_.WriteRegistry();
    prefix_.AddMissionFolder("Миссия");
    EXPECT_EQ(RunTool(prefix_.Path(), {"missions"}, "C", "1251").out, "Alpha\nZeta\nМиссия\n");
    const ToolRun refused = RunTool(prefix_.Path(), {"missions"}, "ru_RU.UTF-8", "866");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("VERDAX_CODEPAGE is \"866\""), std::string::npos) << refused.err;
}

TEST_F(MissionsCommand, TakesNoArguments)
{
    prefix_.WriteRegistry();
    const ToolRun run = Run({"missions", "extra"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
}

}  // namespace
