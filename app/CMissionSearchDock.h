#pragma once
// The docking bar of "Найти во всех миссиях" (Ctrl+Shift+F), under the document
// area, and where its results lead. The bar starts hidden; the command shows it
// with the focus in its pattern. A search starts only after the editors' pending
// text has gone into its objects (CMainFrame::RunMissionCommand).
//
// Going to a result opens its mission when it is not loaded, as the tree's
// double-click does (with the same messages when it cannot be loaded), selects the
// mission in the tree (the world window shows it), then the object (the pages and
// the world window follow), and for a script line brings that object's script window
// forward (opening one when none is open) with the caret at the start of the line.
// An object that is no longer there (removed or renamed since the search) is said
// so in the status bar.

#include <QDockWidget>

#include <string>

class CMainFrame;
class CMission;
class CSceneObject;
struct SearchMatch;

namespace ui {
class CMissionSearchPanel;
class CScriptView;
}  // namespace ui

class CMissionSearchDock final : public QDockWidget {
public:
    explicit CMissionSearchDock(CMainFrame* frame);

    ui::CMissionSearchPanel* Panel() const { return panel_; }

    // "Правка → Найти во всех миссиях…".
    void ShowForSearch();

    // A result of the panel; `match` null for a mission that could not be read.
    void GoTo(const std::string& mission, const SearchMatch* match);

private:
    CMission* OpenMission(const std::string& name);
    ui::CScriptView* ScriptWindowOf(CSceneObject* object);
    void ShowMessage(const QString& text);

    CMainFrame* frame_;
    ui::CMissionSearchPanel* panel_;
};
