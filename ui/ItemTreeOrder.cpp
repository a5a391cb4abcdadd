#include "ui/ItemTreeOrder.h"

#include "game/CMission.h"
#include "ui/CItemTreeItem.h"

#include <QTreeWidget>

namespace ui {
namespace {

// Items of the same text stand in the order of their objects in their list, as
// building the branch puts them.
bool ListedBefore(const QTreeWidgetItem* sibling, const CItemTreeItem& item)
{
    const QTreeWidgetItem* top = sibling;
    while (top->parent())
        top = top->parent();
    const auto* missionItem = dynamic_cast<const CItemTreeItem*>(top);
    const auto* mission = missionItem ? dynamic_cast<const CMission*>(missionItem->GetObject()) : nullptr;
    const auto* other = dynamic_cast<const CItemTreeItem*>(sibling);
    const auto* a = other ? dynamic_cast<const CSceneObject*>(other->GetObject()) : nullptr;
    const auto* b = dynamic_cast<const CSceneObject*>(item.GetObject());
    if (!a || !b || !mission)
        return true;
    return mission->IndexOf(*a) < mission->IndexOf(*b);
}

// The place among `count` siblings after every one whose text does not compare
// greater than the item's, ignoring case.
template <class SiblingAt>
int SortedPlace(int count, const SiblingAt& siblingAt, const CItemTreeItem& item)
{
    const QString text = item.DisplayText();
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        const QTreeWidgetItem* sibling = siblingAt(middle);
        const int order = QString::compare(sibling->text(0), text, Qt::CaseInsensitive);
        if (order < 0 || (order == 0 && ListedBefore(sibling, item)))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

}  // namespace

void InsertSorted(QTreeWidgetItem& parent, CItemTreeItem* item)
{
    const auto childAt = [&parent](int i) { return parent.child(i); };
    parent.insertChild(SortedPlace(parent.childCount(), childAt, *item), item);
}

void InsertSorted(QTreeWidget& tree, CItemTreeItem* item)
{
    const auto topLevelAt = [&tree](int i) { return tree.topLevelItem(i); };
    tree.insertTopLevelItem(SortedPlace(tree.topLevelItemCount(), topLevelAt, *item), item);
}

// The text as QString::compare folds it when it ignores case, as the tree control
// sorts: each unit case-folded. Item texts hold only characters of the Basic
// Multilingual Plane (the code page's, the captions'), and for those comparing the
// keys unit by unit gives that order, without folding at every comparison.
QString SortKey(QString text)
{
    for (QChar& c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80)
            c = QChar(unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit);
        else
            c = c.toCaseFolded();
    }
    return text;
}

}  // namespace ui
