#include "app/CMainFrame.h"

#include "app/CMainFrameCommands.h"
#include "core/CVerdaxException.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CRecoveryStore.h"
#include "ui/CChangesBySaveNotice.h"
#include "ui/CChangesPanel.h"
#include "ui/CDocumentArea.h"
#include "ui/CEditBar.h"
#include "ui/CEditCommands.h"
#include "ui/CEditHistory.h"
#include "ui/CGenericInfoFrame.h"
#include "ui/CItemTreeView.h"
#include "ui/CMissionTreePane.h"
#include "ui/CObjectCommands.h"
#include "ui/CRecoveryAutosave.h"
#include "ui/CRecoveryBox.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"
#include "ui/CStatusPanes.h"
#include "ui/CUnsavedChangesQuestion.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"
#include "ui/RecoveryAtStartup.h"
#include "ui/SaveReporting.h"
#include "ui/StringTableText.h"
#include "view3d/CGlView.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>

using namespace ui;

namespace {

QString AppTitle()
{
    return StringTableText(IDS_APP_TITLE);
}

}  // namespace

CMainFrame::CMainFrame()
    : slots_(std::make_unique<QObject>()), history_(std::make_unique<CEditHistory>(CDravoDon::Instance())),
      unsavedQuestion_(std::make_unique<CUnsavedChangesQuestion>(*history_, this)),
      autosave_(std::make_unique<CRecoveryAutosave>(*history_, CDravoDon::Instance(), CRecoveryStore::DefaultFolder())),
      editCommands_(std::make_unique<CEditCommands>(
          *history_, [this](const std::function<void()>& command) { RunMissionCommand(command); })),
      saveNotice_(std::make_unique<CChangesBySaveNotice>()), mdiArea_(new CDocumentArea(this)),
      bars_(*this, *slots_, [this] { UpdateCommandUI(); })
{
    objectCommands_ = std::make_unique<CObjectCommands>(CObjectCommands::Context{
        [this] { return SelectedObject(); },
        [this]() -> CMission* {
            CMission* mission = MissionToSave();
            return mission && mission->IsLoaded() ? mission : nullptr;
        },
        [this](CVerdaxData* object) {
            if (CItemTreeView* tree = GetItemTree())
                tree->SelectObject(object);
        }});
    editCommands_->SetObjectCommands(objectCommands_.get());
    commands_ = std::make_unique<CMainFrameCommands>(*this, *slots_, *editCommands_);
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(AppTitle());
    setWindowIcon(ApplicationIcon());
    setCentralWidget(mdiArea_);
    commands_->Create();

    QUndoGroup* group = &history_->Group();
    const auto update = [this] { UpdateCommandUI(); };
    connect(group, &QUndoGroup::activeStackChanged, slots_.get(), update);
    connect(group, &QUndoGroup::canUndoChanged, slots_.get(), update);
    connect(group, &QUndoGroup::canRedoChanged, slots_.get(), update);
    connect(group, &QUndoGroup::undoTextChanged, slots_.get(), update);
    connect(group, &QUndoGroup::redoTextChanged, slots_.get(), update);
    history_->SetModifiedChanged([this](CMission*) { OnMissionModifiedChanged(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, slots_.get(), update);
}

CMainFrame::~CMainFrame()
{
    // The window's parts announce their own ends (focus, visibility) while the
    // window is torn down; nothing of this class may answer them any more.
    slots_.reset();
    editCommands_.reset();
    objectCommands_.reset();
    autosave_.reset();
    history_.reset();
    if (CDravoDon::Instance().GetHost() == this)
        CDravoDon::Instance().SetHost(nullptr);
}

bool CMainFrame::Create()
{
    bars_.CreateToolBar(commands_->CommandSet());
    panes_ = std::make_unique<CStatusPanes>(statusBar());
    autosave_->SetReport([this](const QString& text) { panes_->ShowMessage(text); });
    setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
    if (!bars_.CreatePanels(*history_))
        return false;
    connect(qApp, &QApplication::focusChanged, slots_.get(), [this] { UpdateCommandUI(); });
    connect(mdiArea_, &QMdiArea::subWindowActivated, slots_.get(), [this](QMdiSubWindow* child) {
        UpdateCommandUI();
        ShowSpeedOf(child);
    });
    UpdateCommandUI();
    SetViewFactory(DON_VIEW_SCRIPT, [this](CVerdaxData* object) -> QWidget* {
        auto* frame = new CScriptFrame(object);
        autosave_->WatchTyping(frame->View());
        return frame;
    });
    SetViewFactory(DON_VIEW_INFO, [](CVerdaxData* object) -> QWidget* { return new CGenericInfoFrame(object); });
    CDravoDon::Instance().SetHost(this);
    return true;
}

QAction* CMainFrame::Action(int commandId) const
{
    return commands_->Action(commandId);
}

void CMainFrame::UpdateCommandUI()
{
    commands_->Update();
}

QDockWidget* CMainFrame::EditBar() const
{
    return bars_.EditBar();
}

QWidget* CMainFrame::EditBarPanel() const
{
    return bars_.EditBar()->Panel();
}

void CMainFrame::OnViewChanges()
{
    if (CommitPendingEdits())
        ChangesPanel()->ShowIn(*ObjectBar());
}

CItemTreeView* CMainFrame::GetItemTree() const
{
    const CMissionTreePane* pane = GetMissionTreePane();
    return pane ? pane->Tree() : nullptr;
}

IMissionTree* CMainFrame::GetMissionTree()
{
    return GetItemTree();
}

// ---- status bar -----------------------------------------------------------------

// The speed pane follows the world window last activated.
void CMainFrame::ShowSpeedOf(QMdiSubWindow* child)
{
    auto* view = child ? dynamic_cast<CGlView*>(child->widget()) : nullptr;
    if (!view)
        return;
    view->SetSpeedShown([panes = QPointer<QLabel>(panes_->SpeedPane())](const QString& text) {
        if (panes)
            panes->setText(text);
    });
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip && panes_) {
        panes_->ShowMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// ---- child windows --------------------------------------------------------------

QMdiSubWindow* CMainFrame::AddChildWindow(QWidget* view, int kind)
{
    QMdiSubWindow* child = mdiArea_->AddChildWindow(view, kind);
    if (QMenu* systemMenu = child->systemMenu())
        commands_->WatchMenu(systemMenu);
    UpdateCommandUI();
    return child;
}

void CMainFrame::ArrangeIcons()
{
    mdiArea_->ArrangeIcons();
}

void CMainFrame::SetViewFactory(int kind, ViewFactory factory)
{
    viewFactories_.Set(kind, std::move(factory));
}

// A view that takes no part in notifications yields null, but its window stays.
// A factory that makes a frame of its own (a QMdiSubWindow) gives the child
// window itself, whose pane is the view.
CDravoDonView* CMainFrame::OpenView(int kind, CVerdaxData* object)
{
    QWidget* view = viewFactories_.Make(kind, object);
    if (!view)
        return nullptr;
    AddChildWindow(view, kind);
    if (const auto* frame = qobject_cast<QMdiSubWindow*>(view))
        view = frame->widget();
    return dynamic_cast<CDravoDonView*>(view);
}

CGlView* CMainFrame::WorldView() const
{
    const QMdiSubWindow* child = mdiArea_->ChildOfKind(DON_VIEW_WORLD);
    return child ? dynamic_cast<CGlView*>(child->widget()) : nullptr;
}

void CMainFrame::FrameSelectionInWorld()
{
    if (CGlView* view = WorldView())
        view->FrameSelection();
}

void CMainFrame::OpenWorldWindow()
{
    if (QMdiSubWindow* child = mdiArea_->ChildOfKind(DON_VIEW_WORLD)) {
        mdiArea_->setActiveSubWindow(child);
        return;
    }
    IMissionTree* tree = GetMissionTree();
    CDravoDon::Instance().OpenView(DON_VIEW_WORLD, tree ? tree->GetSelectedMission() : nullptr);
}

void CMainFrame::OnObjectInfo()
{
    const CItemTreeView* tree = GetItemTree();
    CDravoDon::Instance().OpenView(DON_VIEW_INFO, tree ? tree->GetObject() : nullptr);
}

void CMainFrame::ModifiedMarksChanged()
{
    OnMissionModifiedChanged();
}

// The tree and the child windows show the mark at their next repaint: the tree in
// its mission's item, a window showing the mission in its title.
void CMainFrame::OnMissionModifiedChanged()
{
    if (CItemTreeView* tree = GetItemTree())
        tree->viewport()->update();
    for (QMdiSubWindow* child : mdiArea_->subWindowList()) {
        if (QWidget* view = child->widget())
            view->update();
    }
}

// ---- saving and closing ---------------------------------------------------------

void CMainFrame::OnSaveMission()
{
    IMissionTree* tree = GetMissionTree();
    CMission* mission = tree ? tree->GetSelectedMission() : nullptr;
    if (SaveReportingFailure([] { CDravoDon::Instance().SaveSelectedMission(); }) && mission)
        TellChangesBySave(*mission);
}

CMission* CMainFrame::MissionToSave() const
{
    if (const CItemTreeView* tree = GetItemTree()) {
        if (CMission* mission = tree->GetMissionOfSelection())
            return mission;
    }
    const CGlView* world = WorldView();
    return world ? dynamic_cast<CMission*>(world->GetObject()) : nullptr;
}

CSceneObject* CMainFrame::SelectedObject() const
{
    CGlView* world = WorldView();
    if (world && world->hasFocus()) {
        world->Renderer().SetCurrentObject(world->GetObject());  // the mission it shows
        return world->Renderer().GetSelectedThing();
    }
    const CItemTreeView* tree = GetItemTree();
    const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    if (!item || !item->isSelected())
        return nullptr;
    return dynamic_cast<CSceneObject*>(tree->GetObject());
}

void CMainFrame::OnSave()
{
    CMission* mission = MissionToSave();
    if (!mission) {
        ShowStringMessage(IDS_ERR_NO_MISSION_SELECTED);
        return;
    }
    if (SaveReportingFailure([mission] { CDravoDon::Instance().SaveMission(*mission); }))
        TellChangesBySave(*mission);
}

// A message of an earlier save would tell of objects this one did not change.
void CMainFrame::TellChangesBySave(const CMission& mission)
{
    panes_->ShowMessage(saveNotice_->AfterSave(mission));
}

void CMainFrame::SetUnsavedChangesPrompt(IUnsavedChangesPrompt* prompt)
{
    unsavedQuestion_->SetPrompt(prompt);
}

bool CMainFrame::ConfirmUnsavedChanges()
{
    return unsavedQuestion_->Confirm();
}

void CMainFrame::OfferRecovery()
{
    if (CRecoveryStore* store = autosave_->Store()) {
        CRecoveryBox box(this);
        ui::OfferRecovery(*store, CDravoDon::Instance(), GetItemTree(), recoveryPrompt_ ? *recoveryPrompt_ : box);
    }
}

void CMainFrame::RunMissionCommand(const std::function<void()>& command)
{
    const QPointer<QWidget> focused = QApplication::focusWidget();
    if (!CommitPendingEdits())
        return;
    command();
    if (focused && QApplication::focusWidget() != focused)
        focused->setFocus();  // the editor goes on where the user left it
}

bool CMainFrame::CommitPendingEdits()
{
    CDravoDonView* kept = CDravoDon::Instance().TakePendingEdits();
    if (!kept)
        return true;
    for (QMdiSubWindow* child : mdiArea_->subWindowList()) {
        auto* script = dynamic_cast<CScriptFrame*>(child);
        if (script && static_cast<CDravoDonView*>(script->View()) == kept) {
            mdiArea_->setActiveSubWindow(child);
            script->View()->MayClose();  // names the character the code page cannot hold
            break;
        }
    }
    return false;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    const QPointer<QWidget> focused = QApplication::focusWidget();
    if (!CommitPendingEdits() || !ConfirmUnsavedChanges()) {
        if (focused)
            focused->setFocus();  // the editor goes on where the user left it
        event->ignore();
        return;
    }
    autosave_->RemoveOwnCopies();  // the missions are saved, or their edits dropped
    QMainWindow::closeEvent(event);
}

// A maximised child window would put its title into the main window's; the title
// stays the application's.
void CMainFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != AppTitle())
        setWindowTitle(AppTitle());
    QMainWindow::changeEvent(event);
}
