#pragma once
// The order of the mission tree's rows, as the tree control sorts them: by text,
// ignoring letter case; rows of the same text in the order of their objects in
// their mission's list.

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace ui {

class CItemTreeItem;

// Puts `item` (owned by the tree afterwards) after every sibling under `parent`
// whose text does not compare greater.
void InsertSorted(QTreeWidgetItem& parent, CItemTreeItem* item);
// The same among the top-level items of `tree`.
void InsertSorted(QTreeWidget& tree, CItemTreeItem* item);

// A key whose plain comparison orders texts as InsertSorted does, for sorting many
// rows at once.
QString SortKey(QString text);

}  // namespace ui
