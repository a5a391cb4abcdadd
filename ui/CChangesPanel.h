#pragma once
// The object bar's "Изменения" tab: what a save of the mission selected in the
// mission tree (the mission of the selected item) would change in its game file
// "scene2.bin", object by object (CMissionChanges, game/ChangeRow.h). The user's
// own edits stand first under their heading; what the save changes by itself
// follows, greyed, under its own. A line above the list names the mission, or
// says why nothing is listed: no mission selected, the mission not opened, or its
// game file unreadable (with the error; never a message box).
//
// Double-click or Enter on a row of an object the mission holds selects it as the
// tree does: the tree, the world window and the pages follow. A removed object,
// and the file's header, cannot be selected: the status bar says so.
//
// The panel compares again after every change while it is visible: an edit, undo
// or redo (DON_OBJECT_CHANGED, or NoteChange from the edit history), another
// mission selected or opened, a save. Changes are paced by CRefreshPacing, so a
// drag or a held-down undo costs one comparison per pause; a change while the
// panel is hidden is compared when it is shown. A comparison reads what the
// objects hold: text typed into a script window counts once it goes into its
// object, as the window loses the focus (showing the tab moves the focus; the
// main window's "Изменения" command takes the text in first).

#include "game/CDravoDonView.h"
#include "game/CMissionChanges.h"
#include "game/CRefreshPacing.h"
#include "game/ChangeRow.h"

#include <QWidget>

#include <optional>
#include <vector>

class CMission;
class QLabel;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace ui {

class CItemTreeView;
class CSizingTabCtrlBar;

class CChangesPanel final : public QWidget, public CDravoDonView {
public:
    // Registers with the mediator; `tree` tells which mission is selected.
    explicit CChangesPanel(CItemTreeView* tree, QWidget* parent = nullptr);
    ~CChangesPanel() override;

    // DON_OBJECT_CHANGED from any view, and a selection in another mission, are
    // changes.
    void Notify(CDravoDonView* sender, int code, int arg) override;

    // Something the comparison may show differently happened now.
    void NoteChange();
    // Compares at once and shows the rows.
    void Refresh();
    // A change waits to be shown.
    bool RefreshPending() const { return pacing_.HasChanges(); }

    // Shows `bar` and makes this panel its active tab, compares at once and puts
    // the focus on the list: the "Изменения" command, after the pending texts went
    // into their objects.
    void ShowIn(CSizingTabCtrlBar& bar);

    // Selects the object of `item`'s row, as a double-click or Enter does.
    void ActivateItem(QTreeWidgetItem* item);

    QTreeWidget* List() const { return list_; }
    QLabel* Summary() const { return summary_; }
    // The rows shown, edits first; a row's item holds its index here.
    const std::vector<ChangeRow>& Rows() const { return rows_; }
    // The mission the rows are of; null when none is shown.
    const CMission* ShownMission() const { return shown_; }
    // The list's headings: the edits' and the save's own.
    QTreeWidgetItem* EditHeading() const { return editHeading_; }
    QTreeWidgetItem* SaveHeading() const { return saveHeading_; }
    // The row of `item`; null for a heading.
    const ChangeRow* RowOf(const QTreeWidgetItem* item) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ArmTimer();
    void Compare(CMission* mission);
    void Fill(const std::optional<ChangeRow>& kept);
    QTreeWidgetItem* AddHeading(const QString& text, bool expanded);
    void ShowStatus(const QString& text);

    CItemTreeView* tree_;
    QLabel* summary_;
    QTreeWidget* list_;
    QTimer* timer_;
    CMissionChanges changes_;
    CRefreshPacing pacing_;
    std::vector<ChangeRow> rows_;
    CMission* shown_ = nullptr;  // missions live as long as the game root
    QTreeWidgetItem* editHeading_ = nullptr;
    QTreeWidgetItem* saveHeading_ = nullptr;
    bool refreshed_ = false;
    bool shownAnew_ = false;  // shown since the last refresh: it is due at once
    bool compared_ = false;  // the rows are a comparison's (none: the summary says why)
};

}  // namespace ui
