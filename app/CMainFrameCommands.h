#pragma once
// The main window's commands: one action per command id (ui::CCommandSet) with its
// menu text, keys and handler, the Edit menu's made by ui::CEditCommands; the menu
// bar built of them; and their enabled and checked states brought up to date, as
// before a menu is shown. The handlers call the window's own operations.
//
// A new command: its id in ui/CommandIds.h, its prompt in the string table, its
// action in the Create...Commands function of its menu (made with
// AddMissionCommand when it reads or writes a mission), its place in CreateMenus
// (and in CMainToolBar's list), its enabled state in Update.

#include "ui/CCommandSet.h"

#include <QString>

#include <functional>

class CMainFrame;
class QAction;
class QMenu;
class QObject;

namespace ui {
class CEditCommands;
}

class CMainFrameCommands {
public:
    // The handlers act on `frame` (which owns this and outlives it); their
    // connections end with `context`. The Edit menu's commands come from `edit`.
    CMainFrameCommands(CMainFrame& frame, QObject& context, ui::CEditCommands& edit);

    // Makes every command, then the window's menu bar. The bars' commands are made
    // before their bars: their handlers find the bars when run.
    void Create();

    // The action of `id`; null for an unknown id.
    QAction* Action(int id) const { return commands_.Action(id); }
    const ui::CCommandSet& CommandSet() const { return commands_; }

    // Tells the status bar of the menu's opening, hovering and closing, and brings
    // the commands up to date before it shows.
    void WatchMenu(QMenu* menu);

    // Every command's enabled and checked state as the window stands now.
    void Update();

private:
    QAction* AddCommand(int id, const QString& text);
    QAction* AddCommand(int id, const QString& text, const std::function<void()>& handler);
    // A command that reads or writes a mission: its handler runs in the window's
    // RunMissionCommand.
    QAction* AddMissionCommand(int id, const QString& text, const std::function<void()>& handler);
    void CreateFileCommands();
    void CreateViewCommands();
    void CreateWindowCommands();
    void CreateHelpCommands();
    void CreateMenus();

    CMainFrame& frame_;
    QObject& context_;
    ui::CEditCommands& edit_;
    ui::CCommandSet commands_;
};
