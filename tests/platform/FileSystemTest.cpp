#include "platform/CodePage.h"
#include "platform/FileSystem.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;
using platform::CWineFileSystem;
using platform::FolderEntry;

namespace {

// A Wine prefix as wineboot leaves it: dosdevices/c: links to ../drive_c.
class WinePrefix : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(prefix_.Path() / "dosdevices");
        fs::create_directories(prefix_.Path() / "drive_c");
        fs::create_directory_symlink("../drive_c", prefix_.Path() / "dosdevices" / "c:");
        game_ = prefix_.Path() / "drive_c" / "Games" / "Dravo";
        prefix_.Write(game_ / "Missions" / "Mise01" / "scene2.BIN", "x");
    }
    void TearDown() override { platform::SetAnsiCodePage(0); }

    fs::path Resolved(std::string_view windowsPath) const { return fs::weakly_canonical(files_.Resolve(windowsPath)); }
    fs::path Canonical(const fs::path& path) const { return fs::weakly_canonical(path); }

    testsupport::TempDir prefix_;
    fs::path game_;
    CWineFileSystem files_{prefix_.Path()};
};

TEST_F(WinePrefix, ComponentsInOtherCaseAreFound)
{
    const fs::path expected = Canonical(game_ / "Missions" / "Mise01" / "scene2.BIN");
    EXPECT_EQ(Resolved("C:\\Games\\Dravo\\Missions\\Mise01\\scene2.BIN"), expected);
    EXPECT_EQ(Resolved("c:\\GAMES\\dravo\\missions\\MISE01\\Scene2.bin"), expected);
    EXPECT_EQ(Resolved("C:/games/DRAVO/Missions/mise01/scene2.bin"), expected);
    EXPECT_EQ(Resolved("C:\\\\games\\.\\dravo\\\\missions\\mise01\\scene2.bin"), expected);
    // Only the last name, or only one folder, spelt otherwise.
    EXPECT_EQ(Resolved("C:\\Games\\Dravo\\Missions\\Mise01\\Scene2.bin"), expected);
    EXPECT_EQ(Resolved("C:\\Games\\Dravo\\MISSIONS\\Mise01\\scene2.BIN"), expected);
}

TEST_F(WinePrefix, MissingComponentsAreKeptAsGiven)
{
    EXPECT_EQ(Resolved("C:\\games\\dravo\\missions\\mise01\\scene2.bin.Verdax"),
              Canonical(game_ / "Missions" / "Mise01" / "scene2.bin.Verdax"));
    EXPECT_EQ(Resolved("C:\\games\\NEW\\Sub\\file"), Canonical(prefix_.Path() / "drive_c" / "Games" / "NEW" / "Sub" / "file"));
}

TEST_F(WinePrefix, DotDotStepsBackButNeverAboveTheDrive)
{
    EXPECT_EQ(Resolved("C:\\games\\dravo\\..\\DRAVO\\missions"), Canonical(game_ / "Missions"));
    EXPECT_EQ(Resolved("C:\\..\\..\\games"), Canonical(prefix_.Path() / "drive_c" / "Games"));
    EXPECT_EQ(Resolved("C:\\games\\nothing\\..\\dravo"), Canonical(game_));
}

// ".." steps back within the path as written, not through a link it passed: a path
// that holds it must not be handed to the kernel as it stands.
TEST_F(WinePrefix, DotDotAfterALinkStepsBackInThePathAsWritten)
{
    fs::create_directories(prefix_.Path() / "elsewhere" / "deep");
    fs::create_directories(prefix_.Path() / "elsewhere" / "Missions");
    fs::create_directory_symlink(prefix_.Path() / "elsewhere" / "deep", game_ / "Shortcut");
    EXPECT_EQ(Resolved("C:\\Games\\Dravo\\Shortcut\\..\\Missions"), Canonical(game_ / "Missions"));
    EXPECT_EQ(Resolved("C:\\Games\\Dravo\\Shortcut\\.\\..\\Missions\\Mise01"), Canonical(game_ / "Missions" / "Mise01"));
}

// The path found as written is given back in the same form the component search
// gives, separators doubled or not.
TEST_F(WinePrefix, ExactlySpelledPathsComeBackJoinedPlainly)
{
    const fs::path expected = prefix_.Path() / "dosdevices" / "c:" / "Games" / "Dravo" / "Missions";
    EXPECT_EQ(files_.Resolve("C:\\Games\\Dravo\\Missions"), expected);
    EXPECT_EQ(files_.Resolve("c:/Games//Dravo\\\\Missions\\"), expected);
    EXPECT_EQ(files_.Resolve("C:\\games\\Dravo\\Missions"), expected);
    EXPECT_EQ(files_.Resolve("C:\\"), prefix_.Path() / "dosdevices" / "c:");
}

TEST_F(WinePrefix, DriveLinksAndRootedPaths)
{
    fs::create_directories(prefix_.Path() / "d_disk" / "Data");
    fs::create_directory_symlink("../d_disk", prefix_.Path() / "dosdevices" / "D:");
    EXPECT_EQ(Resolved("d:\\data"), Canonical(prefix_.Path() / "d_disk" / "Data"));
    EXPECT_EQ(Resolved("\\games\\dravo"), Canonical(game_));
}

TEST_F(WinePrefix, LinuxPathsResolveCaseToo)
{
    const std::string linux = (prefix_.Path() / "DRIVE_C" / "games" / "Dravo").string();
    EXPECT_EQ(Resolved(linux), Canonical(game_));
    EXPECT_EQ(Resolved(linux + "\\MISSIONS"), Canonical(game_ / "Missions"));
}

TEST_F(WinePrefix, OfSeveralNamesInOtherCaseTheFirstInByteOrderWins)
{
    prefix_.Write(game_ / "Maps" / "tex.bmp", "a");
    prefix_.Write(game_ / "Maps" / "TEX.bmp", "b");
    EXPECT_EQ(Resolved("C:\\games\\dravo\\maps\\Tex.BMP"), Canonical(game_ / "Maps" / "TEX.bmp"));
    EXPECT_EQ(Resolved("C:\\games\\dravo\\maps\\tex.bmp"), Canonical(game_ / "Maps" / "tex.bmp"));
}

TEST_F(WinePrefix, CodePageNamesMeetUtf8NamesOnDisk)
{
    platform::SetAnsiCodePage(1251);
    fs::create_directories(game_ / "Missions" / "Миссия");
    // "мИССИЯ" in code page 1251.
    EXPECT_EQ(Resolved("C:\\games\\dravo\\missions\\\xEC\xC8\xD1\xD1\xC8\xDF"), Canonical(game_ / "Missions" / "Миссия"));

    const auto entries = files_.List("C:\\Games\\Dravo\\Missions\\");
    EXPECT_TRUE(std::ranges::any_of(entries, [](const FolderEntry& entry) {
        return entry.path == "C:\\Games\\Dravo\\Missions\\\xCC\xE8\xF1\xF1\xE8\xFF" && entry.isDirectory;
    }));
}

TEST_F(WinePrefix, ListGivesDotEntriesFirstThenFullPaths)
{
    prefix_.Write(game_ / "Missions" / "readme.txt", "");
    fs::create_directories(game_ / "Missions" / "Mise02");
    auto entries = files_.List("c:\\games\\dravo\\missions");
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].path, "c:\\games\\dravo\\missions\\.");
    EXPECT_EQ(entries[1].path, "c:\\games\\dravo\\missions\\..");
    EXPECT_TRUE(entries[0].isDirectory && entries[1].isDirectory);
    std::sort(entries.begin() + 2, entries.end(), [](auto& a, auto& b) { return a.path < b.path; });
    EXPECT_EQ(entries[2].path, "c:\\games\\dravo\\missions\\Mise01");
    EXPECT_TRUE(entries[2].isDirectory);
    EXPECT_EQ(entries[3].path, "c:\\games\\dravo\\missions\\Mise02");
    EXPECT_EQ(entries[4].path, "c:\\games\\dravo\\missions\\readme.txt");
    EXPECT_FALSE(entries[4].isDirectory);

    const auto linuxEntries = files_.List((game_ / "missions" / "mise01").string());
    ASSERT_EQ(linuxEntries.size(), 3u);
    EXPECT_EQ(linuxEntries[2].path, (game_ / "missions" / "mise01" / "scene2.BIN").string());
}

TEST_F(WinePrefix, ListOfWhatIsNoFolderIsEmpty)
{
    EXPECT_TRUE(files_.List("C:\\Games\\Dravo\\Nothing\\").empty());
    EXPECT_TRUE(files_.List("C:\\Games\\Dravo\\Missions\\Mise01\\scene2.bin").empty());
    EXPECT_TRUE(files_.List("Q:\\").empty());
}

TEST(WineFileSystem, DefaultFollowsWinePrefix)
{
    const char* saved = std::getenv("WINEPREFIX");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    testsupport::TempDir prefix;
    setenv("WINEPREFIX", prefix.Path().c_str(), 1);
    EXPECT_EQ(platform::FileSystem().Resolve("C:\\x"), prefix.Path() / "dosdevices" / "c:" / "x");
    if (previous)
        setenv("WINEPREFIX", previous->c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

}  // namespace
