#pragma once
// The branches of the opened missions in the mission tree: under each mission's
// item its four category nodes, and under those the rows of the mission's objects,
// each in its sorted place (ItemTreeOrder.h). A branch is built once; a category's
// rows are made all at once when the category is first expanded or one of its
// objects is asked for, so that opening a mission of tens of thousands of things
// makes no row nobody has looked at. Afterwards an object's row is found, added or
// taken away as objects come and go. The items belong to the tree; this keeps only
// where they stand.

#include <map>

class CMission;
class CVerdaxData;
class QTreeWidgetItem;

namespace ui {

class CItemTreeItem;

class CMissionBranches {
public:
    // The category nodes under `missionItem`, each with an expansion mark while it
    // has objects whose rows are not made yet.
    void Build(const CMission& mission, QTreeWidgetItem& missionItem);
    bool IsBuilt(const CMission& mission) const { return nodes_.contains(&mission); }
    // Forgets every branch; their items stay the tree's.
    void Clear()
    {
        nodes_.clear();
        rowsToMake_.clear();
    }

    // The rows of `node`'s objects when it is a category node whose rows are not made
    // yet; nothing for any other item.
    void MakeRows(QTreeWidgetItem& node);
    // The rows of every category of every branch.
    void MakeAllRows();
    // The row of `object`, made with the rows of its category when they were not
    // made yet; null when its mission's branch is not built.
    CItemTreeItem* RowOf(const CVerdaxData& object);

    // The category node `category` under `mission`'s item; null before it is opened.
    CItemTreeItem* CategoryNode(const CMission* mission, int category) const;

    // The row of `object`; null when it has none (its mission's branch is not built,
    // or its category's rows are not made).
    CItemTreeItem* ObjectItem(const CVerdaxData& object) const;
    // A row for `object` in its sorted place under its category. Nothing when it has
    // one already, or when its category's rows are not made yet: making them adds
    // the row then.
    void AddObjectItem(CVerdaxData& object);

private:
    // The mission of a built branch that holds `object`; null when none does.
    const CMission* BranchOf(const CVerdaxData& object) const;

    std::map<const CMission*, std::map<int, CItemTreeItem*>> nodes_;
    // The category nodes whose rows are still to be made, with their missions.
    std::map<QTreeWidgetItem*, const CMission*> rowsToMake_;
};

}  // namespace ui
