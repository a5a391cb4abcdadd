#pragma once
// The main window's toolbar and docking bars: the object bar on the left with its
// "Миссии" tab (the mission tree under its filter field) and its "Изменения" tab,
// the edit bar on the right with the property roll-up, and the bar of "Найти во
// всех миссиях" under the document area, hidden at first. Each bar is owned by the
// window; this makes them and keeps where they are.
//
// A new docking panel: a class of its own in ui/ (as CEditBar), made in CreatePanels.

#include <QSize>

#include <functional>

class CMainFrame;
class CMissionSearchDock;
class QObject;
class QToolBar;

namespace ui {
class CChangesPanel;
class CCommandSet;
class CEditBar;
class CEditHistory;
class CMissionTreePane;
class CSizingTabCtrlBar;
}  // namespace ui

class CMainFrameBars {
public:
    // The bars go into `frame`, their connections end with `context`;
    // `commandStateChanged` runs when a bar shows or hides and when the tree's
    // current item changes, which the commands' states follow.
    CMainFrameBars(CMainFrame& frame, QObject& context, std::function<void()> commandStateChanged);

    // The toolbar of `commands`' actions, at the top.
    void CreateToolBar(const ui::CCommandSet& commands);
    // The docking panels, left to right; the changes panel follows every step of
    // `history`. False when a panel cannot be made.
    bool CreatePanels(ui::CEditHistory& history);

    // Null until made.
    QToolBar* ToolBar() const { return toolBar_; }
    ui::CSizingTabCtrlBar* ObjectBar() const { return objectBar_; }
    ui::CMissionTreePane* MissionTreePane() const { return missionPane_; }
    ui::CChangesPanel* ChangesPanel() const { return changesPanel_; }
    ui::CEditBar* EditBar() const { return editBar_; }
    CMissionSearchDock* SearchBar() const { return searchBar_; }

private:
    bool CreateObjectBar(ui::CEditHistory& history);
    void CreateEditBar();

    CMainFrame& frame_;
    QObject& context_;
    std::function<void()> commandStateChanged_;
    QToolBar* toolBar_ = nullptr;
    ui::CSizingTabCtrlBar* objectBar_ = nullptr;
    ui::CMissionTreePane* missionPane_ = nullptr;
    ui::CChangesPanel* changesPanel_ = nullptr;
    ui::CEditBar* editBar_ = nullptr;
    CMissionSearchDock* searchBar_ = nullptr;
};
