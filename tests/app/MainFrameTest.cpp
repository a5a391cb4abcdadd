#include "tests/app/MainFrameFixture.h"

#include "game/CDravoDon.h"
#include "ui/CChangesPanel.h"
#include "ui/CItemTreeView.h"
#include "ui/CMissionTreePane.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace ui;
using apptest::MainFrameTest;

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
