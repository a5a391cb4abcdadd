#pragma once
// The mission tree: every mission of the installation as a top-level item and,
// under each opened mission, its objects in four category nodes. Selecting an item
// makes its object the editor's current object and is announced through the
// mediator; opening a mission (double-click, or releasing Enter on it) loads it and
// builds its branch. Collapsing a branch that holds the selected item selects the
// collapsed item, and a row selected by any means (a screen reader's select action
// too) becomes the current one, announced as a click, so that what is current is
// always what the user sees selected. A right click leaves the selection alone. The
// branches are drawn with lines, the root items' too.
//
// The items are CItemTreeItem; the opened missions' branches are CMissionBranches.

#include "game/CDravoDonView.h"
#include "game/IDravoDonHost.h"
#include "ui/CItemTreeItem.h"
#include "ui/CMissionBranches.h"

#include <QIcon>
#include <QTreeWidget>

#include <vector>

class CMission;

namespace ui {

class CItemTreeView final : public QTreeWidget, public CDravoDonView, public IMissionTree {
public:
    explicit CItemTreeView(QWidget* parent = nullptr);
    ~CItemTreeView() override;

    // IMissionTree: a top-level item for `mission` in sorted place, repainted at once.
    void AddMission(CMission* mission) override;
    // The mission of the item the user sees selected: null when the selection was
    // cleared (a Ctrl-click on the selected item) or is no mission's own item.
    CMission* GetSelectedMission() override;

    // The mission whose branch holds the item the user sees selected: the mission
    // itself, one of its categories or one of its objects; null when nothing is
    // selected.
    CMission* GetMissionOfSelection() const;

    // The same as AddMission, returning the new item.
    CItemTreeItem* AddMissionItem(CMission* mission);

    // Selects the first item, in pre-order, that holds `object`, opening its
    // ancestors; announced as a selection by the program (never as a click).
    // Nothing happens when no item holds it.
    void SelectObject(CVerdaxData* object) override;

    // Loads the mission of `item` through the game root and builds its branch; a
    // mission loaded already gets its branch when it has none yet. Nothing for an
    // item that is no mission or a mission whose branch is built.
    void OpenMissionItem(QTreeWidgetItem* item);

    // What a double-click on `mission`'s item does, for a mission named at start-up:
    // opens it (the root's messages on failure), selects it and shows it expanded.
    // False when no top-level item holds the mission.
    bool OpenAndSelectMission(CMission* mission);

    // On DON_OBJECT_CHANGED from another view, the rows in sight whose text or icon
    // changed are repainted at once; an item added in its sorted
    // place under its category on DON_OBJECT_ADDED (objects of the same text in the
    // order of their list) and taken away on DON_OBJECT_REMOVING, the categories
    // staying expanded or collapsed as they were. The current item removed leaves
    // its category current, unannounced. Everything else is ignored.
    void Notify(CDravoDonView* sender, int code, int arg) override;

    // The category node `category` under `mission`'s item, with its rows; null
    // before the mission is opened.
    CItemTreeItem* CategoryNode(const CMission* mission, int category);

    // The rows of every category of every opened mission, made now where they were
    // not made yet (a category's rows are made when it is first expanded), for
    // whoever looks through every row.
    void MakeAllRows() { branches_.MakeAllRows(); }

    // Image `index` of the tree's icon strip; an empty icon outside it.
    QIcon Icon(int index) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // Quiet: made current without an announcement.
    enum class Cause { Program, Mouse, Keyboard, Quiet };

    void OnInitialUpdate();
    void OnSelectionChanged(QTreeWidgetItem* item);
    void OnItemCollapsed(QTreeWidgetItem* item);
    void RepaintChangedRows();
    void OnItemSelectionChanged();
    void RemoveObjectItem(const CVerdaxData& object);

    std::vector<QIcon> icons_;  // the icon strip, cut once
    CMissionBranches branches_;
    Cause cause_ = Cause::Program;
    // The tree saw the press of Enter whose release is still to come. A release
    // without it belongs to a press that went elsewhere (it closed a message box or
    // chose a menu item) and opens nothing.
    bool enterPressed_ = false;
};

}  // namespace ui
