#include "ui/CMissionBranches.h"

#include "core/StringTable.h"
#include "game/CMission.h"
#include "scene/CSceneObjectMissionScript.h"
#include "ui/CItemTreeItem.h"
#include "ui/IconStrips.h"
#include "ui/ItemTreeOrder.h"
#include "ui/StringTableText.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ui {
namespace {

int ThingDataIcon(const CVerdaxData&)
{
    return ICON_THING_DATA;
}

int ScriptIcon(const CVerdaxData&)
{
    return ICON_SCRIPT;
}

int ThingIconOf(const CVerdaxData& object)
{
    return CItemTreeItem::ThingIcon(static_cast<const CSceneObjectThing&>(object).GetLinkedDataKind());
}

// The category an object's item stands under, with the icon it gets there; 0 for
// what is no object of a mission's lists.
std::pair<int, int> PlaceOf(const CVerdaxData& object)
{
    if (dynamic_cast<const CSceneObjectThing*>(&object))
        return {CATEGORY_THINGS, ThingIconOf(object)};
    if (dynamic_cast<const CSceneObjectThingData*>(&object))
        return {CATEGORY_THING_DATA, ThingDataIcon(object)};
    if (dynamic_cast<const CSceneObjectMissionScript*>(&object))
        return {CATEGORY_SCRIPTS, ScriptIcon(object)};
    return {0, 0};
}

std::size_t ObjectCount(const CMission& mission, int category)
{
    switch (category) {
    case CATEGORY_THING_DATA: return mission.GetThingData().size();
    case CATEGORY_THINGS: return mission.GetThings().size();
    case CATEGORY_SCRIPTS: return mission.GetMissionScripts().size();
    default: return 0;
    }
}

// The rows go in at once, in the order that inserting them one by one in list order
// with InsertSorted would give (a stable sort by the same comparison), each text
// asked of its object once: a mission of tens of thousands of things would
// otherwise convert texts at every comparison and announce every row to the model.
template <class Objects>
void AddObjectItems(QTreeWidgetItem& parent, const Objects& objects, int (*icon)(const CVerdaxData&))
{
    struct Row {
        QString key;
        QTreeWidgetItem* item;
    };
    std::vector<Row> rows;
    rows.reserve(objects.size());
    for (const auto& object : objects) {
        if (!object)
            continue;  // an object that is not there is left out
        auto* item = new CItemTreeItem(object.get(), icon(*object));
        rows.push_back({SortKey(CItemTreeItem::ObjectText(*object)), item});
    }
    std::ranges::stable_sort(rows, [](const Row& a, const Row& b) { return a.key < b.key; });
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& row : rows)
        items.push_back(row.item);
    parent.addChildren(items);
}

}  // namespace

void CMissionBranches::Build(const CMission& mission, QTreeWidgetItem& missionItem)
{
    struct Category {
        int code;
        int caption;
    };
    static constexpr Category kCategories[] = {
        {CATEGORY_WHOLE, IDS_CATEGORY_WHOLE},
        {CATEGORY_THING_DATA, IDS_CATEGORY_THING_DATA},
        {CATEGORY_THINGS, IDS_CATEGORY_THINGS},
        {CATEGORY_SCRIPTS, IDS_CATEGORY_SCRIPTS},
    };
    std::map<int, CItemTreeItem*>& nodes = nodes_[&mission];
    for (const Category& category : kCategories) {
        auto* node = new CItemTreeItem(category.code, StringTableText(category.caption));
        if (ObjectCount(mission, category.code) > 0) {
            node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            rowsToMake_.emplace(node, &mission);
        }
        InsertSorted(missionItem, node);
        nodes[category.code] = node;
    }
}

void CMissionBranches::MakeRows(QTreeWidgetItem& node)
{
    const auto found = rowsToMake_.find(&node);
    if (found == rowsToMake_.end())
        return;
    const CMission& mission = *found->second;
    rowsToMake_.erase(found);
    node.setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    switch (static_cast<const CItemTreeItem&>(node).GetCategory()) {
    case CATEGORY_THING_DATA: AddObjectItems(node, mission.GetThingData(), ThingDataIcon); break;
    case CATEGORY_THINGS: AddObjectItems(node, mission.GetThings(), ThingIconOf); break;
    case CATEGORY_SCRIPTS: AddObjectItems(node, mission.GetMissionScripts(), ScriptIcon); break;
    default: break;
    }
}

void CMissionBranches::MakeAllRows()
{
    while (!rowsToMake_.empty())
        MakeRows(*rowsToMake_.begin()->first);
}

CItemTreeItem* CMissionBranches::RowOf(const CVerdaxData& object)
{
    const CMission* mission = BranchOf(object);
    if (CItemTreeItem* node = mission ? CategoryNode(mission, PlaceOf(object).first) : nullptr)
        MakeRows(*node);
    return ObjectItem(object);
}

CItemTreeItem* CMissionBranches::CategoryNode(const CMission* mission, int category) const
{
    const auto missionNodes = nodes_.find(mission);
    if (missionNodes == nodes_.end())
        return nullptr;
    const auto node = missionNodes->second.find(category);
    return node == missionNodes->second.end() ? nullptr : node->second;
}

const CMission* CMissionBranches::BranchOf(const CVerdaxData& object) const
{
    for (const auto& [mission, nodes] : nodes_) {
        if (mission->Owns(&object))
            return mission;
    }
    return nullptr;
}

CItemTreeItem* CMissionBranches::ObjectItem(const CVerdaxData& object) const
{
    const CMission* mission = BranchOf(object);
    QTreeWidgetItem* node = mission ? CategoryNode(mission, PlaceOf(object).first) : nullptr;
    for (int i = 0; node && i < node->childCount(); ++i) {
        auto* item = static_cast<CItemTreeItem*>(node->child(i));
        if (item->GetObject() == &object)
            return item;
    }
    return nullptr;
}

void CMissionBranches::AddObjectItem(CVerdaxData& object)
{
    const CMission* mission = BranchOf(object);
    const auto [category, icon] = PlaceOf(object);
    CItemTreeItem* node = mission ? CategoryNode(mission, category) : nullptr;
    if (node && !rowsToMake_.contains(node) && !ObjectItem(object))
        InsertSorted(*node, new CItemTreeItem(&object, icon));
}

}  // namespace ui
