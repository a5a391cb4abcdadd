#pragma once
// The editor's one main window: menus, accelerators, toolbar, status bar, the
// object bar on the left (the mission tree's tab), the edit bar on the right, and
// the child windows inside a multiple-document area. It is also the host through
// which the mediator opens child windows and reaches the mission tree.
//
// The window is the composition of its parts, each a class of its own: the
// commands with the menus (CMainFrameCommands, the Edit menu's in CEditCommands),
// the toolbar and docking bars (CMainFrameBars), the status bar's panes
// (CStatusPanes), the document area (CDocumentArea), the factories of the child
// windows' views (CViewFactories), the undo history (one stack per mission,
// installed with the mediator) and the question asked when the window closes with
// unsaved edits (CUnsavedChangesQuestion).
//
// Every command that reads or writes a mission first takes in the text the editors
// hold (RunMissionCommand, CommitPendingEdits).
//
// Where things go. A new command: see CMainFrameCommands. A new docking panel: see
// CMainFrameBars. A status message: the view sends a QStatusTipEvent, which
// travels up to this window and into the message pane (CStatusPanes::ShowMessage).

#include "app/CMainFrameBars.h"
#include "game/IDravoDonHost.h"
#include "ui/CDocumentArea.h"
#include "ui/CViewFactories.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CMainFrameCommands;
class QAction;
class QDockWidget;
class QMdiSubWindow;

namespace ui {
class CChangesPanel;
class CEditCommands;
class CChangesBySaveNotice;
class CEditHistory;
class CItemTreeView;
class CMissionTreePane;
class CObjectCommands;
class CSizingTabCtrlBar;
class CStatusPanes;
class CRecoveryAutosave;
class CUnsavedChangesQuestion;
class IRecoveryPrompt;
class IUnsavedChangesPrompt;
}  // namespace ui

class CGlView;
class CMission;
class CSceneObject;
class CMissionSearchDock;

class CMainFrame : public QMainWindow, public IDravoDonHost {
public:
    // Makes the view of a child window for `object` (see ui::CViewFactories).
    using ViewFactory = ui::CViewFactories::Factory;

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
    ui::CMissionTreePane* GetMissionTreePane() const { return bars_.MissionTreePane(); }
    // The object bar's "Изменения" tab: what a save would change in the game file.
    ui::CChangesPanel* ChangesPanel() const { return bars_.ChangesPanel(); }
    // "Вид → Изменения": the pending texts go into their objects, then the tab shows.
    void OnViewChanges();

    // The undo history of every mission's edits. When a mission becomes modified or
    // unmodified, by the history or by a script window's typing, the window repaints
    // the tree and every child window's view; a view that shows the mark (the world
    // window's title) asks the mediator's IsMissionModified as it paints.
    ui::CEditHistory& EditHistory() const { return *history_; }
    // IDravoDonHost: a script window began or stopped holding typing.
    void ModifiedMarksChanged() override;

    // Runs `command`, one that reads or writes a mission, after the text the editors
    // hold has gone into its objects (CommitPendingEdits); nothing when that failed.
    // The widget that had the focus has it back afterwards. Every such command of the
    // window runs through here: the saves, undo and redo (the close question calls
    // CommitPendingEdits itself).
    void RunMissionCommand(const std::function<void()>& command);
    // Before any command reads or writes a mission: every script window's typing
    // goes into its object (CDravoDon::TakePendingEdits), so that a script typed and
    // not yet left counts as an edit; the focus stays where it is. False, with that
    // script window brought forward and the user told why, when a script window
    // holds a text its object cannot take.
    bool CommitPendingEdits();

    // "&Сохранить Миссию": saves the mission selected in the tree. A failure never
    // ends the program: an error that carried a text has been shown already, and one
    // without a text is reported here, so that no failed save passes for done.
    void OnSaveMission();
    // "Сохранить" (Ctrl+S): saves the mission that owns the object or category
    // selected in the tree, or, with nothing selected there, the mission the world
    // window shows; message 1002 when there is neither. Failures as OnSaveMission.
    // After either save the status bar says how many objects the save changed by
    // itself, without an edit, if it changed any (CChangesBySaveNotice).
    void OnSave();
    CMission* MissionToSave() const;
    // What "Дублировать", "Удалить", "Вырезать" and "Копировать" act on: the thing
    // picked in the world window while it has the focus, else the object selected
    // in the tree; null when that is no object of a mission.
    CSceneObject* SelectedObject() const;

    // Before anything that would drop missions with unsaved edits: true when there
    // are none, or when the user chose to drop them, or to save them and every
    // save succeeded (a failed one is reported as OnSaveMission reports it); false
    // when the user cancelled or a save failed.
    bool ConfirmUnsavedChanges();
    // Where the question goes (not owned); null returns to the message box.
    void SetUnsavedChangesPrompt(ui::IUnsavedChangesPrompt* prompt);
    // The recovery copies of unsaved missions (CRecoveryAutosave.h), in the
    // user's state folder.
    ui::CRecoveryAutosave& Autosave() const { return *autosave_; }
    // At start-up: the copies left by editors that are gone are offered
    // (RecoveryAtStartup.h) in the recovery box, or to `prompt` once set (not
    // owned; null returns to the box).
    void OfferRecovery();
    void SetRecoveryPrompt(ui::IRecoveryPrompt* prompt) { recoveryPrompt_ = prompt; }
    // "Инфа Объекта" in the "Вид" menu: an info window for the mission tree's
    // current object.
    void OnObjectInfo();

    // The action of a menu, toolbar or accelerator command; null for an unknown id.
    QAction* Action(int commandId) const;

    // The window's parts.
    ui::CDocumentArea* MdiArea() const { return mdiArea_; }
    QToolBar* ToolBar() const { return bars_.ToolBar(); }
    ui::CSizingTabCtrlBar* ObjectBar() const { return bars_.ObjectBar(); }
    QDockWidget* EditBar() const;
    QWidget* EditBarPanel() const;
    // "Найти во всех миссиях" (CMissionSearchDock), under the document area.
    CMissionSearchDock* SearchBar() const { return bars_.SearchBar(); }
    ui::CStatusPanes& StatusPanes() const { return *panes_; }

    // A new child window inside the multiple-document area showing `view`.
    QMdiSubWindow* AddChildWindow(QWidget* view, int kind = 0);
    // Lines the minimised child windows up along the bottom of the area.
    void ArrangeIcons();

    // Brings every command's enabled and checked state up to date, as before a menu
    // is shown.
    void UpdateCommandUI();

    // The world window's view; null while no world window is open.
    CGlView* WorldView() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ShowSpeedOf(QMdiSubWindow* child);
    void OnMissionModifiedChanged();
    void TellChangesBySave(const CMission& mission);

    // The context of every connection to this window's handlers; gone first when
    // the window is destroyed.
    std::unique_ptr<QObject> slots_;
    std::unique_ptr<ui::CEditHistory> history_;
    std::unique_ptr<ui::CUnsavedChangesQuestion> unsavedQuestion_;
    std::unique_ptr<ui::CRecoveryAutosave> autosave_;
    ui::IRecoveryPrompt* recoveryPrompt_ = nullptr;
    std::unique_ptr<ui::CEditCommands> editCommands_;
    std::unique_ptr<ui::CObjectCommands> objectCommands_;
    std::unique_ptr<CMainFrameCommands> commands_;
    std::unique_ptr<ui::CStatusPanes> panes_;
    std::unique_ptr<ui::CChangesBySaveNotice> saveNotice_;
    ui::CViewFactories viewFactories_;
    ui::CDocumentArea* mdiArea_;
    CMainFrameBars bars_;
};
