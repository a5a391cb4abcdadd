#include "app/CMainFrameCommands.h"

#include "app/CMainFrame.h"
#include "app/CMissionSearchDock.h"
#include "ui/CDocumentArea.h"
#include "ui/CEditBar.h"
#include "ui/CEditCommands.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"
#include "view3d/CGlView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWhatsThis>

using namespace ui;

CMainFrameCommands::CMainFrameCommands(CMainFrame& frame, QObject& context, CEditCommands& edit)
    : frame_(frame), context_(context), edit_(edit), commands_(&frame)
{
}

QAction* CMainFrameCommands::AddCommand(int id, const QString& text)
{
    return commands_.Add(id, text);
}

QAction* CMainFrameCommands::AddCommand(int id, const QString& text, const std::function<void()>& handler)
{
    QAction* action = commands_.Add(id, text);
    QObject::connect(action, &QAction::triggered, &context_, handler);
    return action;
}

QAction* CMainFrameCommands::AddMissionCommand(int id, const QString& text, const std::function<void()>& handler)
{
    return AddCommand(id, text, [this, handler] { frame_.RunMissionCommand(handler); });
}

void CMainFrameCommands::Create()
{
    CreateFileCommands();
    edit_.Create([this](int id, const QString& text) { return AddCommand(id, text); });
    AddCommand(ID_EDIT_FIND_IN_MISSIONS, QStringLiteral("&Найти во всех миссиях…\tCtrl+Shift+F"), [this] {
        frame_.SearchBar()->ShowForSearch();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    CreateViewCommands();
    CreateWindowCommands();
    CreateHelpCommands();
    for (int id : {ID_FILE_NEW, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DUPLICATE,
                   ID_EDIT_CLEAR, ID_FILE_PRINT, ID_APP_ABOUT})
        Action(id)->setIcon(ToolbarIcon(id));
    CreateMenus();
}

void CMainFrameCommands::CreateFileCommands()
{
    AddCommand(ID_FILE_NEW, QStringLiteral("&Новый\tCtrl+N"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddMissionCommand(ID_SAVE_MISSION, QStringLiteral("&Сохранить Миссию"), [this] { frame_.OnSaveMission(); });
    AddMissionCommand(ID_FILE_SAVE, QStringLiteral("Со&хранить\tCtrl+S"), [this] { frame_.OnSave(); })
        ->setShortcut(QKeySequence::Save);
    AddCommand(ID_FILE_CLOSE, QStringLiteral("&Закрыть"));
    AddCommand(ID_APP_EXIT, QStringLiteral("В&ыход"), [this] { frame_.close(); });
    AddCommand(ID_FILE_PRINT, QString());
}

void CMainFrameCommands::CreateViewCommands()
{
    commands_.AddBarToggle(ID_VIEW_OBJECT_BAR, QStringLiteral("&Object Bar"),
                           [this]() -> QWidget* { return frame_.ObjectBar(); });
    commands_.AddBarToggle(ID_VIEW_EDIT_BAR, QStringLiteral("&Edit Bar"), [this]() -> QWidget* { return frame_.EditBar(); });
    commands_.AddBarToggle(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"), [this]() -> QWidget* { return frame_.ToolBar(); });
    // The status bar always stays; the command only keeps its check mark.
    AddCommand(ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"), [this] { Update(); })->setCheckable(true);
    AddCommand(ID_VIEW_OBJECT_INFO, QStringLiteral("&Инфа Объекта"), [this] { frame_.OnObjectInfo(); });
    AddCommand(ID_VIEW_CHANGES, QStringLiteral("Из&менения"), [this] { frame_.OnViewChanges(); });
    AddCommand(ID_VIEW_FRAME_SELECTION, QStringLiteral("&Показать выделенное\tF"), [this] {
        frame_.FrameSelectionInWorld();
    })->setShortcut(QKeySequence(Qt::Key_F));
    AddCommand(ID_VIEW_FRAME_ALL, QStringLiteral("Показать в&сё\tShift+F"), [this] {
        if (CGlView* view = frame_.WorldView())
            view->FrameAll();
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F));
    // Answered by the layout's memory, which the application keeps.
    AddCommand(ID_VIEW_RESET_LAYOUT, QStringLiteral("&Сбросить раскладку"));
}

void CMainFrameCommands::CreateWindowCommands()
{
    AddCommand(ID_WINDOW_CASCADE, QStringLiteral("&Каскадом"), [this] { frame_.MdiArea()->CascadeWindows(); });
    AddCommand(ID_WINDOW_TILE_HORZ, QStringLiteral("&Растянуть"), [this] { frame_.MdiArea()->TileWindows(); });
    AddCommand(ID_WINDOW_ARRANGE, QStringLiteral("&Сортировать"), [this] { frame_.ArrangeIcons(); });
    AddCommand(ID_WINDOW_WORLD, QStringLiteral("&Вид Мира"), [this] { frame_.OpenWorldWindow(); });
    AddCommand(ID_NEXT_PANE, QString())->setShortcut(QKeySequence(Qt::Key_F6));
    AddCommand(ID_PREV_PANE, QString())->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
}

// No help file belongs to the editor: the help commands have nothing to open.
void CMainFrameCommands::CreateHelpCommands()
{
    AddCommand(ID_HELP_INDEX, QStringLiteral("&Содержание"));
    AddCommand(ID_HELP, QString())->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(ID_DEFAULT_HELP, QString());
    QAction* contextHelp = AddCommand(ID_CONTEXT_HELP, QString(), [] { QWhatsThis::enterWhatsThisMode(); });
    contextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    contextHelp->setIcon(ToolbarIcon(ID_CONTEXT_HELP));
    AddCommand(ID_APP_ABOUT, QStringLiteral("&О Verdax..."));
}

void CMainFrameCommands::CreateMenus()
{
    const auto addMenu = [this](const QString& title, std::initializer_list<int> ids) {
        QMenu* menu = frame_.menuBar()->addMenu(title);
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
    frame_.MdiArea()->ListWindowsIn(window);
    addMenu(QStringLiteral("&Помощь"), {ID_HELP_INDEX, 0, ID_APP_ABOUT});
}

// Opening a menu counts as a selection naming it, then as its initialisation;
// hovering an item is a selection; hiding the menu is the selection that closes it.
void CMainFrameCommands::WatchMenu(QMenu* menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, &context_, [this] {
        Update();
        frame_.StatusPanes().OnMenuSelect(false);
        frame_.StatusPanes().OnInitMenuPopup();
    });
    QObject::connect(menu, &QMenu::hovered, &context_, [this] { frame_.StatusPanes().OnMenuSelect(false); });
    QObject::connect(menu, &QMenu::aboutToHide, &context_, [this] { frame_.StatusPanes().OnMenuSelect(true); });
}

void CMainFrameCommands::Update()
{
    const QWidget* focus = QApplication::focusWidget();
    const bool hasChildren = !frame_.MdiArea()->subWindowList().isEmpty();
    const auto set = [this](int id, bool enabled) { Action(id)->setEnabled(enabled); };

    // Commands without a handler stay disabled, as a command route without a
    // receiver would leave them.
    // No help file belongs to the editor: the help index and F1 have nothing to open.
    for (int id : {ID_FILE_NEW, ID_FILE_CLOSE, ID_FILE_PRINT, ID_NEXT_PANE, ID_PREV_PANE, ID_HELP_INDEX, ID_HELP,
                   ID_DEFAULT_HELP})
        set(id, false);
    edit_.Update(focus);
    for (int id : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        set(id, hasChildren);
    const bool world = frame_.WorldView() != nullptr;
    set(ID_VIEW_FRAME_SELECTION, world);
    set(ID_VIEW_FRAME_ALL, world);

    commands_.UpdateCheckMarks();
    Action(ID_VIEW_STATUS_BAR)->setChecked(!frame_.statusBar()->isHidden());
}
