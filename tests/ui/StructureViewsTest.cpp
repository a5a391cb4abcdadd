// The views as objects come and go: the tree's rows, the pages, and the script and
// info windows of an object that leaves its mission (run under the sanitizers,
// the objects freed once no step can bring them back).

#include "game/CDravoDon.h"
#include "game/ObjectOperations.h"
#include "platform/MessagePresenter.h"
#include "tests/ui/EditedMission.h"
#include "ui/CEditHistory.h"
#include "ui/CGenericInfoFrame.h"
#include "ui/CGenericInfoFormView.h"
#include "ui/CItemTreeView.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CRollupCtrl.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"

#include <QApplication>
#include <QMdiArea>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

using namespace ui;

namespace {

// Records the codes the mediator delivers.
struct CodeRecorder final : CDravoDonView {
    CodeRecorder() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView*, int code, int) override { codes.push_back(code); }
    std::vector<int> codes;
};

class StructureViewsTest : public ::testing::Test {
protected:
    StructureViewsTest() : scope_(shown_) {}

    CMission& Mission() const { return *edited_->mission; }

    QStringList Rows(int category) const
    {
        QStringList rows;
        const QTreeWidgetItem* node = tree_->CategoryNode(&Mission(), category);
        for (int i = 0; node && i < node->childCount(); ++i)
            rows << node->child(i)->text(0);
        return rows;
    }

    void Undo()
    {
        history_->SetCurrentMission(&Mission());
        history_->Undo();
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    std::unique_ptr<testsupport::EditedMission> edited_ = std::make_unique<testsupport::EditedMission>(false);
    // Declared after the mission: destroyed before it, with the objects it holds.
    std::unique_ptr<CEditHistory> history_ = std::make_unique<CEditHistory>(
        CDravoDon::Instance(), [this](const CVerdaxData& object) { return edited_->mission->Owns(&object) ? edited_->mission.get() : nullptr; });
    std::unique_ptr<CItemTreeView> tree_ = std::make_unique<CItemTreeView>();
};

}  // namespace

TEST_F(StructureViewsTest, TheTreeAddsAndRemovesRowsInPlaceKeepingWhatIsExpanded)
{
    CItemTreeItem* missionItem = tree_->AddMissionItem(&Mission());
    tree_->OpenMissionItem(missionItem);
    ASSERT_TRUE(Mission().IsLoaded());
    tree_->CategoryNode(&Mission(), CATEGORY_THINGS)->setExpanded(true);
    EXPECT_EQ(Rows(CATEGORY_THINGS), QStringList({"door", "lamp"}));

    DuplicateObject(CDravoDon::Instance(), Mission(), edited_->Door());
    EXPECT_EQ(Rows(CATEGORY_THINGS), QStringList({"door", "door_2", "lamp"}));
    EXPECT_EQ(Rows(CATEGORY_THING_DATA), QStringList({"door", "door_2", "lamp"}));
    EXPECT_TRUE(tree_->CategoryNode(&Mission(), CATEGORY_THINGS)->isExpanded());
    EXPECT_FALSE(tree_->CategoryNode(&Mission(), CATEGORY_THING_DATA)->isExpanded());

    // Deleting the current row leaves its category current, unannounced: every view
    // drops the object on the removal itself.
    tree_->SelectObject(&edited_->Door());
    CodeRecorder recorder;
    DeleteObject(CDravoDon::Instance(), Mission(), edited_->Door());
    EXPECT_EQ(Rows(CATEGORY_THINGS), QStringList({"door_2", "lamp"}));
    EXPECT_EQ(Rows(CATEGORY_THING_DATA), QStringList({"door_2", "lamp"}));
    EXPECT_EQ(tree_->currentItem(), tree_->CategoryNode(&Mission(), CATEGORY_THINGS));
    EXPECT_EQ(tree_->GetObject(), nullptr);
    EXPECT_EQ(recorder.codes, (std::vector<int>{DON_OBJECT_REMOVING, DON_OBJECT_REMOVING}));

    // Undo puts the rows back where they were, also between rows of the same name.
    Undo();
    EXPECT_EQ(Rows(CATEGORY_THINGS), QStringList({"door", "door_2", "lamp"}));
    edited_->Door().SetName("lamp");
    Mission().GetThingData().front()->SetName("lamp");
    DeleteObject(CDravoDon::Instance(), Mission(), edited_->Door());
    Undo();
    const auto* first = static_cast<CItemTreeItem*>(tree_->CategoryNode(&Mission(), CATEGORY_THINGS)->child(1));
    EXPECT_EQ(first->GetObject(), &edited_->Door());  // the first "lamp" of the list comes first
}

// Opening a mission makes its category nodes only; a category's rows come when the
// user first opens it, and a category without objects shows no mark to open.
TEST_F(StructureViewsTest, ACategorysRowsAreMadeWhenTheUserFirstOpensIt)
{
    CItemTreeItem* missionItem = tree_->AddMissionItem(&Mission());
    tree_->OpenMissionItem(missionItem);
    missionItem->setExpanded(true);
    tree_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree_.get()));
    std::map<int, QTreeWidgetItem*> nodes;
    for (int i = 0; i < missionItem->childCount(); ++i)
        nodes[static_cast<CItemTreeItem*>(missionItem->child(i))->GetCategory()] = missionItem->child(i);
    QTreeWidgetItem* things = nodes.at(CATEGORY_THINGS);
    EXPECT_EQ(things->childCount(), 0);
    EXPECT_EQ(things->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(nodes.at(CATEGORY_WHOLE)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);

    tree_->setCurrentItem(things);
    QTest::keyClick(tree_->viewport(), Qt::Key_Right);
    ASSERT_TRUE(things->isExpanded());
    ASSERT_EQ(things->childCount(), 2);
    EXPECT_EQ(things->child(0)->text(0), "door");
    EXPECT_EQ(things->child(1)->text(0), "lamp");
    EXPECT_EQ(nodes.at(CATEGORY_SCRIPTS)->childCount(), 0);  // still closed, still without rows
}

TEST_F(StructureViewsTest, ThePagesClearWhenTheirObjectGoes)
{
    Mission().Load();
    CNormalRollupControl rollup;
    CodeRecorder selector;
    selector.SetObject(&edited_->Door());
    CDravoDon::Instance().Broadcast(&selector, DON_OBJECT_SELECTED, 0);
    ASSERT_TRUE(rollup.PageAt(0)->enabled);
    EXPECT_EQ(rollup.GetObject(), &edited_->Door());

    DeleteObject(CDravoDon::Instance(), Mission(), edited_->Door());
    EXPECT_EQ(rollup.GetObject(), nullptr);
    for (int i = 0; i < rollup.PageCount(); ++i)
        EXPECT_FALSE(rollup.PageAt(i)->enabled) << i;
}

TEST_F(StructureViewsTest, TheScriptAndInfoWindowsOfARemovedObjectCloseAndStayClosedOnUndo)
{
    Mission().Load();
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    const auto open = [&area](QMdiSubWindow* frame, CDravoDonView* view) {
        frame->setAttribute(Qt::WA_DeleteOnClose);
        area.addSubWindow(frame);
        frame->show();
        CDravoDon::Instance().RegisterView(view);
        return QPointer<QMdiSubWindow>(frame);
    };
    auto* doorScript = new CScriptFrame(&edited_->Door());
    auto* lampScript = new CScriptFrame(&edited_->Lamp());
    auto* initScript = new CScriptFrame(&edited_->Init());
    auto* doorInfo = new CGenericInfoFrame(&edited_->Door());
    const QPointer<QMdiSubWindow> windows[] = {open(doorScript, doorScript->View()), open(lampScript, lampScript->View()),
                                               open(initScript, initScript->View()),
                                               open(doorInfo, doorInfo->View())};
    // Text typed into the door's window and not yet written goes with the window,
    // without a question.
    doorScript->View()->setPlainText("typed");

    DeleteObject(CDravoDon::Instance(), Mission(), edited_->Door());
    // The lamp's script window goes with the thing data holding its script.
    DeleteObject(CDravoDon::Instance(), Mission(), *Mission().GetThingData().back());
    QTest::qWait(0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(windows[0].isNull());
    EXPECT_TRUE(windows[1].isNull());
    EXPECT_FALSE(windows[2].isNull());
    EXPECT_TRUE(windows[3].isNull());
    EXPECT_TRUE(shown_.entries.empty());

    Undo();
    Undo();
    EXPECT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(edited_->mission->GetThings().size(), 2u);
    // Redone, the objects are out again; the history gone, the steps that held them
    // free them, and the windows left go on painting without reaching them.
    history_->Redo();
    history_->Redo();
    history_.reset();
    area.update();
    QApplication::processEvents();
    EXPECT_EQ(edited_->mission->GetThings().size(), 1u);
    EXPECT_EQ(edited_->mission->GetThingData().size(), 0u);
}
