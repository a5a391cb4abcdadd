#pragma once
// The main window's toolbar (resource 128): flat buttons for New, Cut, Copy, Paste,
// Undo, Redo, Print, About and context help, with the commands' icons, prompts and
// tooltips; movable to any side. A new button goes into the constructor's list.

#include <QToolBar>

namespace ui {

class CCommandSet;

class CMainToolBar : public QToolBar {
public:
    // The buttons are the actions of `commands` (which must hold them all).
    CMainToolBar(QWidget* parent, const CCommandSet& commands);
};

}  // namespace ui
