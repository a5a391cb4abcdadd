#include "app/CMainFrame.h"

#include "app/CMissionSearchDock.h"
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
#include "ui/CMainToolBar.h"
#include "ui/CMissionTreePane.h"
#include "ui/CObjectCommands.h"
#include "ui/CRecoveryAutosave.h"
#include "ui/CRecoveryBox.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CStatusPanes.h"
#include "ui/CUnsavedChangesQuestion.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"
#include "ui/RecoveryAtStartup.h"
#include "ui/SaveReporting.h"
#include "ui/StringTableText.h"
#include "view3d/CGlView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QWhatsThis>

using namespace ui;

namespace {

constexpr QSize kObjectBarSize(250, 100);

QString AppTitle()
{
    return StringTableText(IDS_APP_TITLE);
}

}  // namespace

CMainFrame::CMainFrame()
    : slots_(std::make_unique<QObject>()), commands_(this), history_(std::make_unique<CEditHistory>(CDravoDon::Instance())),
      unsavedQuestion_(std::make_unique<CUnsavedChangesQuestion>(*history_, this)),
      autosave_(std::make_unique<CRecoveryAutosave>(*history_, CDravoDon::Instance(), CRecoveryStore::DefaultFolder())),
      editCommands_(std::make_unique<CEditCommands>(
          *history_, [this](const std::function<void()>& command) { RunMissionCommand(command); })),
      saveNotice_(std::make_unique<CChangesBySaveNotice>()), mdiArea_(new CDocumentArea(this))
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
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(AppTitle());
    setWindowIcon(ApplicationIcon());
    setCentralWidget(mdiArea_);
    CreateCommands();
    CreateMenus();

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
    if (!CreateToolBar())
        return false;
    panes_ = std::make_unique<CStatusPanes>(statusBar());
    autosave_->SetReport([this](const QString& text) { panes_->ShowMessage(text); });
    setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
    if (!CreatePanels())
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

// ---- commands -------------------------------------------------------------------

QAction* CMainFrame::AddCommand(int id, const QString& text)
{
    return commands_.Add(id, text);
}

QAction* CMainFrame::AddCommand(int id, const QString& text, const std::function<void()>& handler)
{
    QAction* action = commands_.Add(id, text);
    connect(action, &QAction::triggered, slots_.get(), handler);
    return action;
}

QAction* CMainFrame::AddMissionCommand(int id, const QString& text, const std::function<void()>& handler)
{
    return AddCommand(id, text, [this, handler] { RunMissionCommand(handler); });
}

QAction* CMainFrame::Action(int commandId) const
{
    return commands_.Action(commandId);
}

// The bars' commands are made before their bars: their handlers find the bars when run.
void CMainFrame::CreateCommands()
{
    CreateFileCommands();
    editCommands_->Create([this](int id, const QString& text) { return AddCommand(id, text); });
    AddCommand(ID_EDIT_FIND_IN_MISSIONS, QStringLiteral("&Найти во всех миссиях…\tCtrl+Shift+F"), [this] {
        searchBar_->ShowForSearch();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    CreateViewCommands();
    CreateWindowCommands();
    CreateHelpCommands();
    for (int id : {ID_FILE_NEW, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DUPLICATE,
                   ID_EDIT_CLEAR, ID_FILE_PRINT, ID_APP_ABOUT})
        Action(id)->setIcon(ToolbarIcon(id));
}

void CMainFrame::CreateFileCommands()
{
    AddCommand(ID_FILE_NEW, QStringLiteral("&Новый\tCtrl+N"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddMissionCommand(ID_SAVE_MISSION, QStringLiteral("&Сохранить Миссию"), [this] { OnSaveMission(); });
    AddMissionCommand(ID_FILE_SAVE, QStringLiteral("Со&хранить\tCtrl+S"), [this] { OnSave(); })
        ->setShortcut(QKeySequence::Save);
    AddCommand(ID_FILE_CLOSE, QStringLiteral("&Закрыть"));
    AddCommand(ID_APP_EXIT, QStringLiteral("В&ыход"), [this] { close(); });
    AddCommand(ID_FILE_PRINT, QString());
}

void CMainFrame::CreateViewCommands()
{
    commands_.AddBarToggle(ID_VIEW_OBJECT_BAR, QStringLiteral("&Object Bar"), [this]() -> QWidget* { return objectBar_; });
    commands_.AddBarToggle(ID_VIEW_EDIT_BAR, QStringLiteral("&Edit Bar"), [this]() -> QWidget* { return editBar_; });
    commands_.AddBarToggle(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"), [this]() -> QWidget* { return toolBar_; });
    // The status bar always stays; the command only keeps its check mark.
    AddCommand(ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"), [this] { UpdateCommandUI(); })->setCheckable(true);
    AddCommand(ID_VIEW_OBJECT_INFO, QStringLiteral("&Инфа Объекта"), [this] { OnObjectInfo(); });
    AddCommand(ID_VIEW_CHANGES, QStringLiteral("Из&менения"), [this] { OnViewChanges(); });
    AddCommand(ID_VIEW_FRAME_SELECTION, QStringLiteral("&Показать выделенное\tF"), [this] { FrameSelectionInWorld(); })
        ->setShortcut(QKeySequence(Qt::Key_F));
    AddCommand(ID_VIEW_FRAME_ALL, QStringLiteral("Показать в&сё\tShift+F"), [this] {
        if (CGlView* view = WorldView())
            view->FrameAll();
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F));
    // Answered by the layout's memory, which the application keeps.
    AddCommand(ID_VIEW_RESET_LAYOUT, QStringLiteral("&Сбросить раскладку"));
}

void CMainFrame::CreateWindowCommands()
{
    AddCommand(ID_WINDOW_CASCADE, QStringLiteral("&Каскадом"), [this] { mdiArea_->CascadeWindows(); });
    AddCommand(ID_WINDOW_TILE_HORZ, QStringLiteral("&Растянуть"), [this] { mdiArea_->TileWindows(); });
    AddCommand(ID_WINDOW_ARRANGE, QStringLiteral("&Сортировать"), [this] { ArrangeIcons(); });
    AddCommand(ID_WINDOW_WORLD, QStringLiteral("&Вид Мира"), [this] { OpenWorldWindow(); });
    AddCommand(ID_NEXT_PANE, QString())->setShortcut(QKeySequence(Qt::Key_F6));
    AddCommand(ID_PREV_PANE, QString())->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
}

// No help file belongs to the editor: the help commands have nothing to open.
void CMainFrame::CreateHelpCommands()
{
    AddCommand(ID_HELP_INDEX, QStringLiteral("&Содержание"));
    AddCommand(ID_HELP, QString())->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(ID_DEFAULT_HELP, QString());
    QAction* contextHelp = AddCommand(ID_CONTEXT_HELP, QString(), [] { QWhatsThis::enterWhatsThisMode(); });
    contextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    contextHelp->setIcon(ToolbarIcon(ID_CONTEXT_HELP));
    AddCommand(ID_APP_ABOUT, QStringLiteral("&О Verdax..."));
}

void CMainFrame::CreateMenus()
{
    const auto addMenu = [this](const QString& title, std::initializer_list<int> ids) {
        QMenu* menu = menuBar()->addMenu(title);
        for (int id : ids) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(Action(id));
        }
        WatchMenu(menu);
        return menu;
    };
    addMenu(QStringLiteral("&Файл"), {ID_FILE_NEW, ID_SAVE_MISSION, ID_FILE_SAVE, ID_FILE_CLOSE, 0, ID_APP_EXIT});
    addMenu(QStringLiteral("&Правка"), {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                                       ID_EDIT_DUPLICATE, ID_EDIT_CLEAR, 0, ID_EDIT_FIND_IN_MISSIONS});
    addMenu(QStringLiteral("&Вид"), {ID_VIEW_OBJECT_BAR, ID_VIEW_EDIT_BAR, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR,
                                     ID_VIEW_RESET_LAYOUT, 0, ID_VIEW_OBJECT_INFO, ID_VIEW_CHANGES, 0, ID_VIEW_FRAME_SELECTION,
                                     ID_VIEW_FRAME_ALL});
    QMenu* window = addMenu(QStringLiteral("&Окно"), {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, 0, ID_WINDOW_WORLD});
    mdiArea_->ListWindowsIn(window);
    addMenu(QStringLiteral("&Помощь"), {ID_HELP_INDEX, 0, ID_APP_ABOUT});
}

// Opening a menu counts as a selection naming it, then as its initialisation;
// hovering an item is a selection; hiding the menu is the selection that closes it.
void CMainFrame::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, slots_.get(), [this] {
        UpdateCommandUI();
        panes_->OnMenuSelect(false);
        panes_->OnInitMenuPopup();
    });
    connect(menu, &QMenu::hovered, slots_.get(), [this] { panes_->OnMenuSelect(false); });
    connect(menu, &QMenu::aboutToHide, slots_.get(), [this] { panes_->OnMenuSelect(true); });
}

void CMainFrame::UpdateCommandUI()
{
    const QWidget* focus = QApplication::focusWidget();
    const bool hasChildren = !mdiArea_->subWindowList().isEmpty();
    const auto set = [this](int id, bool enabled) { Action(id)->setEnabled(enabled); };

    // Commands without a handler stay disabled, as a command route without a
    // receiver would leave them.
    // No help file belongs to the editor: the help index and F1 have nothing to open.
    for (int id : {ID_FILE_NEW, ID_FILE_CLOSE, ID_FILE_PRINT, ID_NEXT_PANE, ID_PREV_PANE, ID_HELP_INDEX, ID_HELP,
                   ID_DEFAULT_HELP})
        set(id, false);
    editCommands_->Update(focus);
    for (int id : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        set(id, hasChildren);
    const bool world = WorldView() != nullptr;
    set(ID_VIEW_FRAME_SELECTION, world);
    set(ID_VIEW_FRAME_ALL, world);

    commands_.UpdateCheckMarks();
    Action(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
}

// ---- bars -------------------------------------------------------------------------

bool CMainFrame::CreateToolBar()
{
    toolBar_ = new CMainToolBar(this, commands_);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    return true;
}

// The docking panels, left to right.
bool CMainFrame::CreatePanels()
{
    if (!CreateObjectBar() || !CreateEditBar())
        return false;
    // The bars at the sides keep the window's height; one at the bottom stands
    // under the document area alone.
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    searchBar_ = new CMissionSearchDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, searchBar_);
    searchBar_->hide();
    return true;
}

bool CMainFrame::CreateObjectBar()
{
    objectBar_ = new CSizingTabCtrlBar(QStringLiteral("Object Bar"), this, kObjectBarSize, ID_OBJECT_BAR);
    addDockWidget(Qt::LeftDockWidgetArea, objectBar_);
    connect(objectBar_, &QDockWidget::visibilityChanged, slots_.get(), [this] { UpdateCommandUI(); });
    // The mission tree comes into being here and registers with the mediator.
    missionPane_ = new CMissionTreePane;
    // What the object commands act on is the tree's current item.
    connect(missionPane_->Tree(), &QTreeWidget::currentItemChanged, slots_.get(), [this] { UpdateCommandUI(); });
    if (!objectBar_->AddTabView(StringTableText(IDS_MISSIONS_TAB), missionPane_))
        return false;
    changesPanel_ = new CChangesPanel(missionPane_->Tree());
    // Every step done, undone or redone, and every save, may change what a save would write.
    const auto changed = [this] { changesPanel_->NoteChange(); };
    connect(&history_->Group(), &QUndoGroup::indexChanged, changesPanel_, changed);
    connect(&history_->Group(), &QUndoGroup::cleanChanged, changesPanel_, changed);
    return objectBar_->AddTabView(StringTableText(IDS_CHANGES_TAB), changesPanel_);
}

void CMainFrame::OnViewChanges()
{
    if (CommitPendingEdits())
        changesPanel_->ShowIn(*objectBar_);
}

bool CMainFrame::CreateEditBar()
{
    editBar_ = new CEditBar(this);
    addDockWidget(Qt::RightDockWidgetArea, editBar_);
    connect(editBar_, &QDockWidget::visibilityChanged, slots_.get(), [this] { UpdateCommandUI(); });
    return true;
}

QDockWidget* CMainFrame::EditBar() const
{
    return editBar_;
}

QWidget* CMainFrame::EditBarPanel() const
{
    return editBar_->Panel();
}

CItemTreeView* CMainFrame::GetItemTree() const
{
    return missionPane_ ? missionPane_->Tree() : nullptr;
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
        WatchMenu(systemMenu);
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
