#include "ui/CItemTreeView.h"

#include "core/ScopedValue.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/WaitCursor.h"
#include "ui/IconStrips.h"
#include "ui/ItemTreeOrder.h"

#include <QCommonStyle>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QRegion>
#include <QTreeWidgetItemIterator>

#include <utility>

namespace ui {
namespace {

bool IsEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The application's style for everything but the branches, which are drawn as a
// tree control draws them: dotted lines joining the items, the root items too, and
// a box with a plus or a minus on an item with children.
class CTreeLinesStyle final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_IndicatorBranch)
            lines_.drawPrimitive(element, option, painter, widget);
        else
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

private:
    QCommonStyle lines_;
};

}  // namespace

CItemTreeView::CItemTreeView(QWidget* parent) : QTreeWidget(parent)
{
    const QPixmap strip = ItemIconStrip();
    for (int i = 0; i < kItemIconCount; ++i)
        icons_.push_back(IconFromStrip(strip, i));
    OnInitialUpdate();
}

QIcon CItemTreeView::Icon(int index) const
{
    return index >= 0 && index < static_cast<int>(icons_.size()) ? icons_[static_cast<std::size_t>(index)] : QIcon();
}

CItemTreeView::~CItemTreeView()
{
    // Deleting the items must not announce a selection from a view half destroyed.
    disconnect(this, &QTreeWidget::currentItemChanged, this, nullptr);
    blockSignals(true);
    branches_.Clear();
}

void CItemTreeView::OnInitialUpdate()
{
    setObjectName(QStringLiteral("itemTree"));
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    auto* style = new CTreeLinesStyle;
    style->setParent(this);
    setStyle(style);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // One column: items and rows are the same, and an item's own select action
    // (a screen reader's) selects that item; the row form picks a row by its place
    // under its parent as if it were its place in the whole tree.
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setIconSize(QSize(kIconSize, kIconSize));
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelectionChanged(current); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { OnItemCollapsed(item); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { branches_.MakeRows(*item); });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { OnItemSelectionChanged(); });

    CDravoDon::Instance().RegisterView(this);
    branches_.Clear();
    clear();
}

void CItemTreeView::AddMission(CMission* mission)
{
    AddMissionItem(mission);
}

CItemTreeItem* CItemTreeView::AddMissionItem(CMission* mission)
{
    if (!mission)
        return nullptr;
    auto* item = new CItemTreeItem(mission, ICON_MISSION_LISTED);
    InsertSorted(*this, item);
    viewport()->repaint();
    return item;
}

CMission* CItemTreeView::GetSelectedMission()
{
    const auto* item = dynamic_cast<const CItemTreeItem*>(currentItem());
    if (!item || !item->isSelected())
        return nullptr;
    return dynamic_cast<CMission*>(item->GetObject());
}

CMission* CItemTreeView::GetMissionOfSelection() const
{
    QTreeWidgetItem* item = currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    while (item->parent())
        item = item->parent();
    const auto* missionItem = dynamic_cast<const CItemTreeItem*>(item);
    return missionItem ? dynamic_cast<CMission*>(missionItem->GetObject()) : nullptr;
}

void CItemTreeView::SelectObject(CVerdaxData* object)
{
    if (!object)
        return;
    // An object of a mission's lists has its one row in its branch; anything else
    // (a mission) is looked for among the items.
    QTreeWidgetItem* row = branches_.RowOf(*object);
    for (QTreeWidgetItemIterator it(this); !row && *it; ++it) {
        const auto* item = dynamic_cast<const CItemTreeItem*>(*it);
        if (item && item->GetObject() == object)
            row = *it;
    }
    if (!row)
        return;
    for (QTreeWidgetItem* ancestor = row->parent(); ancestor; ancestor = ancestor->parent())
        ancestor->setExpanded(true);
    ScopedValue cause(cause_, Cause::Program);
    setCurrentItem(row);
    scrollToItem(row);
}

// The current item is the selected one: an item made current without being
// selected (as on receiving the focus) is selected too.
void CItemTreeView::OnSelectionChanged(QTreeWidgetItem* item)
{
    if (item && !item->isSelected())
        item->setSelected(true);
    const auto* treeItem = dynamic_cast<const CItemTreeItem*>(item);
    SetObject(treeItem ? treeItem->GetObject() : nullptr);
    if (cause_ != Cause::Quiet)
        CDravoDon::Instance().BroadcastSelection(this, cause_ == Cause::Mouse);
}

// A row selected without becoming current (as a screen reader's select action on
// the row does) becomes the current one, and so the editor's current object,
// announced as the user's click.
void CItemTreeView::OnItemSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.size() != 1 || selected.front() == currentItem())
        return;
    ScopedValue cause(cause_, Cause::Mouse);
    setCurrentItem(selected.front());
}

// A current item hidden in a collapsed branch would stay the editor's current object
// unseen; the collapsed item takes its place, announced as any selection change.
void CItemTreeView::OnItemCollapsed(QTreeWidgetItem* item)
{
    for (QTreeWidgetItem* ancestor = currentItem() ? currentItem()->parent() : nullptr; ancestor;
         ancestor = ancestor->parent()) {
        if (ancestor == item) {
            ScopedValue cause(cause_, Cause::Program);
            setCurrentItem(item);
            return;
        }
    }
}

void CItemTreeView::OpenMissionItem(QTreeWidgetItem* item)
{
    const auto* treeItem = dynamic_cast<const CItemTreeItem*>(item);
    auto* mission = treeItem ? dynamic_cast<CMission*>(treeItem->GetObject()) : nullptr;
    if (!mission || branches_.IsBuilt(*mission))
        return;
    // A mission loaded elsewhere (a recovery at start-up) only needs its branch.
    if (!mission->IsLoaded() && !CDravoDon::Instance().GetRoot().LoadMission(mission))
        return;  // the root has told the user
    platform::WaitCursorScope wait;
    branches_.Build(*mission, *item);
}

bool CItemTreeView::OpenAndSelectMission(CMission* mission)
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        auto* item = dynamic_cast<CItemTreeItem*>(topLevelItem(i));
        if (!item || item->GetObject() != mission)
            continue;
        OpenMissionItem(item);
        // Selected once loaded, so the views that follow the selection see the
        // mission with its objects.
        setCurrentItem(item);
        item->setExpanded(true);
        scrollToItem(item);
        return true;
    }
    return false;
}

CItemTreeItem* CItemTreeView::CategoryNode(const CMission* mission, int category)
{
    CItemTreeItem* node = branches_.CategoryNode(mission, category);
    if (node)
        branches_.MakeRows(*node);
    return node;
}

void CItemTreeView::Notify(CDravoDonView* sender, int code, int /*arg*/)
{
    CVerdaxData* object = sender ? sender->GetObject() : nullptr;
    if (code == DON_OBJECT_CHANGED && sender != this)
        RepaintChangedRows();
    else if (code == DON_OBJECT_ADDED && object)
        branches_.AddObjectItem(*object);  // a branch not built yet takes it when built
    else if (code == DON_OBJECT_REMOVING && object)
        RemoveObjectItem(*object);
}

// ---- objects coming and going -------------------------------------------------

// The item of an object about to go: a current item gives its place to its
// category without an announcement, since every view drops the object itself on
// this notification (a selection announced now would reach views that still hold it).
void CItemTreeView::RemoveObjectItem(const CVerdaxData& object)
{
    CItemTreeItem* item = branches_.ObjectItem(object);
    if (!item)
        return;
    if (currentItem() == item) {
        ScopedValue cause(cause_, Cause::Quiet);
        setCurrentItem(item->parent());
    }
    delete item;
}

// A drag announces its edit on every mouse move: repainting every row in sight each
// time would cost more than the edit. Only the rows whose text or icon no longer is
// what they show are painted again.
void CItemTreeView::RepaintChangedRows()
{
    const QRect area = viewport()->rect();
    QRegion changed;
    for (QTreeWidgetItem* row = itemAt(area.topLeft()); row; row = itemBelow(row)) {
        const QRect rect = visualItemRect(row);
        if (rect.top() > area.bottom())
            break;
        const auto* item = dynamic_cast<const CItemTreeItem*>(row);
        if (item && item->ShowsStale())
            changed += QRect(area.left(), rect.top(), area.width(), rect.height());
    }
    if (!changed.isEmpty())
        viewport()->repaint(changed);
}

void CItemTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (const auto* item = dynamic_cast<const CItemTreeItem*>(itemFromIndex(index)))
        item->NoteShown();
    QTreeWidget::drawRow(painter, option, index);
}

// A right click leaves the selection as it is.
void CItemTreeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    ScopedValue cause(cause_, Cause::Mouse);
    QTreeWidget::mousePressEvent(event);
}

// The mission is opened first; the control's own handling then toggles the item,
// so a mission opened this way shows expanded. A thing, selected by the first
// click, is framed in the world window.
void CItemTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidgetItem* item = event->button() == Qt::LeftButton ? itemAt(event->position().toPoint()) : nullptr;
    if (item) {
        OpenMissionItem(item);
        // The control finds the clicked row in its laid-out rows, which the new
        // branch has made stale.
        executeDelayedItemsLayout();
    }
    {
        ScopedValue cause(cause_, Cause::Mouse);
        QTreeWidget::mouseDoubleClickEvent(event);
    }
    const auto* clicked = item && item->type() == CItemTreeItem::kType ? static_cast<CItemTreeItem*>(item) : nullptr;
    IDravoDonHost* host = CDravoDon::Instance().GetHost();
    if (clicked && host && dynamic_cast<CSceneObjectThing*>(clicked->GetObject()))
        host->FrameSelectionInWorld();
}

void CItemTreeView::keyPressEvent(QKeyEvent* event)
{
    if (IsEnter(event))
        enterPressed_ = true;
    ScopedValue cause(cause_, Cause::Keyboard);
    QTreeWidget::keyPressEvent(event);
}

void CItemTreeView::keyReleaseEvent(QKeyEvent* event)
{
    // Taken before the mission opens: its message boxes take the next presses.
    if (IsEnter(event) && !event->isAutoRepeat() && std::exchange(enterPressed_, false))
        OpenMissionItem(currentItem());
    QTreeWidget::keyReleaseEvent(event);
}

void CItemTreeView::focusOutEvent(QFocusEvent* event)
{
    enterPressed_ = false;
    QTreeWidget::focusOutEvent(event);
}

}  // namespace ui
