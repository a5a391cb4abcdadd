// The demo game as a whole: the same bytes on every run, the prefix's shape, the
// registry naming the install folder, and verdax-tool working on it.

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"
#include "tests/demo/RunDemoTool.h"
#include "tools/demo/DemoGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>
#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using demotest::RunTool;
using testsupport::TempDir;

// Every regular file under `root` by relative path, and every link with its target.
std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).generic_string();
        if (entry.is_symlink())
            files[relative] = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            files[relative] = ReadFile(entry.path());
    }
    return files;
}

TEST(DemoGame, WritesTheSameBytesOnEveryRunAndIntoAnEarlierDemo)
{
    const TempDir first, second;
    demo::WriteDemoGame(first.Path());
    demo::WriteDemoGame(second.Path());
    const auto snapshot = Snapshot(first.Path());
    EXPECT_EQ(snapshot, Snapshot(second.Path()));
    demo::WriteDemoGame(first.Path());  // over its own earlier output
    EXPECT_EQ(snapshot, Snapshot(first.Path()));
    EXPECT_EQ(snapshot.at("dosdevices/c:"), "-> ../drive_c");
}

TEST(DemoGame, HoldsThreeMissionsModelsAndMapsUnderTheInstallFolder)
{
    const auto files = demo::DemoGameFiles();
    const std::string install = std::string(demo::kDemoInstallPath) + "/";
    EXPECT_TRUE(files.contains(install + "Missions/harbor_town/scene.4ds"));
    EXPECT_TRUE(files.contains(install + "Missions/harbor_town/scene2.bin"));
    EXPECT_TRUE(files.contains(install + "Missions/forest_outpost/scene2.bin"));
    EXPECT_FALSE(files.contains(install + "Missions/forest_outpost/scene.4ds"));
    EXPECT_TRUE(files.contains(install + "Missions/broken_scene/scene2.bin"));
    const auto count = [&](std::string_view folder) {
        return std::ranges::count_if(files, [&](const auto& file) { return file.first.starts_with(install + std::string(folder)); });
    };
    EXPECT_GE(count("Models/"), 5);
    EXPECT_GE(count("Maps/"), 10);
    // The world names a texture that the maps folder lacks.
    EXPECT_FALSE(files.contains(install + "Maps/rust.bmp"));
}

TEST(DemoGame, RefusesToWriteOverAFolderThatHoldsSomethingElse)
{
    const TempDir prefix;
    prefix.Write("system.reg", "WINE REGISTRY Version 2\n;; someone's own prefix\n");
    EXPECT_THROW(demo::WriteDemoGame(prefix.Path()), std::runtime_error);
    EXPECT_EQ(ReadFile(prefix.Path() / "system.reg"), "WINE REGISTRY Version 2\n;; someone's own prefix\n");
    EXPECT_FALSE(fs::exists(prefix.Path() / "drive_c"));
}

TEST(DemoGame, RegistryNamesTheInstallFolderWhereTheGameFoldersAre)
{
    const TempDir prefix;
    demo::WriteDemoGame(prefix.Path());
    const platform::CWineRegistry registry(prefix.Path());
    EXPECT_EQ(registry.ReadMachineString("Software\\Kestrel Works\\Dravo", "idir"), demo::kDemoInstallFolder);
    const platform::CWineFileSystem files(prefix.Path());
    for (const char* folder : {"Missions\\", "Models\\", "Maps\\"})
        EXPECT_TRUE(fs::is_directory(files.Resolve(std::string(demo::kDemoInstallFolder) + folder))) << folder;
}

// The tool as a user meets it: make the demo, list its missions, dump and resave.
class DemoToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto made = RunTool({"make-demo", Prefix()});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    std::string Prefix() const { return (dir_.Path() / "prefix").string(); }
    demotest::ToolRun InDemo(const std::vector<std::string>& args) const
    {
        return RunTool(args, {"WINEPREFIX=" + Prefix()});
    }
    // The same in the C locale, which knows no Cyrillic: the prefix's code page decides.
    demotest::ToolRun InDemoWithLocaleC(const std::vector<std::string>& args) const
    {
        return RunTool(args, {"WINEPREFIX=" + Prefix(), "LANG=C", "LC_ALL=", "LC_CTYPE=", "VERDAX_CODEPAGE="});
    }
    fs::path MissionFolder(const std::string& name) const
    {
        return fs::path(Prefix()) / demo::kDemoInstallPath / "Missions" / name;
    }

    TempDir dir_;
};

TEST_F(DemoToolTest, ListsTheDemoMissionsInTheCodePageOfThePrefix)
{
    const auto listed = InDemoWithLocaleC({"missions"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "broken_scene\nforest_outpost\nharbor_town\nдеревня\n");
}

// Names of code page 1251 in a C locale: shown as their characters, found again by
// them, and written back as the same bytes.
TEST_F(DemoToolTest, TheVillagesCyrillicNamesAreDumpedAndResavedAsTheirBytes)
{
    const auto dumped = InDemoWithLocaleC({"dump", demo::kVillageMission});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    for (const char* name : {"Колодец", "Старый дуб", "Сторож", "Дом", "начало", "// обход"})
        EXPECT_NE(dumped.out.find(name), std::string::npos) << name;

    const auto resaved = InDemoWithLocaleC({"resave", demo::kVillageMission});
    ASSERT_EQ(resaved.status, 0) << resaved.err;
    const std::string written = ReadFile(MissionFolder(demo::kVillageMission) / "scene2.bin.Verdax");
    for (const char* bytes : {"\xCA\xEE\xEB\xEE\xE4\xE5\xF6", "\xD1\xF2\xE0\xF0\xFB\xE9 \xE4\xF3\xE1",
                              "\xD1\xF2\xEE\xF0\xEE\xE6", "\xED\xE0\xF7\xE0\xEB\xEE"})
        EXPECT_NE(written.find(bytes), std::string::npos) << bytes;
    EXPECT_EQ(written.find("Колодец"), std::string::npos);  // never converted on the way
}

TEST_F(DemoToolTest, DumpsAndResavesTheGoodMissionsWithoutTouchingTheGameFile)
{
    for (const std::string mission : {demo::kHarbourMission, demo::kOutpostMission}) {
        const std::string original = ReadFile(MissionFolder(mission) / "scene2.bin");
        const auto dumped = InDemo({"dump", mission});
        EXPECT_EQ(dumped.status, 0) << mission << ": " << dumped.err;
        EXPECT_NE(dumped.out.find("\"things\""), std::string::npos);
        const auto resaved = InDemo({"resave", mission});
        EXPECT_EQ(resaved.status, 0) << mission << ": " << resaved.err;
        EXPECT_EQ(ReadFile(MissionFolder(mission) / "scene2.bin"), original);
        EXPECT_TRUE(fs::exists(MissionFolder(mission) / "scene2.bin.Verdax"));
    }
}

TEST_F(DemoToolTest, TheBrokenMissionFailsWithTheElementIdError)
{
    for (const char* command : {"dump", "resave"}) {
        const auto run = InDemo({command, demo::kBrokenMission});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find("error 4002: fFile pos = "), std::string::npos) << command << ": " << run.err;
    }
    EXPECT_FALSE(fs::exists(MissionFolder(demo::kBrokenMission) / "scene2.bin.Verdax"));
}

TEST_F(DemoToolTest, MakeDemoReportsWrongUseAndAForeignFolder)
{
    EXPECT_EQ(RunTool({"make-demo"}).status, 2);
    dir_.Write("own/system.reg", "mine");
    const auto refused = RunTool({"make-demo", (dir_.Path() / "own").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("not writing there"), std::string::npos) << refused.err;
}

}  // namespace
