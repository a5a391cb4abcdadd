#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"

#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CChangesPanel.h"
#include "ui/CGenericInfoFormView.h"
#include "ui/CItemTreeView.h"
#include "ui/CMissionTreePane.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace ui;

namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class MainFrameTest : public ::testing::Test {
protected:
    MainFrameTest() : scope_(shown_)
    {
        EXPECT_TRUE(frame_->Create());
        frame_->resize(1000, 700);
        frame_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    }

    QMenu* Menu(const QString& title)
    {
        for (QAction* action : frame_->menuBar()->actions())
            if (action->text() == title)
                return action->menu();
        return nullptr;
    }

    QStringList ItemTexts(const QString& menuTitle)
    {
        QStringList texts;
        for (QAction* action : Menu(menuTitle)->actions())
            if (!action->isSeparator())
                texts << action->text();
        return texts;
    }

    QMdiSubWindow* AddChild(const QString& title)
    {
        auto* view = new QLabel(title);
        view->setWindowTitle(title);
        return frame_->AddChildWindow(view);
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    std::unique_ptr<CMainFrame> frame_ = std::make_unique<CMainFrame>();
};

}  // namespace

TEST_F(MainFrameTest, MenusHoldTheirItemsWithMnemonicsAndShortcutHints)
{
    QStringList titles;
    for (QAction* action : frame_->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, QStringList({"&Файл", "&Правка", "&Вид", "&Окно", "&Помощь"}));
    EXPECT_EQ(ItemTexts("&Файл"),
              QStringList({"&Новый\tCtrl+N", "&Сохранить Миссию", "Со&хранить\tCtrl+S", "&Закрыть", "В&ыход"}));
    EXPECT_EQ(ItemTexts("&Правка"),
              QStringList({"&Отменить\tCtrl+Z", "&Повторить\tCtrl+Y", "Вы&резать\tCtrl+X", "&Копировать\tCtrl+C",
                           "&Вставить\tCtrl+V", "&Дублировать\tCtrl+D", "&Удалить\tDel",
                           "&Найти во всех миссиях…\tCtrl+Shift+F"}));
    EXPECT_EQ(ItemTexts("&Вид"), QStringList({"&Object Bar", "&Edit Bar", "&Toolbar", "&Status Bar",
                                              "&Сбросить раскладку", "&Инфа Объекта", "Из&менения",
                                              "&Показать выделенное\tF",
                                              "Показать в&сё\tShift+F"}));
    EXPECT_EQ(ItemTexts("&Окно"), QStringList({"&Каскадом", "&Растянуть", "&Сортировать", "&Вид Мира"}));
    EXPECT_EQ(ItemTexts("&Помощь"), QStringList({"&Содержание", "&О Verdax..."}));

    EXPECT_EQ(frame_->Action(ID_SAVE_MISSION)->data().toInt(), 32771);
    EXPECT_EQ(frame_->Action(ID_VIEW_OBJECT_BAR)->data().toInt(), 60001);
    EXPECT_EQ(frame_->Action(12345), nullptr);
}

TEST_F(MainFrameTest, StatusPromptsAndTooltipsComeFromTheStringTable)
{
    EXPECT_EQ(frame_->Action(ID_SAVE_MISSION)->statusTip(), "Записать миссию на диск...");
    EXPECT_EQ(frame_->Action(ID_VIEW_EDIT_BAR)->statusTip(), "Показать Edit Bar");
    EXPECT_EQ(frame_->Action(ID_VIEW_EDIT_BAR)->toolTip(), "Включить Edit Bar");
    // The object bar's prompt stands under 60000, not under its command 60001.
    EXPECT_TRUE(frame_->Action(ID_VIEW_OBJECT_BAR)->statusTip().isEmpty());

    // Every toolbar button has its prompt and its tooltip.
    for (QAction* button : frame_->ToolBar()->actions()) {
        if (button->isSeparator())
            continue;
        EXPECT_FALSE(button->statusTip().isEmpty()) << button->data().toInt();
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->data().toInt();
    }
    EXPECT_EQ(frame_->Action(ID_FILE_PRINT)->toolTip(), "Печать");
    EXPECT_EQ(frame_->Action(ID_CONTEXT_HELP)->toolTip(), "Справка");

    // Hovering an item shows its prompt in the first pane.
    QStatusTipEvent tip(frame_->Action(ID_SAVE_MISSION)->statusTip());
    QApplication::sendEvent(frame_.get(), &tip);
    EXPECT_EQ(frame_->StatusPanes().MessagePane()->text(), "Записать миссию на диск...");
}

TEST_F(MainFrameTest, StatusBarHasTheMessagePaneAndThreeIndicators)
{
    EXPECT_EQ(frame_->StatusPanes().IndicatorPanes()[0]->text(), "CAP");
    EXPECT_EQ(frame_->StatusPanes().IndicatorPanes()[1]->text(), "NUM");
    EXPECT_EQ(frame_->StatusPanes().IndicatorPanes()[2]->text(), "SCRL");
    const QWidget* bar = frame_->StatusPanes().IndicatorPanes()[0]->parentWidget();
    EXPECT_LT(frame_->StatusPanes().MessagePane()->mapTo(bar, QPoint()).x(), frame_->StatusPanes().IndicatorPanes()[0]->x());
    EXPECT_LT(frame_->StatusPanes().IndicatorPanes()[0]->x(), frame_->StatusPanes().IndicatorPanes()[2]->x());
}

TEST_F(MainFrameTest, ItemsWithoutAHandlerAreDisabledAndCtrlNDoesNothing)
{
    frame_->UpdateCommandUI();
    // No help file: the help index and F1 have nothing to open.
    EXPECT_FALSE(frame_->Action(ID_HELP_INDEX)->isEnabled());
    EXPECT_FALSE(frame_->Action(ID_HELP)->isEnabled());
    EXPECT_FALSE(frame_->Action(ID_DEFAULT_HELP)->isEnabled());
    EXPECT_TRUE(frame_->Action(ID_CONTEXT_HELP)->isEnabled());
    EXPECT_FALSE(frame_->Action(ID_FILE_NEW)->isEnabled());
    EXPECT_FALSE(frame_->Action(ID_FILE_CLOSE)->isEnabled());
    EXPECT_TRUE(frame_->Action(ID_VIEW_OBJECT_BAR)->isEnabled());
    // Framing needs a world window.
    EXPECT_FALSE(frame_->Action(ID_VIEW_FRAME_SELECTION)->isEnabled());
    EXPECT_FALSE(frame_->Action(ID_VIEW_FRAME_ALL)->isEnabled());
    EXPECT_FALSE(frame_->Action(ID_FILE_PRINT)->isEnabled());
    EXPECT_TRUE(frame_->Action(ID_SAVE_MISSION)->isEnabled());
    EXPECT_TRUE(frame_->Action(ID_APP_ABOUT)->isEnabled());
    EXPECT_TRUE(frame_->Action(ID_APP_EXIT)->isEnabled());
    // Window commands need a child window.
    EXPECT_FALSE(frame_->Action(ID_WINDOW_CASCADE)->isEnabled());
    AddChild("one");
    EXPECT_TRUE(frame_->Action(ID_WINDOW_CASCADE)->isEnabled());

    QSignalSpy newCommand(frame_->Action(ID_FILE_NEW), &QAction::triggered);
    QTest::keyClick(frame_.get(), Qt::Key_N, Qt::ControlModifier);
    frame_->Action(ID_FILE_NEW)->trigger();
    EXPECT_EQ(newCommand.count(), 0);
    EXPECT_FALSE(frame_->Action(ID_FILE_NEW)->isEnabled());
}

TEST_F(MainFrameTest, EditCommandsServeTheFocusedViewThatHandlesThem)
{
    QApplication::setActiveWindow(frame_.get());
    frame_->UpdateCommandUI();
    EXPECT_FALSE(frame_->Action(ID_EDIT_UNDO)->isEnabled());

    auto* editor = new QLineEdit;
    frame_->AddChildWindow(editor);
    editor->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), editor);
    EXPECT_FALSE(frame_->Action(ID_EDIT_UNDO)->isEnabled());  // nothing typed to undo yet
    EXPECT_TRUE(frame_->Action(ID_EDIT_PASTE)->isEnabled());

    QTest::keyClicks(editor, "abc");
    ASSERT_TRUE(frame_->Action(ID_EDIT_UNDO)->isEnabled());
    frame_->Action(ID_EDIT_UNDO)->trigger();
    EXPECT_TRUE(editor->text().isEmpty());

    frame_->GetItemTree()->setFocus();  // the tree handles none of them
    QApplication::processEvents();
    EXPECT_FALSE(frame_->Action(ID_EDIT_COPY)->isEnabled());
}

TEST_F(MainFrameTest, EditBarAndToolbarHideAndShowWithTheirCheckMarks)
{
    frame_->UpdateCommandUI();
    QAction* editBar = frame_->Action(ID_VIEW_EDIT_BAR);
    ASSERT_TRUE(editBar->isCheckable());
    EXPECT_TRUE(editBar->isChecked());
    editBar->trigger();
    EXPECT_TRUE(frame_->EditBar()->isHidden());
    EXPECT_FALSE(editBar->isChecked());
    editBar->trigger();
    EXPECT_FALSE(frame_->EditBar()->isHidden());
    EXPECT_TRUE(editBar->isChecked());

    // Closing the bar by its own button takes the check mark away too.
    frame_->EditBar()->close();
    frame_->UpdateCommandUI();
    EXPECT_FALSE(editBar->isChecked());

    QAction* toolBar = frame_->Action(ID_VIEW_TOOLBAR);
    toolBar->trigger();
    EXPECT_TRUE(frame_->ToolBar()->isHidden());
    EXPECT_FALSE(toolBar->isChecked());
    toolBar->trigger();
    EXPECT_FALSE(frame_->ToolBar()->isHidden());
    EXPECT_TRUE(toolBar->isChecked());
}

// The object bar holds the tree: closed, it comes back as the edit bar does.
TEST_F(MainFrameTest, ObjectBarHidesAndShowsWithItsCheckMark)
{
    frame_->UpdateCommandUI();
    QAction* objectBar = frame_->Action(ID_VIEW_OBJECT_BAR);
    ASSERT_TRUE(objectBar->isCheckable());
    EXPECT_TRUE(objectBar->isChecked());
    objectBar->trigger();
    EXPECT_TRUE(frame_->ObjectBar()->isHidden());
    EXPECT_FALSE(objectBar->isChecked());
    objectBar->trigger();
    EXPECT_FALSE(frame_->ObjectBar()->isHidden());
    EXPECT_TRUE(frame_->GetItemTree()->isVisible());
    EXPECT_TRUE(objectBar->isChecked());
}

TEST_F(MainFrameTest, StatusBarCommandNeverHidesTheStatusBar)
{
    QAction* command = frame_->Action(ID_VIEW_STATUS_BAR);
    for (int i = 0; i < 3; ++i) {
        command->trigger();
        EXPECT_TRUE(frame_->statusBar()->isVisible());
        EXPECT_TRUE(command->isChecked());
    }
}

TEST_F(MainFrameTest, BarsStandWhereTheWindowPutsThem)
{
    EXPECT_EQ(frame_->dockWidgetArea(frame_->ObjectBar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame_->dockWidgetArea(frame_->EditBar()), Qt::RightDockWidgetArea);
    EXPECT_EQ(frame_->toolBarArea(frame_->ToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame_->EditBar()->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(frame_->ObjectBar()->allowedAreas(), Qt::AllDockWidgetAreas);
    EXPECT_EQ(frame_->ObjectBar()->width(), 250);
    EXPECT_EQ(frame_->ObjectBar()->GetTabCount(), 2);
    EXPECT_EQ(frame_->ObjectBar()->TabControl()->tabText(0), "Миссии");
    EXPECT_EQ(frame_->ObjectBar()->TabControl()->tabText(1), "Изменения");
    EXPECT_EQ(frame_->ObjectBar()->ViewAt(1), static_cast<QWidget*>(frame_->ChangesPanel()));
    EXPECT_EQ(frame_->ObjectBar()->ViewAt(0), static_cast<QWidget*>(frame_->GetMissionTreePane()));
    EXPECT_EQ(frame_->GetItemTree()->parentWidget(), static_cast<QWidget*>(frame_->GetMissionTreePane()));
    EXPECT_EQ(CDravoDon::Instance().GetMissionTree(), frame_->GetItemTree());
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFrameTest, TitleStaysVerdaxWithAMaximisedChildWindow)
{
    EXPECT_EQ(frame_->windowTitle(), "Verdax");
    QMdiSubWindow* child = AddChild("Вид Мира");
    child->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(frame_->windowTitle(), "Verdax");
    frame_->setWindowTitle("harbor_town - Verdax");
    EXPECT_EQ(frame_->windowTitle(), "Verdax");
}

TEST_F(MainFrameTest, FirstPaneSpansTheBarWhileAMenuIsOpen)
{
    QApplication::processEvents();
    const int before = frame_->StatusPanes().MessagePane()->width();
    ASSERT_GT(before, 0);
    QMenu* file = Menu("&Файл");
    file->popup(frame_->mapToGlobal(QPoint(10, 30)));
    QApplication::processEvents();
    ASSERT_TRUE(file->isVisible());
    EXPECT_TRUE(frame_->StatusPanes().IsFirstPaneWidened());
    for (QLabel* pane : frame_->StatusPanes().IndicatorPanes())
        EXPECT_FALSE(pane->isVisible());
    EXPECT_GT(frame_->StatusPanes().MessagePane()->width(), before);

    file->hide();
    QApplication::processEvents();
    EXPECT_FALSE(frame_->StatusPanes().IsFirstPaneWidened());
    EXPECT_EQ(frame_->StatusPanes().MessagePane()->width(), before);
    for (QLabel* pane : frame_->StatusPanes().IndicatorPanes())
        EXPECT_TRUE(pane->isVisible());
}

TEST_F(MainFrameTest, PopupWidensOnlyAfterAMenuSelection)
{
    frame_->StatusPanes().OnInitMenuPopup();  // no selection yet
    EXPECT_FALSE(frame_->StatusPanes().IsFirstPaneWidened());
    frame_->StatusPanes().OnMenuSelect(true);  // a menu closing with nothing saved allows the next widening
    frame_->StatusPanes().OnInitMenuPopup();
    EXPECT_TRUE(frame_->StatusPanes().IsFirstPaneWidened());
    frame_->StatusPanes().OnInitMenuPopup();  // a nested popup keeps what was saved
    frame_->StatusPanes().OnMenuSelect(false);
    EXPECT_TRUE(frame_->StatusPanes().IsFirstPaneWidened());
    frame_->StatusPanes().OnMenuSelect(true);
    EXPECT_FALSE(frame_->StatusPanes().IsFirstPaneWidened());
    frame_->StatusPanes().OnInitMenuPopup();  // the flag went with the restore
    EXPECT_FALSE(frame_->StatusPanes().IsFirstPaneWidened());
}

TEST_F(MainFrameTest, WindowCommandsCascadeTileAndArrangeMinimisedChildren)
{
    frame_->resize(1250, 700);  // room for the three in one row
    QApplication::processEvents();
    QMdiSubWindow* a = AddChild("a");
    QMdiSubWindow* b = AddChild("b");
    QMdiSubWindow* c = AddChild("c");
    frame_->Action(ID_WINDOW_TILE_HORZ)->trigger();
    // Side by side: the area's height each, a third of its width, left to right.
    const QSize area = frame_->MdiArea()->viewport()->size();
    EXPECT_EQ(a->geometry(), QRect(0, 0, area.width() / 3, area.height()));
    EXPECT_EQ(b->geometry(), QRect(area.width() / 3, 0, area.width() * 2 / 3 - area.width() / 3, area.height()));
    EXPECT_EQ(c->geometry().right() + 1, area.width());
    EXPECT_FALSE(a->geometry().intersects(b->geometry()));
    EXPECT_FALSE(b->geometry().intersects(c->geometry()));
    frame_->Action(ID_WINDOW_CASCADE)->trigger();
    EXPECT_LT(a->pos().x(), b->pos().x());
    EXPECT_LT(b->pos().y(), c->pos().y());

    for (QMdiSubWindow* child : {a, b, c}) {
        child->showMinimized();
        child->move(200, 50);  // scattered by the user
    }
    frame_->Action(ID_WINDOW_ARRANGE)->trigger();
    const int bottom = frame_->MdiArea()->viewport()->height();
    EXPECT_EQ(a->geometry().bottom() + 1, bottom);
    EXPECT_EQ(a->x(), 0);
    EXPECT_EQ(b->x(), a->geometry().right() + 1);
    EXPECT_EQ(c->x(), b->geometry().right() + 1);
    EXPECT_EQ(c->geometry().bottom() + 1, bottom);
}

// The Window menu lists the child windows after its commands and activates the one
// chosen.
TEST_F(MainFrameTest, TheWindowMenuListsTheChildWindowsAndActivatesTheChosenOne)
{
    QMdiSubWindow* a = AddChild("alpha");
    QMdiSubWindow* b = AddChild("beta & gamma");
    frame_->MdiArea()->setActiveSubWindow(b);
    QMenu* window = Menu("&Окно");
    emit window->aboutToShow();
    QStringList listed;
    QList<QAction*> items;
    for (QAction* action : window->actions()) {
        if (!action->isSeparator() && action->data().isNull()) {
            listed << action->text();
            items << action;
        }
    }
    ASSERT_EQ(listed, (QStringList{"&1 alpha", "&2 beta && gamma"}));
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isChecked());  // the active one
    items[0]->trigger();
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), a);

    b->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    emit window->aboutToHide();
    emit window->aboutToShow();  // made anew each time
    listed.clear();
    for (QAction* action : window->actions())
        if (!action->isSeparator() && action->data().isNull())
            listed << action->text();
    EXPECT_EQ(listed, QStringList{"&1 alpha"});
}

// At the size a new main window has on a 1280 x 1024 screen the info window is wider
// than the document area: it opens inside it, no larger, and its form scrolls to
// "Применить".
TEST_F(MainFrameTest, AChildWindowOpensInsideTheAreaAndNoLarger)
{
    frame_->resize(960, 768);
    QApplication::processEvents();
    frame_->OnObjectInfo();
    ASSERT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    QMdiSubWindow* child = frame_->MdiArea()->subWindowList().front();
    const QRect area(QPoint(0, 0), frame_->MdiArea()->viewport()->size());
    EXPECT_TRUE(area.contains(child->geometry())) << child->geometry().width() << " in " << area.width();
    auto* form = child->findChild<CGenericInfoFormView*>();
    ASSERT_NE(form, nullptr);
    ASSERT_GT(form->FormSize().width(), area.width());  // the case in point
    QWidget* apply = form->Control(CGenericInfoFormView::IDC_APPLY);
    form->ensureWidgetVisible(apply);
    const QRect shown(apply->mapTo(form->viewport(), QPoint(0, 0)), apply->size());
    EXPECT_TRUE(form->viewport()->rect().contains(shown));
}

TEST_F(MainFrameTest, ArrangeStartsANewRowAboveWhenOneIsFull)
{
    frame_->resize(500, 600);
    QApplication::processEvents();
    std::vector<QMdiSubWindow*> children;
    for (int i = 0; i < 8; ++i) {
        children.push_back(AddChild(QStringLiteral("window %1").arg(i)));
        children.back()->showMinimized();
    }
    frame_->ArrangeIcons();
    const int width = frame_->MdiArea()->viewport()->width();
    for (QMdiSubWindow* child : children)
        EXPECT_LE(child->geometry().right(), width - 1);
    EXPECT_LT(children.back()->y(), children.front()->y());  // the last ones went up a row
    EXPECT_EQ(children.front()->geometry().bottom() + 1, frame_->MdiArea()->viewport()->height());
}

namespace {

// A child view that takes part in notifications.
class NotifiedView final : public QLabel, public CDravoDonView {
public:
    void Notify(CDravoDonView*, int code, int) override { codes.push_back(code); }
    std::vector<int> codes;
};

}  // namespace

TEST_F(MainFrameTest, OpenViewMakesChildWindowsByKind)
{
    CDravoDon& don = CDravoDon::Instance();
    EXPECT_EQ(don.OpenView(259, nullptr), nullptr);
    EXPECT_EQ(don.OpenView(DON_VIEW_WORLD, nullptr), nullptr);  // no world window yet
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());

    CMission mission("alpha", CMission::ExplicitFolder{"/nowhere/"});
    frame_->SetViewFactory(DON_VIEW_INFO, [](CVerdaxData*) { return new NotifiedView; });
    CDravoDonView* view = don.OpenView(DON_VIEW_INFO, &mission);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetObject(), &mission);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    don.Broadcast(nullptr, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(static_cast<NotifiedView*>(view)->codes, std::vector<int>{DON_OBJECT_CHANGED});

    // A window whose view takes no part stays open, and the answer is null.
    frame_->SetViewFactory(DON_VIEW_SCRIPT, [](CVerdaxData*) { return new QLabel; });
    EXPECT_EQ(don.OpenView(DON_VIEW_SCRIPT, nullptr), nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);
    frame_->SetViewFactory(DON_VIEW_WORLD, [](CVerdaxData*) { return nullptr; });
    EXPECT_EQ(don.OpenView(DON_VIEW_WORLD, nullptr), nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);

    // A closed window's view leaves the mediator, so no broadcast can reach it.
    const std::size_t registered = don.GetViews().size();
    ASSERT_EQ(std::ranges::count(don.GetViews(), view), 1);
    frame_->MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the windows go
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(don.GetViews().size(), registered - 1);
    EXPECT_EQ(std::ranges::count(don.GetViews(), view), 0);
    don.Broadcast(nullptr, DON_OBJECT_CHANGED, 0);
}

class SaveCommandTest : public MainFrameTest {
protected:
    CMission* AddMission(const std::string& name)
    {
        demo::SceneFileData scene;
        demo::SceneThing thing;
        thing.kind = demo::thing::kModel;
        thing.name = "lamp";
        thing.modelName = "lamp.4ds";
        scene.things.push_back(thing);
        dir_.Write(name + "/scene2.bin", demo::WriteScene2(scene));
        missions_.push_back(std::make_unique<CMission>(name, CMission::ExplicitFolder{Folder(name).string() + "/"}));
        frame_->GetItemTree()->AddMissionItem(missions_.back().get());
        return missions_.back().get();
    }

    std::filesystem::path Folder(const std::string& name) const { return dir_.Path() / name; }

    void Save()
    {
        shown_.entries.clear();
        frame_->Action(ID_SAVE_MISSION)->trigger();
    }

    testsupport::TempDir dir_;
    std::vector<std::unique_ptr<CMission>> missions_;

    ~SaveCommandTest() override { frame_.reset(); }  // the tree goes before the missions
};

TEST_F(SaveCommandTest, NoSelectionOrAnObjectSelectedShowsMessage1002)
{
    CMission* mission = AddMission("alpha");
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NO_MISSION_SELECTED);
    EXPECT_EQ(Utf8(shown_.entries[0].text), "Сорри, невозможно определить, какая миссия выбрана.");

    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    ASSERT_TRUE(mission->IsLoaded());
    tree->SelectObject(mission->GetThings()[0].get());
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NO_MISSION_SELECTED);
    tree->setCurrentItem(tree->CategoryNode(mission, CATEGORY_THINGS));
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(Folder("alpha") / "scene2.bin.Verdax"));
}

// The menu takes the press of Enter that chooses the command; the release then
// reaches the tree, which must not open the mission it has selected.
TEST_F(SaveCommandTest, ChoosingSaveWithEnterFromTheMenuOpensNoMission)
{
    CMission* mission = AddMission("alpha");
    CItemTreeView* tree = frame_->GetItemTree();
    QApplication::setActiveWindow(frame_.get());
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));
    QApplication::processEvents();
    ASSERT_EQ(frame_->focusWidget(), tree);

    QMenu* file = Menu("&Файл");
    file->popup(frame_->mapToGlobal(QPoint(10, 30)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    file->setActiveAction(frame_->Action(ID_SAVE_MISSION));
    QSignalSpy saved(frame_->Action(ID_SAVE_MISSION), &QAction::triggered);
    QTest::keyPress(file, Qt::Key_Return);
    EXPECT_EQ(saved.count(), 1);
    QApplication::processEvents();
    EXPECT_FALSE(file->isVisible());
    // The release goes where the window's keyboard input goes now.
    QTest::keyRelease(frame_->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(mission->IsLoaded());
}

TEST_F(SaveCommandTest, TheSelectedMissionIsWrittenBesideItsObjectFile)
{
    CMission* mission = AddMission("alpha");
    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    tree->setCurrentItem(tree->topLevelItem(0));
    ASSERT_EQ(tree->GetSelectedMission(), mission);
    Save();
    EXPECT_TRUE(shown_.entries.empty());
    const std::string written = testsupport::ReadFile(Folder("alpha") / "scene2.bin.Verdax");
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.substr(0, 2), std::string("SL", 2));  // the scene chunk
    EXPECT_NE(written.find("lamp"), std::string::npos);
}

TEST_F(SaveCommandTest, AFailedSaveIsReportedAndTheProgramGoesOn)
{
    CMission* mission = AddMission("alpha");
    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    tree->setCurrentItem(tree->topLevelItem(0));
    // A folder where the output file belongs: it cannot be written. The one box names
    // the file and the system's reason.
    std::filesystem::create_directories(Folder("alpha") / "scene2.bin.Verdax" / "inside");
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].text, (Folder("alpha") / "scene2.bin.Verdax").string() + ": Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(Folder("alpha") / "scene2.bin.Verdax" / "inside"));
    EXPECT_TRUE(mission->IsLoaded());
    EXPECT_TRUE(frame_->isVisible());
}

// "Сохранить" needs no mission row: the mission of what is selected, or of the world
// window when nothing is.
TEST_F(SaveCommandTest, SaveWritesTheMissionOfTheSelectionOrOfTheWorldWindow)
{
    CMission* alpha = AddMission("alpha");
    CMission* beta = AddMission("beta");
    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    tree->OpenMissionItem(tree->topLevelItem(1));
    const auto saveKeys = [&](QWidget* focus) {
        shown_.entries.clear();
        QApplication::setActiveWindow(frame_.get());
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    };
    const auto written = [&](const std::string& name) {
        return std::filesystem::exists(Folder(name) / "scene2.bin.Verdax");
    };

    tree->SelectObject(beta->GetThings()[0].get());
    saveKeys(tree);
    EXPECT_TRUE(shown_.entries.empty());
    EXPECT_TRUE(written("beta"));
    EXPECT_FALSE(written("alpha"));
    tree->setCurrentItem(tree->CategoryNode(alpha, CATEGORY_THINGS));
    saveKeys(tree);
    EXPECT_TRUE(written("alpha"));

    std::filesystem::remove(Folder("beta") / "scene2.bin.Verdax");
    tree->clearSelection();
    saveKeys(tree);
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NO_MISSION_SELECTED);
    frame_->SetViewFactory(DON_VIEW_WORLD, [](CVerdaxData*) { return new CGlFrame; });
    auto* world = dynamic_cast<QWidget*>(CDravoDon::Instance().OpenView(DON_VIEW_WORLD, beta));
    ASSERT_NE(world, nullptr);
    saveKeys(world);
    EXPECT_TRUE(shown_.entries.empty());
    EXPECT_TRUE(written("beta"));
}

TEST(AboutDlg, ReleasingTheLeftButtonClosesItWithResultZero)
{
    CAboutDlg about;
    QTimer::singleShot(0, &about, [&about] {
        QTest::mouseClick(&about, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
        EXPECT_TRUE(about.isVisible());  // another button leaves it open
        QTest::mouseClick(&about, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    });
    about.setResult(42);
    EXPECT_EQ(about.exec(), 0);
    EXPECT_EQ(about.size(), CAboutDlg::Picture().size());  // the picture covers the box
}

// The version shows on the picture, inside the box, and a click on it closes the box
// as a click anywhere on the picture does.
TEST(AboutDlg, ShowsTheProjectsVersionInsideThePicture)
{
    CAboutDlg about;
    auto* version = about.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Версия ") + QStringLiteral(VERDAX_PROJECT_VERSION));
    QTimer::singleShot(0, &about, [&about, version] {
        const QRect onBox(version->mapTo(&about, QPoint(0, 0)), version->size());
        EXPECT_TRUE(version->isVisible());
        EXPECT_TRUE(about.rect().contains(onBox)) << onBox.x() << ',' << onBox.y();
        QTest::mouseClick(&about, Qt::LeftButton, Qt::NoModifier, onBox.center());
    });
    about.setResult(42);
    EXPECT_EQ(about.exec(), 0);
}
