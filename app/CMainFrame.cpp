#include "app/CMainFrame.h"

#include "core/CVerdaxException.h"
#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "platform/MessagePresenter.h"
#include "game/CMission.h"
#include "ui/CEditHistory.h"
#include "ui/CItemTreeView.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CMissionTreePane.h"
#include "ui/CGenericInfoFrame.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CUnsavedChangesBox.h"
#include "ui/CodePageText.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"
#include "ui/StringTableText.h"
#include "view3d/CGlView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWhatsThis>

using namespace ui;

namespace {

constexpr QSize kObjectBarSize(250, 100);

// "Вид Мира" in the Window menu: brings the world window back after it was closed.
constexpr int kWorldWindowCommand = 32772;
// The property of a child window that holds the kind of view it was opened for.
constexpr char kViewKindProperty[] = "verdaxViewKind";

// Shown when a save fails with an error that carried no text of its own.
constexpr int kSaveFailedId = 1004;
constexpr std::string_view kSaveFailedText = "Сорри, миссия не может быть записана.";
// The edit bar's panel: room for the property roll-up at (4, 12)-(170, 510).
constexpr QSize kEditPanelSize(178, 520);


QString AppTitle()
{
    return StringTableText(IDS_APP_TITLE);
}

// A menu item's text without its mnemonic mark and shortcut hint.
QString PlainItemText(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0);
    return text.remove(QLatin1Char('&'));
}

bool HandlesSlot(const QWidget* widget, const char* slot)
{
    return widget && widget->metaObject()->indexOfMethod(slot) >= 0;
}

// A text editor that undoes its own typing; a read-only one has nothing to undo,
// so the mission's history serves instead.
bool TakesTextUndo(const QWidget* widget)
{
    return HandlesSlot(widget, "undo()") && !widget->property("readOnly").toBool();
}

// A menu text that shows `text` as it is, without taking an '&' for a mnemonic mark.
QString Literal(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

CMainFrame::CMainFrame()
    : slots_(std::make_unique<QObject>()), history_(std::make_unique<CEditHistory>(CDravoDon::Instance())),
      unsavedBox_(std::make_unique<CUnsavedChangesBox>(this)), mdiArea_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(AppTitle());
    setWindowIcon(ApplicationIcon());
    setCentralWidget(mdiArea_);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    CreateActions();
    CreateMenus();

    QUndoGroup* group = &history_->Group();
    const auto update = [this] { UpdateCommandUI(); };
    connect(group, &QUndoGroup::activeStackChanged, slots_.get(), update);
    connect(group, &QUndoGroup::canUndoChanged, slots_.get(), update);
    connect(group, &QUndoGroup::canRedoChanged, slots_.get(), update);
    connect(group, &QUndoGroup::undoTextChanged, slots_.get(), update);
    connect(group, &QUndoGroup::redoTextChanged, slots_.get(), update);
    history_->SetModifiedChanged([this](CMission*) { OnMissionModifiedChanged(); });
}

CMainFrame::~CMainFrame()
{
    // The window's parts announce their own ends (focus, visibility) while the
    // window is torn down; nothing of this class may answer them any more.
    slots_.reset();
    history_.reset();
    if (CDravoDon::Instance().GetHost() == this)
        CDravoDon::Instance().SetHost(nullptr);
}

bool CMainFrame::Create()
{
    if (!CreateToolBar() || !CreateStatusBar())
        return false;
    setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
    if (!CreateObjectBar() || !CreateEditBar())
        return false;
    connect(qApp, &QApplication::focusChanged, slots_.get(), [this] { UpdateCommandUI(); });
    connect(mdiArea_, &QMdiArea::subWindowActivated, slots_.get(), [this](QMdiSubWindow* child) {
        UpdateCommandUI();
        ShowSpeedOf(child);
    });
    UpdateCommandUI();
    SetViewFactory(DON_VIEW_SCRIPT, [](CVerdaxData* object) -> QWidget* { return new CScriptFrame(object); });
    SetViewFactory(DON_VIEW_INFO, [](CVerdaxData* object) -> QWidget* { return new CGenericInfoFrame(object); });
    CDravoDon::Instance().SetHost(this);
    return true;
}

QAction* CMainFrame::AddCommand(int id, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setData(id);
    const QString prompt = StringTableText(id);
    action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
    const QString tip = prompt.section(QLatin1Char('\n'), 1, 1);
    action->setToolTip(tip.isEmpty() ? PlainItemText(text) : tip);
    actions_[id] = action;
    addAction(action);  // accelerators work whatever has the focus inside the window
    return action;
}

QAction* CMainFrame::Action(int commandId) const
{
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions()
{
    AddCommand(ID_FILE_NEW, QStringLiteral("&Новый\tCtrl+N"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(AddCommand(ID_SAVE_MISSION, QStringLiteral("&Сохранить Миссию")), &QAction::triggered, slots_.get(),
            [this] { OnSaveMission(); });
    AddCommand(ID_FILE_CLOSE, QStringLiteral("&Закрыть"));
    connect(AddCommand(ID_APP_EXIT, QStringLiteral("В&ыход")), &QAction::triggered, this, &QWidget::close);

    struct EditCommand {
        int id;
        const char* text;
        const char* slot;
        QList<QKeySequence> keys;
    };
    const EditCommand editCommands[] = {
        {ID_EDIT_UNDO, "&Отменить\tCtrl+Z", "undo()", {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}},
        {ID_EDIT_REDO, "&Повторить\tCtrl+Y", "redo()", {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}},
        {ID_EDIT_CUT, "Вы&резать\tCtrl+X", "cut()", {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete}},
        {ID_EDIT_COPY, "&Копировать\tCtrl+C", "copy()", {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}},
        {ID_EDIT_PASTE, "&Вставить\tCtrl+V", "paste()", {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert}},
    };
    for (const EditCommand& command : editCommands) {
        QAction* action = AddCommand(command.id, QString::fromUtf8(command.text));
        action->setShortcuts(command.keys);
        const char* slot = command.slot;
        const bool undoes = command.id == ID_EDIT_UNDO || command.id == ID_EDIT_REDO;
        connect(action, &QAction::triggered, slots_.get(), [this, slot, undoes, redo = command.id == ID_EDIT_REDO] {
            // Undo and redo serve a text editor that takes them, and otherwise the
            // current mission's history.
            if (!undoes || TakesTextUndo(QApplication::focusWidget()))
                RouteToFocusedView(slot);
            else if (redo)
                history_->Redo();
            else
                history_->Undo();
        });
    }

    AddCommand(ID_VIEW_OBJECT_BAR, QStringLiteral("&Object Bar"));
    QAction* editBar = AddCommand(ID_VIEW_EDIT_BAR, QStringLiteral("&Edit Bar"));
    editBar->setCheckable(true);
    connect(editBar, &QAction::triggered, slots_.get(), [this] {
        editBar_->setVisible(editBar_->isHidden());
        UpdateCommandUI();
    });
    QAction* toolBar = AddCommand(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"));
    toolBar->setCheckable(true);
    connect(toolBar, &QAction::triggered, slots_.get(), [this] {
        toolBar_->setVisible(toolBar_->isHidden());
        UpdateCommandUI();
    });
    // The status bar always stays; the command only keeps its check mark.
    QAction* statusBarCommand = AddCommand(ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"));
    statusBarCommand->setCheckable(true);
    connect(statusBarCommand, &QAction::triggered, slots_.get(), [this] { UpdateCommandUI(); });
    connect(AddCommand(ID_VIEW_OBJECT_INFO, QStringLiteral("&Инфа Объекта")), &QAction::triggered, slots_.get(),
            [this] { OnObjectInfo(); });

    connect(AddCommand(ID_WINDOW_CASCADE, QStringLiteral("&Каскадом")), &QAction::triggered, slots_.get(),
            [this] { CascadeWindows(); });
    connect(AddCommand(ID_WINDOW_TILE_HORZ, QStringLiteral("&Растянуть")), &QAction::triggered, slots_.get(),
            [this] { TileWindows(); });
    connect(AddCommand(ID_WINDOW_ARRANGE, QStringLiteral("&Сортировать")), &QAction::triggered, slots_.get(),
            [this] { ArrangeIcons(); });
    connect(AddCommand(kWorldWindowCommand, QStringLiteral("&Вид Мира")), &QAction::triggered, slots_.get(),
            [this] { OpenWorldWindow(); });

    // No help file belongs to the editor: the help commands have nothing to open.
    AddCommand(ID_HELP_INDEX, QStringLiteral("&Содержание"));
    AddCommand(ID_HELP, QString())->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(ID_DEFAULT_HELP, QString());
    QAction* contextHelp = AddCommand(ID_CONTEXT_HELP, QString());
    contextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    contextHelp->setIcon(ToolbarIcon(ID_CONTEXT_HELP));
    connect(contextHelp, &QAction::triggered, slots_.get(), [] { QWhatsThis::enterWhatsThisMode(); });
    AddCommand(ID_APP_ABOUT, QStringLiteral("&О Verdax..."));

    AddCommand(ID_FILE_PRINT, QString());
    AddCommand(ID_NEXT_PANE, QString())->setShortcut(QKeySequence(Qt::Key_F6));
    AddCommand(ID_PREV_PANE, QString())->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));

    for (int id : {ID_FILE_NEW, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT,
                   ID_APP_ABOUT})
        Action(id)->setIcon(ToolbarIcon(id));
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
    addMenu(QStringLiteral("&Файл"), {ID_FILE_NEW, ID_SAVE_MISSION, ID_FILE_CLOSE, 0, ID_APP_EXIT});
    addMenu(QStringLiteral("&Правка"), {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE});
    addMenu(QStringLiteral("&Вид"), {ID_VIEW_OBJECT_BAR, ID_VIEW_EDIT_BAR, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_OBJECT_INFO});
    addMenu(QStringLiteral("&Окно"), {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, 0, kWorldWindowCommand});
    addMenu(QStringLiteral("&Помощь"), {ID_HELP_INDEX, 0, ID_APP_ABOUT});
}

// Opening a menu counts as a selection naming it, then as its initialisation;
// hovering an item is a selection; hiding the menu is the selection that closes it.
void CMainFrame::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, slots_.get(), [this] {
        UpdateCommandUI();
        OnMenuSelect(false);
        OnInitMenuPopup();
    });
    connect(menu, &QMenu::hovered, slots_.get(), [this] { OnMenuSelect(false); });
    connect(menu, &QMenu::aboutToHide, slots_.get(), [this] { OnMenuSelect(true); });
}

bool CMainFrame::CreateToolBar()
{
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("toolBar%1").arg(ID_VIEW_TOOLBAR));
    toolBar_->setIconSize(QSize(kIconSize, kIconSize));
    toolBar_->setMovable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : std::initializer_list<int>{ID_FILE_NEW, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_UNDO,
                                             ID_EDIT_REDO, 0, ID_FILE_PRINT, 0, ID_APP_ABOUT, ID_CONTEXT_HELP}) {
        if (id == 0)
            toolBar_->addSeparator();
        else
            toolBar_->addAction(Action(id));
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    return true;
}

bool CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar%1").arg(ID_VIEW_STATUS_BAR));
    bar->setSizeGripEnabled(true);
    messagePane_ = new QLabel(bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    messagePane_->setMinimumWidth(1);
    bar->addWidget(messagePane_, 1);
    CreateSpeedPane();

    const int indicatorIds[] = {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        auto* pane = new QLabel(StringTableText(indicatorIds[i]), bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->sizeHint().width() + 8);
        // Qt does not report the lock keys' states, so the indicators stay greyed.
        pane->setEnabled(false);
        indicators_[i] = pane;
        bar->addPermanentWidget(pane);
    }
    return true;
}

// Its own pane, so that menu prompts in the message pane never hide it.
void CMainFrame::CreateSpeedPane()
{
    speedPane_ = new QLabel(statusBar());
    speedPane_->setObjectName(QStringLiteral("speedPane"));
    speedPane_->setAccessibleName(QStringLiteral("Скорость"));
    speedPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    speedPane_->setAlignment(Qt::AlignCenter);
    speedPane_->setMinimumWidth(speedPane_->fontMetrics().horizontalAdvance(QStringLiteral("Скорость: 0.0625")) + 8);
    statusBar()->addPermanentWidget(speedPane_);
}

// The speed pane follows the world window last activated.
void CMainFrame::ShowSpeedOf(QMdiSubWindow* child)
{
    auto* view = child ? dynamic_cast<CGlView*>(child->widget()) : nullptr;
    if (!view)
        return;
    view->SetSpeedShown([pane = QPointer<QLabel>(speedPane_)](const QString& text) {
        if (pane)
            pane->setText(text);
    });
}

QMdiSubWindow* CMainFrame::ChildOfKind(int kind) const
{
    for (QMdiSubWindow* child : mdiArea_->subWindowList()) {
        if (child->property(kViewKindProperty).toInt() == kind)
            return child;
    }
    return nullptr;
}

CGlView* CMainFrame::WorldView() const
{
    const QMdiSubWindow* child = ChildOfKind(DON_VIEW_WORLD);
    return child ? dynamic_cast<CGlView*>(child->widget()) : nullptr;
}

void CMainFrame::FrameSelectionInWorld()
{
    if (CGlView* view = WorldView())
        view->FrameSelection();
}

bool CMainFrame::CreateObjectBar()
{
    objectBar_ = new CSizingTabCtrlBar(QStringLiteral("Object Bar"), this, kObjectBarSize, ID_OBJECT_BAR);
    addDockWidget(Qt::LeftDockWidgetArea, objectBar_);
    // The mission tree comes into being here and registers with the mediator.
    missionPane_ = new CMissionTreePane;
    return objectBar_->AddTabView(StringTableText(IDS_MISSIONS_TAB), missionPane_);
}

bool CMainFrame::CreateEditBar()
{
    editBar_ = new QDockWidget(QStringLiteral("Edit Bar"), this);
    editBar_->setObjectName(QStringLiteral("editBar%1").arg(ID_VIEW_EDIT_BAR));
    editBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    editBar_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                          QDockWidget::DockWidgetClosable);
    editPanel_ = new QWidget(editBar_);
    editPanel_->setObjectName(QStringLiteral("editPanel%1").arg(IDD_EDIT_BAR));
    editPanel_->setMinimumSize(kEditPanelSize.width(), 0);
    editPanel_->setMaximumWidth(kEditPanelSize.width());
    // The roll-up stands at (4, 12), 166 wide, and takes the bar's height: 498 in a
    // bar of the panel's own height, less or more as the bar is sized.
    auto* panelLayout = new QVBoxLayout(editPanel_);
    panelLayout->setContentsMargins(4, 12, kEditPanelSize.width() - 4 - 166, 10);
    panelLayout->addWidget(new CNormalRollupControl(editPanel_));
    editBar_->setWidget(editPanel_);
    addDockWidget(Qt::RightDockWidgetArea, editBar_);
    connect(editBar_, &QDockWidget::visibilityChanged, slots_.get(), [this] { UpdateCommandUI(); });
    return true;
}

void CMainFrame::UpdateCommandUI()
{
    const QWidget* focus = QApplication::focusWidget();
    const bool hasChildren = !mdiArea_->subWindowList().isEmpty();
    const auto set = [this](int id, bool enabled) { Action(id)->setEnabled(enabled); };

    // Commands without a handler stay disabled, as a command route without a
    // receiver would leave them.
    // No help file belongs to the editor: the help index and F1 have nothing to open.
    for (int id : {ID_FILE_NEW, ID_FILE_CLOSE, ID_FILE_PRINT, ID_VIEW_OBJECT_BAR, ID_NEXT_PANE, ID_PREV_PANE,
                   ID_HELP_INDEX, ID_HELP, ID_DEFAULT_HELP})
        set(id, false);
    UpdateUndoCommands(focus);
    set(ID_EDIT_CUT, HandlesSlot(focus, "cut()"));
    set(ID_EDIT_COPY, HandlesSlot(focus, "copy()"));
    set(ID_EDIT_PASTE, HandlesSlot(focus, "paste()"));
    for (int id : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        set(id, hasChildren);

    if (editBar_)
        Action(ID_VIEW_EDIT_BAR)->setChecked(!editBar_->isHidden());
    if (toolBar_)
        Action(ID_VIEW_TOOLBAR)->setChecked(!toolBar_->isHidden());
    Action(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
}

// The texts name the step that would be undone or redone: "Отменить перемещение barrel_1".
void CMainFrame::UpdateUndoCommands(const QWidget* focus)
{
    const bool text = TakesTextUndo(focus);
    const auto update = [this, text](int id, const QString& verb, const QString& keys, bool can, const QString& step) {
        const QString named = text || step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
        QAction* action = Action(id);
        action->setText(QLatin1Char('&') + Literal(named) + QLatin1Char('\t') + keys);
        action->setToolTip(named);
        action->setEnabled(text || can);
    };
    update(ID_EDIT_UNDO, QStringLiteral("Отменить"), QStringLiteral("Ctrl+Z"), history_->CanUndo(),
           history_->UndoText());
    update(ID_EDIT_REDO, QStringLiteral("Повторить"), QStringLiteral("Ctrl+Y"), history_->CanRedo(),
           history_->RedoText());
}

void CMainFrame::RouteToFocusedView(const char* slot)
{
    QWidget* focus = QApplication::focusWidget();
    if (!HandlesSlot(focus, slot))
        return;
    const QByteArray name = QByteArray(slot).chopped(2);  // the method's name without "()"
    QMetaObject::invokeMethod(focus, name.constData());
}

QMdiSubWindow* CMainFrame::AddChildWindow(QWidget* view)
{
    QMdiSubWindow* child = mdiArea_->addSubWindow(view);
    child->setAttribute(Qt::WA_DeleteOnClose);
    if (QMenu* systemMenu = child->systemMenu())
        WatchMenu(systemMenu);
    child->show();
    UpdateCommandUI();
    return child;
}

CItemTreeView* CMainFrame::GetItemTree() const
{
    return missionPane_ ? missionPane_->Tree() : nullptr;
}

IMissionTree* CMainFrame::GetMissionTree()
{
    return GetItemTree();
}

void CMainFrame::SetViewFactory(int kind, ViewFactory factory)
{
    viewFactories_[kind] = std::move(factory);
}

// A view that takes no part in notifications yields null, but its window stays.
// A factory that makes a frame of its own (a QMdiSubWindow) gives the child
// window itself, whose pane is the view.
CDravoDonView* CMainFrame::OpenView(int kind, CVerdaxData* object)
{
    const auto factory = viewFactories_.find(kind);
    if (factory == viewFactories_.end() || !factory->second)
        return nullptr;
    QWidget* view = factory->second(object);
    if (!view)
        return nullptr;
    QMdiSubWindow* child = AddChildWindow(view);
    child->setProperty(kViewKindProperty, kind);
    if (const auto* frame = qobject_cast<QMdiSubWindow*>(view))
        view = frame->widget();
    return dynamic_cast<CDravoDonView*>(view);
}

void CMainFrame::OpenWorldWindow()
{
    if (QMdiSubWindow* child = ChildOfKind(DON_VIEW_WORLD)) {
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

template <class Save>
bool CMainFrame::SaveReportingFailure(const Save& save)
{
    try {
        save();
        return true;
    } catch (const CVerdaxException& error) {
        if (error.GetText().empty())
            platform::Presenter().ShowMessage(kSaveFailedId, kSaveFailedText);
    } catch (const std::exception&) {
        platform::Presenter().ShowMessage(kSaveFailedId, kSaveFailedText);
    }
    return false;
}

void CMainFrame::OnSaveMission()
{
    SaveReportingFailure([] { CDravoDon::Instance().SaveSelectedMission(); });
}

void CMainFrame::SetUnsavedChangesPrompt(IUnsavedChangesPrompt* prompt)
{
    unsavedPrompt_ = prompt;
}

bool CMainFrame::ConfirmUnsavedChanges()
{
    const std::vector<CMission*> modified = history_->ModifiedMissions();
    if (modified.empty())
        return true;
    QStringList names;
    for (const CMission* mission : modified)
        names << TextFromCodePage(mission->GetName());
    IUnsavedChangesPrompt& prompt = unsavedPrompt_ ? *unsavedPrompt_ : *unsavedBox_;
    switch (prompt.Ask(names)) {
    case UnsavedAnswer::Discard: return true;
    case UnsavedAnswer::Cancel: return false;
    case UnsavedAnswer::Save: break;
    }
    // Every mission is tried, so that one failure does not keep the others unsaved.
    bool saved = true;
    for (CMission* mission : modified)
        saved = SaveReportingFailure([mission] { CDravoDon::Instance().SaveMission(*mission); }) && saved;
    return saved;
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

bool CMainFrame::CommitPendingEdits()
{
    for (QMdiSubWindow* child : mdiArea_->subWindowList()) {
        const auto* script = dynamic_cast<const CScriptFrame*>(child);
        if (script && !script->View()->MayClose()) {
            mdiArea_->setActiveSubWindow(child);
            return false;
        }
    }
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    return true;
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
    QMainWindow::closeEvent(event);
}

void CMainFrame::CascadeWindows()
{
    mdiArea_->cascadeSubWindows();
}

void CMainFrame::TileWindows()
{
    mdiArea_->tileSubWindows();
}

void CMainFrame::ArrangeIcons()
{
    const QRect area = mdiArea_->viewport()->rect();
    int x = area.left();
    int rowBottom = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* child : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized())
            continue;
        const QSize size = child->size();
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            rowBottom -= rowHeight;
            rowHeight = 0;
        }
        child->move(x, rowBottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void CMainFrame::OnInitMenuPopup()
{
    if (savedPaneWidth_ != -1 || !widenFlag_)
        return;
    savedPaneWidth_ = messagePane_->width();
    // The pane spans the bar: the indicators give up their room while the menu is open.
    for (QLabel* pane : indicators_)
        pane->hide();
}

void CMainFrame::OnMenuSelect(bool menuClosing)
{
    if (menuClosing && savedPaneWidth_ != -1) {
        for (QLabel* pane : indicators_)
            pane->show();
        savedPaneWidth_ = -1;
        widenFlag_ = false;
        return;
    }
    widenFlag_ = true;
}

void CMainFrame::SetStatusPrompt(const QString& prompt)
{
    messagePane_->setText(prompt);
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip && messagePane_) {
        SetStatusPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// A maximised child window would put its title into the main window's; the title
// stays the application's.
void CMainFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != AppTitle())
        setWindowTitle(AppTitle());
    QMainWindow::changeEvent(event);
}
