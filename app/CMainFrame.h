#pragma once
// The editor's one main window: menus, accelerators, toolbar, status bar, the
// object bar on the left (the mission tree's tab), the edit bar on the right, and
// the child windows inside a multiple-document area. It is also the host through
// which the mediator opens child windows and reaches the mission tree.
//
// The window owns the editor's undo history (one stack per mission) and installs
// it with the mediator. "Отменить" and "Повторить" act on a focused text editor
// that can take them, and otherwise on the current mission's history. Closing the
// window with missions that hold unsaved edits asks first whether to save them.

#include "game/IDravoDonHost.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace ui {
class CEditHistory;
class CItemTreeView;
class CMissionTreePane;
class CSizingTabCtrlBar;
class IUnsavedChangesPrompt;
}  // namespace ui

class CGlView;
class CMission;

class CMainFrame : public QMainWindow, public IDravoDonHost {
public:
    // Makes the view of a child window for `object`; null when it cannot. The view
    // takes part in notifications when it is also a CDravoDonView. The factory may
    // return the child window itself (a QMdiSubWindow), whose widget is the view.
    using ViewFactory = std::function<QWidget*(CVerdaxData* object)>;

    CMainFrame();
    ~CMainFrame() override;

    // Builds the window's parts in order: toolbar, status bar, docking, object bar
    // with its "Миссии" tab, edit bar; then offers itself to the mediator as its
    // host. False when any part cannot be made.
    bool Create();

    // IDravoDonHost: a child window of `kind` made by the factory set for that kind;
    // null for a kind without one (the world, script and info windows register
    // theirs) or when the factory fails. A factory may make the child window's
    // frame (a QMdiSubWindow); its pane is then the view.
    CDravoDonView* OpenView(int kind, CVerdaxData* object) override;
    IMissionTree* GetMissionTree() override;
    void SetViewFactory(int kind, ViewFactory factory);

    // "Вид Мира": activates the world window, or opens a new one for the mission
    // selected in the tree when the user closed it.
    void OpenWorldWindow();
    // IDravoDonHost: the world window's view frames its selected thing; nothing
    // while no world window is open.
    void FrameSelectionInWorld() override;

    // The mission tree, in the object bar's first tab under its filter field.
    ui::CItemTreeView* GetItemTree() const;
    // The object bar's first tab: the filter field and the tree.
    ui::CMissionTreePane* GetMissionTreePane() const { return missionPane_; }

    // The undo history of every mission's edits. When a mission becomes modified or
    // unmodified the window repaints the tree and every child window's view; a view
    // that shows the mark (the world window's title) asks the mediator's
    // IsMissionModified as it paints.
    ui::CEditHistory& EditHistory() const { return *history_; }

    // "&Сохранить Миссию": saves the mission selected in the tree. A failure never
    // ends the program: an error that carried a text has been shown already, and one
    // without a text is reported here, so that no failed save passes for done.
    void OnSaveMission();

    // Before anything that would drop missions with unsaved edits: true when there
    // are none, or when the user chose to drop them, or to save them and every
    // save succeeded (a failed one is reported as OnSaveMission reports it); false
    // when the user cancelled or a save failed.
    bool ConfirmUnsavedChanges();
    // Before the question: the text of the editor that has the focus goes into its
    // object, as when the editor loses the focus, so that a script typed and not yet
    // left counts as an edit. False, with that script window brought forward, when a
    // script window holds a text its object cannot take (the user is told why).
    bool CommitPendingEdits();
    // Where the question goes (not owned); null returns to the message box.
    void SetUnsavedChangesPrompt(ui::IUnsavedChangesPrompt* prompt);
    // "Инфа Объекта" in the "Вид" menu: an info window for the mission tree's
    // current object.
    void OnObjectInfo();

    // The action of a menu, toolbar or accelerator command; null for an unknown id.
    QAction* Action(int commandId) const;

    QMdiArea* MdiArea() const { return mdiArea_; }
    QToolBar* ToolBar() const { return toolBar_; }
    ui::CSizingTabCtrlBar* ObjectBar() const { return objectBar_; }
    QDockWidget* EditBar() const { return editBar_; }
    QWidget* EditBarPanel() const { return editPanel_; }
    QLabel* MessagePane() const { return messagePane_; }
    const std::array<QLabel*, 3>& IndicatorPanes() const { return indicators_; }
    // The world window's fly speed, before the indicators.
    QLabel* SpeedPane() const { return speedPane_; }

    // A new child window inside the multiple-document area showing `view`.
    QMdiSubWindow* AddChildWindow(QWidget* view);

    // Window menu commands.
    void CascadeWindows();
    void TileWindows();
    // Lines the minimised child windows up along the bottom of the area, left to
    // right, starting a new row above when one is full.
    void ArrangeIcons();

    // Brings every command's enabled and checked state up to date, as before a menu
    // is shown.
    void UpdateCommandUI();

    // The status bar's first pane around menus. A popup's initialisation widens the
    // pane over the whole bar when a menu selection allowed it; a closing menu gives
    // the pane its former width back.
    void OnInitMenuPopup();
    void OnMenuSelect(bool menuClosing);
    bool IsFirstPaneWidened() const { return savedPaneWidth_ != -1; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QAction* AddCommand(int id, const QString& text);
    void CreateActions();
    void CreateMenus();
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateSpeedPane();
    void ShowSpeedOf(QMdiSubWindow* child);
    // The child window opened for a view of `kind` (DON_VIEW_*); null when none is open.
    QMdiSubWindow* ChildOfKind(int kind) const;
    CGlView* WorldView() const;
    bool CreateObjectBar();
    bool CreateEditBar();
    void WatchMenu(QMenu* menu);
    void RouteToFocusedView(const char* slot);
    void UpdateUndoCommands(const QWidget* focus);
    void OnMissionModifiedChanged();
    template <class Save>
    bool SaveReportingFailure(const Save& save);
    void SetStatusPrompt(const QString& prompt);

    // The context of every connection to this window's handlers; gone first when
    // the window is destroyed.
    std::unique_ptr<QObject> slots_;
    std::unique_ptr<ui::CEditHistory> history_;
    std::unique_ptr<ui::IUnsavedChangesPrompt> unsavedBox_;
    ui::IUnsavedChangesPrompt* unsavedPrompt_ = nullptr;
    ui::CMissionTreePane* missionPane_ = nullptr;
    QMdiArea* mdiArea_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    std::array<QLabel*, 3> indicators_{};
    QLabel* speedPane_ = nullptr;
    ui::CSizingTabCtrlBar* objectBar_ = nullptr;
    QDockWidget* editBar_ = nullptr;
    QWidget* editPanel_ = nullptr;
    int savedPaneWidth_ = -1;  // the first pane's width before a menu widened it; -1: none
    bool widenFlag_ = false;   // a menu selection allows the next popup to widen the pane
    std::map<int, QAction*> actions_;
    std::map<int, ViewFactory> viewFactories_;
};
