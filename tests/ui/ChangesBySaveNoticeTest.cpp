// The status bar's word after a save: the count in the noun's form, and nothing
// when the save changed nothing by itself or the game file can no longer be read.

#include "game/CMission.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CChangesBySaveNotice.h"

#include <gtest/gtest.h>

namespace {

using ui::ChangesBySaveMessage;

TEST(ChangesBySaveMessage, TheNounTakesTheFormOfTheNumber)
{
    EXPECT_EQ(ChangesBySaveMessage(1),
              QStringLiteral("Сохранение само изменило 1 объект; список — в панели «Изменения» (меню «Вид»)."));
    EXPECT_TRUE(ChangesBySaveMessage(3).contains(QStringLiteral(" 3 объекта;")));
    EXPECT_TRUE(ChangesBySaveMessage(5).contains(QStringLiteral(" 5 объектов;")));
    EXPECT_TRUE(ChangesBySaveMessage(11).contains(QStringLiteral(" 11 объектов;")));
    EXPECT_TRUE(ChangesBySaveMessage(14).contains(QStringLiteral(" 14 объектов;")));
    EXPECT_TRUE(ChangesBySaveMessage(21).contains(QStringLiteral(" 21 объект;")));
    EXPECT_TRUE(ChangesBySaveMessage(102).contains(QStringLiteral(" 102 объекта;")));
    EXPECT_TRUE(ChangesBySaveMessage(112).contains(QStringLiteral(" 112 объектов;")));
}

// Two missions saved in turn, each compared with its own game file.
TEST(ChangesBySaveNotice, EachMissionIsComparedWithItsOwnGameFile)
{
    testsupport::TempDir dir;
    platform::RecordingPresenter messages;
    const platform::ScopedPresenter presenterScope(messages);
    demo::SceneThing medkit;
    medkit.kind = 3;  // no layout of the writer's: written as another kind
    medkit.name = "medkit";
    demo::SceneThing bandage = medkit;
    bandage.name = "bandage";
    demo::SceneFileData withMedkit;
    withMedkit.things = {medkit, bandage};
    dir.Write("a/scene2.bin", demo::WriteScene2(withMedkit));
    dir.Write("b/scene2.bin", demo::WriteScene2(demo::SceneFileData{}));
    CMission a{"a", CMission::ExplicitFolder{(dir.Path() / "a").string() + "/"}};
    CMission b{"b", CMission::ExplicitFolder{(dir.Path() / "b").string() + "/"}};
    a.Load();
    b.Load();

    ui::CChangesBySaveNotice notice;
    EXPECT_EQ(notice.AfterSave(a), ChangesBySaveMessage(2));
    EXPECT_EQ(notice.AfterSave(b), QString());
    EXPECT_EQ(notice.AfterSave(a), ChangesBySaveMessage(2));

    // The save went through; a comparison that cannot read its file has nothing to say.
    std::filesystem::remove(dir.Path() / "a" / "scene2.bin");
    EXPECT_EQ(notice.AfterSave(a), QString());
}

}  // namespace
