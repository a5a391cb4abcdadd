#pragma once
// The branches of the opened missions in the mission tree: under each mission's
// item its four category nodes, and under those the rows of the mission's objects,
// each in its sorted place (ItemTreeOrder.h). A branch is built once, all its rows
// at once; afterwards an object's row is found, added or taken away as objects
// come and go. The items belong to the tree; this keeps only where they stand.

#include <map>

class CMission;
class CVerdaxData;
class QTreeWidgetItem;

namespace ui {

class CItemTreeItem;

class CMissionBranches {
public:
    // The category nodes under `missionItem` and the rows of `mission`'s objects
    // under them.
    void Build(const CMission& mission, QTreeWidgetItem& missionItem);
    bool IsBuilt(const CMission& mission) const { return nodes_.contains(&mission); }
    // Forgets every branch; their items stay the tree's.
    void Clear() { nodes_.clear(); }

    // The category node `category` under `mission`'s item; null before it is opened.
    CItemTreeItem* CategoryNode(const CMission* mission, int category) const;

    // The row of `object`; null when it has none (its mission's branch is not built).
    CItemTreeItem* ObjectItem(const CVerdaxData& object) const;
    // A row for `object` in its sorted place under its category. Nothing when it has
    // one already, or when its mission's branch is not built yet: building it adds
    // the row then.
    void AddObjectItem(CVerdaxData& object);

private:
    // The mission of a built branch that holds `object`; null when none does.
    const CMission* BranchOf(const CVerdaxData& object) const;

    std::map<const CMission*, std::map<int, CItemTreeItem*>> nodes_;
};

}  // namespace ui
