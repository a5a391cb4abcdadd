// The changes panel's rows, made from a loaded mission compared with its game file:
// what each says, their order, and which object a row leads to.

#include "game/CMissionChanges.h"
#include "game/CRefreshPacing.h"
#include "game/ChangeRow.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

demo::SceneThing Thing(std::int32_t kind, std::string name, std::string model = {})
{
    demo::SceneThing thing;
    thing.kind = kind;
    thing.name = std::move(name);
    thing.modelName = std::move(model);
    return thing;
}

// A model thing with a script, a thing of a kind the writer does not know, and a
// mission script.
demo::SceneFileData GameScene()
{
    demo::SceneFileData scene;
    scene.headerText = "made by the game";
    scene.things = {Thing(demo::thing::kModel, "crate", "crate.i3d"), Thing(3, "medkit")};
    demo::SceneThingData script;
    script.name = "crate";
    script.script = "go";
    scene.thingData = {script};
    scene.missionScripts = {{1, "init", "start"}};
    return scene;
}

// "edit | Вещи | crate | позиция: ..." per row.
Texts Spelled(const std::vector<ChangeRow>& rows)
{
    Texts texts;
    for (const ChangeRow& row : rows)
        texts.push_back(std::string(row.group == ChangeRowGroup::kEdit ? "edit" : "save") + " | " + row.listText + " | " +
                        row.objectText + " | " + row.changeText);
    return texts;
}

// One row a line, readable in a failure's message.
std::string Lines(const Texts& texts)
{
    std::string lines;
    for (const std::string& text : texts)
        lines += text + "\n";
    return lines;
}

class ChangeRows : public testing::Test {
protected:
    void WriteGameFile(const demo::SceneFileData& scene) { dir_.Write("m1/scene2.bin", demo::WriteScene2(scene)); }
    std::vector<ChangeRow> Rows() { return MakeChangeRows(changes_.Compare(mission_), mission_); }

    testsupport::TempDir dir_;
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter presenterScope_{messages_};
    CMission mission_{"m1", CMission::ExplicitFolder{(dir_.Path() / "m1").string() + "/"}};
    CMissionChanges changes_;
};

TEST_F(ChangeRows, EditsComeFirstWithTheirFieldsThenWhatTheSaveChangesByItselfAndTheHeader)
{
    WriteGameFile(GameScene());
    mission_.Load();
    CSceneObjectThing& crate = *mission_.GetThings()[0];
    crate.SetTranslation({0.5f, 0, -2});
    crate.SetScript("stop");
    mission_.GetMissionScripts()[0]->SetScript("restart");
    platform::SetAnsiCodePage(1251);
    mission_.GetThings()[1]->SetName("\xE0\xEF\xF2\xE5\xF7\xEA\xE0");  // "аптечка" in 1251, shown in UTF-8

    Texts rows = Spelled(Rows());
    ASSERT_EQ(rows.size(), 5u) << Lines(rows);
    EXPECT_EQ(rows.back().rfind("save | Заголовок | Заголовок файла | текст: «made by the game» → «" +
                                std::string(CScene2File::kHeaderMarker), 0), 0u) << rows.back();
    rows.pop_back();
    EXPECT_EQ(Lines(rows),
              "edit | Вещи | crate | позиция: [0, 0, 0] → [0.5, 0, -2]\n"
              "edit | Вещи | аптечка | имя: «medkit» → «аптечка»; тип: 3 → 4098\n"
              "edit | Дата Вещей | crate | скрипт: изменён\n"
              "edit | Системные скрипты | init | скрипт: изменён\n");

    // Moved again, the crate's row is the same row with other fields.
    const std::vector<ChangeRow> before = Rows();
    crate.SetTranslation({1, 0, 0});
    const std::vector<ChangeRow> after = Rows();
    EXPECT_NE(after[0].changeText, before[0].changeText);
    EXPECT_TRUE(after[0].SameObject(before[0]));
    EXPECT_FALSE(after[0].SameObject(before[1]));
}

// The game file changed on disk under a loaded mission: the thing only the file has
// was removed, the unnamed one only the mission has added, shown by its model.
TEST_F(ChangeRows, RemovedAndAddedObjectsAndWhichObjectARowLeadsTo)
{
    demo::SceneFileData scene = GameScene();
    scene.things.push_back(Thing(demo::thing::kModel, "", "lamp.i3d"));
    WriteGameFile(scene);
    mission_.Load();
    scene.things = {Thing(demo::thing::kPlain, "ghost"), Thing(demo::thing::kModel, "crate", "crate.i3d"), Thing(3, "medkit")};
    WriteGameFile(scene);

    const std::vector<ChangeRow> rows = Rows();
    ASSERT_EQ(Spelled(rows).size(), 4u) << Lines(Spelled(rows));
    EXPECT_EQ(Spelled(rows)[0], "edit | Вещи | ghost | удалён");
    EXPECT_EQ(Spelled(rows)[1], "edit | Вещи | [lamp.i3d] | добавлен");
    EXPECT_EQ(ChangeRowObject(rows[0], mission_), nullptr);
    EXPECT_EQ(ChangeRowObject(rows[1], mission_), mission_.GetThings()[2].get());
    EXPECT_EQ(ChangeRowObject(rows[2], mission_), mission_.GetThings()[1].get());  // medkit, by save
    EXPECT_EQ(ChangeRowObject(rows[3], mission_), nullptr);                         // the header

    // A row made before the lists changed leads nowhere rather than to another object;
    // made anew, it names the object by its new name.
    mission_.GetThings()[2]->SetName("lamp");
    EXPECT_EQ(ChangeRowObject(rows[1], mission_), nullptr);
    EXPECT_EQ(Rows()[1].objectText, "lamp");
}

TEST(RefreshPacing, ALoneChangeWaitsForQuietABurstForTheLongestAndNeverSoonerThanItsCostAllows)
{
    using namespace std::chrono_literals;
    const CRefreshPacing::Clock::time_point t0{};
    CRefreshPacing pacing;
    EXPECT_FALSE(pacing.NextRefresh());

    pacing.NoteChange(t0);
    EXPECT_EQ(pacing.NextRefresh(), t0 + CRefreshPacing::kQuiet);
    for (auto at = t0; at < t0 + 1s; at += 50ms)  // changes without a pause
        pacing.NoteChange(at);
    EXPECT_EQ(pacing.NextRefresh(), t0 + CRefreshPacing::kLongest);

    pacing.NoteRefreshed(t0 + 1s, 200ms);
    EXPECT_FALSE(pacing.NextRefresh());
    pacing.NoteChange(t0 + 1100ms);
    EXPECT_EQ(pacing.NextRefresh(), t0 + 1s + CRefreshPacing::kCostShare * 200ms);
    pacing.Clear();
    EXPECT_FALSE(pacing.HasChanges());
}

}  // namespace
