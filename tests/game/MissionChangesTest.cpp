// A loaded mission compared with its game file as it is edited: what the save would
// write now, read again only when the game file changes.

#include "core/CVerdaxException.h"
#include "game/CMissionChanges.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

// A model thing with a script, a thing of a kind the writer does not know, and a
// mission script.
demo::SceneFileData GameScene()
{
    demo::SceneFileData scene;
    scene.headerText = "made by the game";
    demo::SceneThing crate;
    crate.kind = demo::thing::kModel;
    crate.name = "crate";
    crate.modelName = "crate.i3d";
    demo::SceneThing medkit;
    medkit.kind = 3;
    medkit.name = "medkit";
    scene.things = {crate, medkit};
    demo::SceneThingData script;
    script.name = "crate";
    script.script = "go";
    scene.thingData = {script};
    scene.missionScripts = {{1, "init", "start"}};
    return scene;
}

// "things 1 changed medkit kind (save)": list, index after (before, for a removal),
// what, the object, the fields' names, by save.
Texts Rows(const SceneComparison& comparison)
{
    Texts rows;
    for (const auto& change : comparison.changes) {
        const auto index = change.afterIndex ? change.afterIndex : change.beforeIndex;
        std::string row = std::string(SceneListName(change.list)) + " " + std::to_string(*index) + " " +
                          std::string(SceneChangeKindName(change.change)) + " " + change.object;
        for (const auto& field : change.fields)
            row += " " + std::string(SceneFieldName(field.field));
        rows.push_back(change.bySave ? row + " (save)" : row);
    }
    return rows;
}

class MissionChanges : public testing::Test {
protected:
    void WriteGameFile(const demo::SceneFileData& scene) { dir_.Write("m1/scene2.bin", demo::WriteScene2(scene)); }

    // The code Compare fails with; 0 when it does not.
    int CompareFailure()
    {
        try {
            changes_.Compare(mission_);
        } catch (const CVerdaxException& error) {
            return error.GetCode();
        }
        return 0;
    }

    testsupport::TempDir dir_;
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter presenterScope_{messages_};
    CMission mission_{"m1", CMission::ExplicitFolder{(dir_.Path() / "m1").string() + "/"}};
    CMissionChanges changes_;
};

TEST_F(MissionChanges, AMissionNotLoadedHasNoneAndItsFileIsNotRead)
{
    // No game file at all: nothing is read for a mission whose save writes nothing.
    const auto& comparison = changes_.Compare(mission_);
    EXPECT_TRUE(comparison.changes.empty());
    EXPECT_TRUE(comparison.header.empty());
}

TEST_F(MissionChanges, EditsShowAsTheyAreMadeBesideWhatTheSaveChangesByItself)
{
    WriteGameFile(GameScene());
    mission_.Load();
    const auto& unedited = changes_.Compare(mission_);
    EXPECT_EQ(Rows(unedited), Texts{"things 1 changed medkit kind (save)"});
    ASSERT_EQ(unedited.header.size(), 1u);
    EXPECT_EQ(unedited.header[0].field, "text");
    EXPECT_EQ(CountChangesBySave(mission_), 1u);

    CSceneObjectThing& crate = *mission_.GetThings()[0];
    crate.SetTranslation({0, 0, 5});
    crate.SetScript("stop");  // into its linked thing data
    EXPECT_EQ(Rows(changes_.Compare(mission_)), (Texts{"things 0 changed crate translation",
                                                       "things 1 changed medkit kind (save)",
                                                       "thing_data 0 changed crate script"}));

    // Put back, the edits are gone; the medkit, now edited, is the edit's.
    crate.SetTranslation({0, 0, 0});
    crate.SetScript("go");
    mission_.GetThings()[1]->SetName("aid");
    EXPECT_EQ(Rows(changes_.Compare(mission_)), Texts{"things 1 changed aid name kind"});
    EXPECT_EQ(CountChangesBySave(mission_), 0u);
}

// Right after the save of an unedited mission, the two files on disk say what the
// mission in memory does: here a thing of a kind the writer does not know, and a
// second one whose match by name sits at another index than in the game file.
TEST_F(MissionChanges, AnUneditedSaveIsCountedFromItsFilesAsFromTheMission)
{
    demo::SceneFileData scene = GameScene();
    demo::SceneThing other;
    other.kind = 3;
    other.name = "medkit";
    scene.things.insert(scene.things.begin(), other);
    WriteGameFile(scene);
    mission_.Load();
    const std::string folder = mission_.GetFolder();
    EXPECT_THROW(CountChangesByUneditedSave(folder), CVerdaxException);  // nothing saved yet
    mission_.Save();
    EXPECT_EQ(CountChangesBySave(mission_), 2u);
    EXPECT_EQ(CountChangesByUneditedSave(folder), 2u);
}

TEST_F(MissionChanges, TheGameFileIsReadAgainOnceItChangesOnDisk)
{
    WriteGameFile(GameScene());
    mission_.Load();
    EXPECT_EQ(changes_.Compare(mission_).changes.size(), 1u);

    demo::SceneFileData grown = GameScene();
    grown.missionScripts.push_back({1, "later", "x"});
    WriteGameFile(grown);
    EXPECT_EQ(Rows(changes_.Compare(mission_)),
              (Texts{"things 1 changed medkit kind (save)", "mission_scripts 1 removed later"}));

    std::filesystem::remove(dir_.Path() / "m1" / "scene2.bin");
    EXPECT_EQ(CompareFailure(), VERDAX_ERR_OPEN_READ);
}

TEST_F(MissionChanges, AGameFileThatCannotBeReadIsToldOnceUntilItChanges)
{
    WriteGameFile(GameScene());
    mission_.Load();
    dir_.Write("m1/scene2.bin", std::string("\x53\x4C\x10\x00\x00\x00\x55\x55\x0A\x00\x00\x00\x01\x00\x00\x00", 16));
    EXPECT_EQ(CompareFailure(), VERDAX_ERR_CHUNK_ID);
    EXPECT_EQ(CompareFailure(), VERDAX_ERR_CHUNK_ID);
    ASSERT_EQ(messages_.entries.size(), 1u);  // the position, shown as the error was raised
    EXPECT_EQ(messages_.entries[0].text, "fFile pos = 12");

    WriteGameFile(GameScene());
    EXPECT_EQ(changes_.Compare(mission_).changes.size(), 1u);
}

}  // namespace
