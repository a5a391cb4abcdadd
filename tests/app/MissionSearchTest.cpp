// "Найти во всех миссиях" in the editor on the demo game: from the key to a script
// line of a mission not yet opened, a loaded mission searched with the text being
// typed into its script window, a result whose object has gone, and the editor
// closing while a search runs.

#include "tests/app/EditorOnDemo.h"

#include "app/CMissionSearchDock.h"
#include "tests/game/HeldMissionSource.h"
#include "ui/CMissionSearchPanel.h"
#include "ui/CScriptFrame.h"
#include "ui/CSearchResultModel.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"
#include "view3d/CGlView.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeView>

#include <chrono>
#include <future>
#include <thread>

using namespace ui;

namespace {

class MissionSearchInEditor : public EditorOnDemo {
protected:
    CMissionSearchPanel* Panel() const { return frame_->SearchBar()->Panel(); }

    // Ctrl+Shift+F from the tree, the pattern typed and Enter, then the search's end.
    void Search(const QString& pattern)
    {
        KeyOnTree(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_TRUE(Panel()->PatternField()->hasFocus());
        QTest::keyClicks(Panel()->PatternField(), pattern);
        QTest::keyClick(Panel()->PatternField(), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Panel()->Session().IsRunning(); }, 5000));
    }

    // The row whose cells hold `mission` and `object`, -1 when there is none.
    int RowOf(const QString& mission, const QString& object) const
    {
        const QAbstractItemModel* model = Panel()->ResultList()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, CSearchResultModel::kMission).data().toString() == mission &&
                model->index(row, CSearchResultModel::kObject).data().toString() == object)
                return row;
        }
        return -1;
    }

    void DoubleClickRow(int row)
    {
        QTreeView* list = Panel()->ResultList();
        QApplication::processEvents();  // the list lays its new rows out
        const QRect cell = list->visualRect(list->model()->index(row, CSearchResultModel::kText));
        // A user's double-click: the press and release of the first click, then the second.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    CMission* MissionNamed(const std::string& name) const
    {
        for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
            if (mission->GetName() == name)
                return mission.get();
        return nullptr;
    }
};

// The end-to-end path: "wait 1000" is in the outpost's guard script (line 2) and,
// as part of "wait 10000", in the harbour's truck script (line 3).
TEST_F(MissionSearchInEditor, AScriptLineFoundOpensItsMissionAndItsScriptAtThatLine)
{
    EXPECT_FALSE(frame_->SearchBar()->isVisible());
    const int treeWidth = tree_->width();
    Search(QStringLiteral("wait 1000"));
    EXPECT_TRUE(frame_->SearchBar()->isVisible());
    EXPECT_GE(tree_->width(), treeWidth);  // the bar stands under the document area, beside the tree
    const int outpostRow = RowOf(QStringLiteral("forest_outpost"), QStringLiteral("guard_outpost"));
    ASSERT_GE(outpostRow, 0);
    EXPECT_GE(RowOf(QStringLiteral("harbor_town"), QStringLiteral("truck_delivery")), 0);
    CMission* outpost = MissionNamed(demo::kOutpostMission);
    ASSERT_FALSE(outpost->IsLoaded());

    DoubleClickRow(outpostRow);
    ASSERT_TRUE(outpost->IsLoaded());
    CSceneObject* guard = outpost->GetThingData().at(0).get();
    EXPECT_EQ(tree_->GetObject(), guard);
    auto* world = dynamic_cast<CGlView*>(frame_->MdiArea()->ChildOfKind(DON_VIEW_WORLD)->widget());
    EXPECT_EQ(world->GetObject(), outpost);
    auto* script = dynamic_cast<CScriptFrame*>(frame_->MdiArea()->activeSubWindow());
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->View()->GetObject(), guard);
    EXPECT_EQ(script->View()->textCursor().blockNumber(), 1);
    EXPECT_TRUE(script->View()->hasFocus());

    // Again, from the keyboard: the same window comes forward, not a second one.
    const int windows = static_cast<int>(frame_->MdiArea()->subWindowList().size());
    script->View()->moveCursor(QTextCursor::End);
    QTreeView* list = Panel()->ResultList();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(outpostRow, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), windows);
    EXPECT_EQ(script->View()->textCursor().blockNumber(), 1);
    EXPECT_TRUE(boxes_.boxes.empty());
}

// The harbour is loaded: its mission script is searched as it stands in memory,
// with the line typed into its script window and not yet written back.
TEST_F(MissionSearchInEditor, ALoadedMissionIsSearchedWithTheScriptBeingTyped)
{
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClick(view, Qt::Key_Return);  // after "end", the sixth line
    QTest::keyClicks(view, "rem zebra_typed");
    Search(QStringLiteral("zebra_typed"));
    EXPECT_EQ(Panel()->Session().GetCounts().matches, 1u);
    const int row = RowOf(QStringLiteral("harbor_town"), QStringLiteral("init"));
    ASSERT_GE(row, 0);
    const QAbstractItemModel* model = Panel()->ResultList()->model();
    EXPECT_EQ(model->index(row, CSearchResultModel::kLine).data().toString(), QStringLiteral("7"));
    EXPECT_EQ(model->index(row, CSearchResultModel::kText).data().toString(), QStringLiteral("rem zebra_typed"));
}

// A text the object cannot take keeps the search from starting, as it keeps a save.
TEST_F(MissionSearchInEditor, AScriptTheObjectCannotTakeKeepsTheSearchFromStarting)
{
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QStringLiteral("\u4e2d"), Qt::NoModifier);
    frame_->SearchBar()->ShowForSearch();
    QTest::keyClicks(Panel()->PatternField(), QStringLiteral("init"));
    QTest::keyClick(Panel()->PatternField(), Qt::Key_Return);
    EXPECT_EQ(Panel()->Session().GetState(), CMissionSearchSession::State::kIdle);
    ASSERT_FALSE(boxes_.boxes.empty());
    EXPECT_TRUE(boxes_.boxes.back().text.contains(QStringLiteral("U+4e2d")));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Backspace);  // what the editor's end will write
}

TEST_F(MissionSearchInEditor, AResultWhoseObjectHasGoneIsSaidSoInTheStatusBar)
{
    Search(QStringLiteral("sniper_roof"));
    const int row = RowOf(QStringLiteral("harbor_town"), QStringLiteral("sniper_roof"));
    ASSERT_GE(row, 0);
    harbour_->GetThingData().back()->SetName("sniper_gone");
    DoubleClickRow(row);
    EXPECT_EQ(frame_->StatusPanes().MessagePane()->text(),
              QStringLiteral("В миссии harbor_town больше нет объекта sniper_roof"));
    EXPECT_EQ(tree_->GetObject(), harbour_);
}

// The window goes while the worker reads: its end waits for that read, and the
// worker's last call reaches nothing.
TEST_F(MissionSearchInEditor, TheEditorClosesWhileASearchRuns)
{
    std::promise<void> release;
    Panel()->SetMissionList([released = release.get_future().share()] {
        CMissionSearch::Missions missions = CMissionSearch::MissionsOf(CDravoDon::Instance().GetRoot());
        missions.push_back(std::make_unique<HeldMissionSource>("zz_held", released));
        return missions;
    });
    frame_->SearchBar()->ShowForSearch();
    QTest::keyClicks(Panel()->PatternField(), QStringLiteral("gate"));
    QTest::keyClick(Panel()->PatternField(), Qt::Key_Return);
    ASSERT_TRUE(Panel()->Session().IsRunning());
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        release.set_value();
    });
    EXPECT_TRUE(frame_->close());
    static_cast<CVerdaxApp*>(qApp)->ExitInstance(0);
    releaser.join();
    QApplication::processEvents();
}

}  // namespace
