#include "core/CVerdaxException.h"
#include "core/StringTable.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "platform/Registry.h"
#include "platform/WaitCursor.h"
#include "scene/CSceneObjectThing.h"

#include "tests/game/TestGamePrefix.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Entry = platform::RecordingPresenter::Entry;

Entry Message(int id)
{
    return {id, std::string(LoadString(id))};
}

class CountingCursor final : public platform::IWaitCursor {
public:
    void Begin() override { ++begun; }
    void End() override { ++ended; }
    int begun = 0;
    int ended = 0;
};

// A scene file of only its scene chunk: a mission with no objects.
std::string EmptySceneFile()
{
    return testsupport::ByteWriter().Header(0x4C53, 6).Str();
}

class Catalogue : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetRegistry(&registry_);
        platform::SetFileSystem(&files_);
        platform::SetWaitCursor(&cursor_);
    }
    void TearDown() override
    {
        platform::SetRegistry(nullptr);
        platform::SetFileSystem(nullptr);
        platform::SetWaitCursor(nullptr);
        platform::SetAnsiCodePage(0);
    }

    std::vector<std::string> MissionNames() const
    {
        std::vector<std::string> names;
        for (const auto& mission : root_.GetMissions())
            names.push_back(mission->GetName());
        std::ranges::sort(names);
        return names;
    }

    void WriteInstallFolderValue(std::string_view escapedValue) const
    {
        prefix_.WriteSystemReg("[Software\\\\Kestrel Works\\\\Dravo] 1700000000\n\"idir\"=" + std::string(escapedValue) + "\n");
    }

    testsupport::TestGamePrefix prefix_;
    platform::CWineRegistry registry_{prefix_.Path()};
    platform::CWineFileSystem files_{prefix_.Path()};
    CountingCursor cursor_;
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter scopedMessages_{messages_};
    CDravoRoot root_;
};

TEST_F(Catalogue, FoldersAreGluedToTheInstallFolder)
{
    EXPECT_EQ(root_.GetMissionsFolder(), "C:\\program files\\dravo\\Missions\\");
    root_.SetInstallFolder("D:\\Games\\X\\");
    EXPECT_EQ(root_.GetMissionsFolder(), "D:\\Games\\X\\Missions\\");
    EXPECT_EQ(root_.GetModelsFolder(), "D:\\Games\\X\\Models\\");
    EXPECT_EQ(root_.GetMapsFolder(), "D:\\Games\\X\\Maps\\");
    root_.SetInstallFolder("D:\\Games\\X");
    EXPECT_EQ(root_.GetMissionsFolder(), "D:\\Games\\XMissions\\");
}

TEST_F(Catalogue, InstallFolderIsTheValueUpToItsFirstNul)
{
    WriteInstallFolderValue("\"C:\\\\Games\\\\Dravo\\\\\"");
    EXPECT_EQ(CDravoRoot::ReadInstallFolder(), "C:\\Games\\Dravo\\");
    WriteInstallFolderValue("str(7):\"C:\\\\A\\\\\\0C:\\\\B\\\\\\0\"");
    EXPECT_EQ(CDravoRoot::ReadInstallFolder(), "C:\\A\\");
}

TEST_F(Catalogue, InstallFolderOf1024CharactersIsARegistryFailure)
{
    const std::string longest = "C:\\\\" + std::string(1019, 'd') + "\\\\";  // 1023 characters
    WriteInstallFolderValue("\"" + longest + "\"");
    EXPECT_EQ(CDravoRoot::ReadInstallFolder().size(), 1023u);

    WriteInstallFolderValue("\"" + longest + "x\"");
    try {
        CDravoRoot::ReadInstallFolder();
        FAIL() << "a value of 1024 characters was read";
    } catch (const CVerdaxException& error) {
        EXPECT_EQ(error.GetCode(), VERDAX_ERR_REGISTRY);
        EXPECT_TRUE(error.GetText().empty());
    }
    EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(Catalogue, SubFoldersAreMissionsAndPlainFilesAreNot)
{
    root_.SetInstallFolder(std::string(testsupport::TestGamePrefix::kInstallFolder));
    prefix_.AddMissionFolder("Mise02");
    prefix_.AddMissionFolder("Mise01");
    prefix_.AddFile("Missions/readme.txt", "not a mission");
    root_.ListMissions();
    EXPECT_EQ(MissionNames(), (std::vector<std::string>{"Mise01", "Mise02"}));
    for (const auto& mission : root_.GetMissions()) {
        EXPECT_EQ(mission->GetFolder(), "C:\\Games\\Dravo\\Missions\\" + mission->GetName() + "\\");
        EXPECT_FALSE(mission->IsLoaded());
    }
}

TEST_F(Catalogue, MissingMissionsFolderListsNothing)
{
    root_.SetInstallFolder("C:\\Nowhere\\");
    root_.ListMissions();
    EXPECT_TRUE(root_.GetMissions().empty());
}

TEST_F(Catalogue, LoadReadsTheRegistryOnceAndListsOnce)
{
    prefix_.WriteRegistry();
    prefix_.AddMissionFolder("Mise01");
    root_.Load();
    EXPECT_TRUE(root_.IsLoaded());
    EXPECT_EQ(root_.GetInstallFolder(), testsupport::TestGamePrefix::kInstallFolder);
    EXPECT_EQ(MissionNames(), (std::vector<std::string>{"Mise01"}));
    EXPECT_EQ(cursor_.begun, 1);
    EXPECT_EQ(cursor_.ended, 1);

    prefix_.AddMissionFolder("Mise02");
    prefix_.WriteRegistryWithoutGame();
    root_.Load();
    EXPECT_EQ(MissionNames(), (std::vector<std::string>{"Mise01"}));
    EXPECT_EQ(cursor_.begun, 1);
    EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(Catalogue, RegistryFailureShows1003OnceAndLoadsNothing)
{
    prefix_.WriteRegistryWithoutGame();
    prefix_.AddMissionFolder("Mise01");
    root_.Load();
    EXPECT_EQ(messages_.entries, (std::vector<Entry>{Message(IDS_ERR_REGISTRY)}));
    EXPECT_FALSE(root_.IsLoaded());
    EXPECT_TRUE(root_.GetMissions().empty());
    EXPECT_EQ(root_.GetInstallFolder(), "C:\\program files\\dravo\\");
    EXPECT_EQ(cursor_.begun, 0);
}

TEST_F(Catalogue, LoadMissionOfSomethingElseShows1000)
{
    CSceneObjectThing thing;
    EXPECT_FALSE(root_.LoadMission(&thing));
    EXPECT_FALSE(root_.LoadMission(nullptr));
    EXPECT_EQ(messages_.entries, (std::vector<Entry>{Message(IDS_ERR_FOREIGN), Message(IDS_ERR_FOREIGN)}));
}

TEST_F(Catalogue, MissionWithoutSceneFileShows1001AndCanBeTriedAgain)
{
    root_.SetInstallFolder(std::string(testsupport::TestGamePrefix::kInstallFolder));
    prefix_.AddMissionFolder("Mise01");
    CMission* mission = root_.CreateMission("Mise01");

    EXPECT_FALSE(root_.LoadMission(mission));
    EXPECT_EQ(messages_.entries, (std::vector<Entry>{Message(IDS_ERR_MISSION_LOAD)}));
    EXPECT_FALSE(mission->IsLoaded());
    EXPECT_EQ(cursor_.begun, 1);
    EXPECT_EQ(cursor_.ended, 1);

    prefix_.AddFile("Missions/Mise01/SCENE2.BIN", EmptySceneFile());
    messages_.entries.clear();
    EXPECT_TRUE(root_.LoadMission(mission));
    EXPECT_TRUE(mission->IsLoaded());
    EXPECT_TRUE(messages_.entries.empty());

    // A loaded mission refuses to load again (5000), which the root reports as 1001.
    EXPECT_FALSE(root_.LoadMission(mission));
    EXPECT_EQ(messages_.entries, (std::vector<Entry>{Message(IDS_ERR_MISSION_LOAD)}));
    EXPECT_TRUE(mission->IsLoaded());
}

TEST_F(Catalogue, MalformedSceneFileShowsItsTextThen1001)
{
    root_.SetInstallFolder(std::string(testsupport::TestGamePrefix::kInstallFolder));
    prefix_.AddFile("Missions/Mise01/scene2.bin", testsupport::ByteWriter()
                                                      .Header(0x4C53, 12)
                                                      .Header(0x7777, 6)  // not a section of the file
                                                      .Str());
    CMission* mission = root_.CreateMission("Mise01");
    EXPECT_FALSE(root_.LoadMission(mission));
    ASSERT_EQ(messages_.entries.size(), 2u);
    EXPECT_EQ(messages_.entries[0].id, 0);
    EXPECT_EQ(messages_.entries[0].text.rfind("fFile pos = ", 0), 0u) << messages_.entries[0].text;
    EXPECT_EQ(messages_.entries[1], Message(IDS_ERR_MISSION_LOAD));
    EXPECT_FALSE(mission->IsLoaded());
}

TEST_F(Catalogue, MissionNamesInTheCodePageFindTheirFoldersOnDisk)
{
    platform::SetAnsiCodePage(1251);
    prefix_.WriteRegistry();
    prefix_.AddMissionFolder("Миссия");
    prefix_.AddFile("Missions/Миссия/scene2.bin", EmptySceneFile());
    root_.Load();
    ASSERT_EQ(MissionNames(), (std::vector<std::string>{"\xCC\xE8\xF1\xF1\xE8\xFF"}));
    EXPECT_TRUE(root_.LoadMission(root_.GetMissions().front().get()));
}

// The name a user types finds its mission as the game's folders are found: exactly,
// else ignoring letter case (in the code page), but never one of several candidates.
TEST_F(Catalogue, FindMissionTakesTheExactNameElseTheOneDifferingOnlyInCase)
{
    platform::SetAnsiCodePage(1251);
    CMission* harbour = root_.CreateMission("Harbor_Town");
    CMission* upper = root_.CreateMission("HARBOR_TOWN");
    CMission* village = root_.CreateMission("\xC4\xE5\xF0\xE5\xE2\xED\xFF");  // "Деревня"
    root_.CreateMission("Mise01");
    root_.CreateMission("MISE01_OLD");

    EXPECT_EQ(root_.FindMission("Harbor_Town"), harbour);
    EXPECT_EQ(root_.FindMission("HARBOR_TOWN"), upper);
    EXPECT_EQ(root_.FindMission("harbor_town"), nullptr);  // two differ only in case
    EXPECT_EQ(root_.FindMission("\xE4\xE5\xF0\xE5\xE2\xED\xFF"), village);  // "деревня"
    EXPECT_EQ(root_.FindMission("mise01")->GetName(), "Mise01");
    EXPECT_EQ(root_.FindMission("Mise0"), nullptr);
    EXPECT_EQ(root_.FindMission(""), nullptr);
}

}  // namespace
