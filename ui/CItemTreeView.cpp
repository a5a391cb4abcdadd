#include "ui/CItemTreeView.h"

#include "core/ScopedValue.h"
#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "ui/CodePageText.h"
#include "platform/WaitCursor.h"
#include "scene/CSceneObjectMissionScript.h"
#include "ui/IconStrips.h"
#include "ui/StringTableText.h"

#include <QCommonStyle>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QRegion>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <utility>

namespace ui {
namespace {


int CategoryIcon(int category)
{
    switch (category) {
    case CATEGORY_WHOLE: return ICON_WHOLE;
    case CATEGORY_THING_DATA: return ICON_THING_DATA;
    case CATEGORY_THINGS: return ICON_THING;
    case CATEGORY_SCRIPTS: return ICON_SCRIPT;
    default: return ICON_UNKNOWN_CATEGORY;
    }
}

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
    return CItemTreeView::ThingIcon(static_cast<const CSceneObjectThing&>(object).GetLinkedDataKind());
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

// Items of the same text stand in the order of their objects in their list, as
// building the branch puts them.
bool ListedBefore(const QTreeWidgetItem* sibling, const CItemTreeItem* item)
{
    const QTreeWidgetItem* top = sibling;
    while (top->parent())
        top = top->parent();
    const auto* missionItem = dynamic_cast<const CItemTreeItem*>(top);
    const auto* mission = missionItem ? dynamic_cast<const CMission*>(missionItem->GetObject()) : nullptr;
    const auto* other = dynamic_cast<const CItemTreeItem*>(sibling);
    const auto* a = other ? dynamic_cast<const CSceneObject*>(other->GetObject()) : nullptr;
    const auto* b = dynamic_cast<const CSceneObject*>(item->GetObject());
    if (!a || !b || !mission)
        return true;
    return mission->IndexOf(*a) < mission->IndexOf(*b);
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

// ---- items ----------------------------------------------------------------

CItemTreeItem::CItemTreeItem(CVerdaxData* object, int icon) : QTreeWidgetItem(kType), object_(object), icon_(icon) {}

CItemTreeItem::CItemTreeItem(int category, const QString& caption)
    : QTreeWidgetItem(kType), category_(category), caption_(caption)
{
}

int CItemTreeItem::GetIcon() const
{
    if (category_ != 0)
        return CategoryIcon(category_);
    if (const auto* mission = dynamic_cast<const CMission*>(object_))
        return mission->IsLoaded() ? ICON_MISSION_LOADED : ICON_MISSION_LISTED;
    return icon_;
}

QString CItemTreeItem::DisplayText() const
{
    if (category_ != 0)
        return caption_;
    if (const auto* mission = dynamic_cast<const CMission*>(object_)) {
        const bool modified = CDravoDon::Instance().IsMissionModified(*mission);
        return TextFromCodePage(mission->GetName()) + (modified ? QStringLiteral(" *") : QString());
    }
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(object_))
        return ObjectText(*thing);
    if (const auto* object = dynamic_cast<const CSceneObject*>(object_))
        return ObjectText(*object);
    return {};
}

QString CItemTreeItem::ObjectText(const CSceneObjectThing& thing)
{
    const std::string name = thing.GetName();
    return name.empty() ? QStringLiteral("[%1]").arg(TextFromCodePage(thing.GetModelName())) : TextFromCodePage(name);
}

QString CItemTreeItem::ObjectText(const CSceneObject& object)
{
    const std::string name = object.GetName();
    return name.empty() ? QStringLiteral("[---]") : TextFromCodePage(name);
}

void CItemTreeItem::NoteShown() const
{
    shownText_ = DisplayText();
    shownIcon_ = GetIcon();
}

bool CItemTreeItem::ShowsStale() const
{
    return shownIcon_ != GetIcon() || shownText_ != DisplayText();
}

QVariant CItemTreeItem::data(int column, int role) const
{
    if (column == 0 && role == Qt::DisplayRole)
        return DisplayText();
    if (column == 0 && role == Qt::DecorationRole) {
        if (const auto* tree = dynamic_cast<const CItemTreeView*>(treeWidget()))
            return tree->Icon(GetIcon());
        return {};
    }
    return QTreeWidgetItem::data(column, role);
}

// ---- the view ---------------------------------------------------------------

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
    categoryNodes_.clear();
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
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { OnItemSelectionChanged(); });

    CDravoDon::Instance().RegisterView(this);
    categoryNodes_.clear();
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
    InsertSorted(nullptr, item);
    viewport()->repaint();
    return item;
}

// Sorted placement as the tree control makes it: after every sibling whose text
// does not compare greater, ignoring case.
void CItemTreeView::InsertSorted(QTreeWidgetItem* parent, CItemTreeItem* item)
{
    const QString text = item->DisplayText();
    const int count = parent ? parent->childCount() : topLevelItemCount();
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        const QTreeWidgetItem* sibling = parent ? parent->child(middle) : topLevelItem(middle);
        const int order = QString::compare(sibling->text(0), text, Qt::CaseInsensitive);
        if (order < 0 || (order == 0 && ListedBefore(sibling, item)))
            low = middle + 1;
        else
            high = middle;
    }
    if (parent)
        parent->insertChild(low, item);
    else
        insertTopLevelItem(low, item);
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
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const auto* item = dynamic_cast<const CItemTreeItem*>(*it);
        if (!item || item->GetObject() != object)
            continue;
        for (QTreeWidgetItem* ancestor = (*it)->parent(); ancestor; ancestor = ancestor->parent())
            ancestor->setExpanded(true);
        ScopedValue cause(cause_, Cause::Program);
        setCurrentItem(*it);
        scrollToItem(*it);
        return;
    }
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
    if (!mission || categoryNodes_.contains(mission))
        return;
    // A mission loaded elsewhere (a recovery at start-up) only needs its branch.
    if (!mission->IsLoaded() && !CDravoDon::Instance().GetRoot().LoadMission(mission))
        return;  // the root has told the user
    platform::WaitCursorScope wait;
    BuildMissionBranch(mission, item);
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

void CItemTreeView::BuildMissionBranch(CMission* mission, QTreeWidgetItem* missionItem)
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
    std::map<int, CItemTreeItem*> nodes;
    for (const Category& category : kCategories) {
        auto* node = new CItemTreeItem(category.code, StringTableText(category.caption));
        InsertSorted(missionItem, node);
        nodes[category.code] = node;
    }
    categoryNodes_[mission] = nodes;

    AddObjectItems(nodes[CATEGORY_THING_DATA], mission->GetThingData(), ThingDataIcon);
    AddObjectItems(nodes[CATEGORY_THINGS], mission->GetThings(), ThingIconOf);
    AddObjectItems(nodes[CATEGORY_SCRIPTS], mission->GetMissionScripts(), ScriptIcon);
}

// The rows go in at once, in the order that inserting them one by one in list order
// with InsertSorted would give (a stable sort by the same comparison), each text
// asked of its object once: a mission of tens of thousands of things would
// otherwise convert texts at every comparison and announce every row to the model.
template <class Objects>
void CItemTreeView::AddObjectItems(QTreeWidgetItem* parent, const Objects& objects, int (*icon)(const CVerdaxData&))
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
    parent->addChildren(items);
}

int CItemTreeView::ThingIcon(int linkedDataKind)
{
    switch (linkedDataKind) {
    case CSceneObjectThingData::kScriptKind: return ICON_THING_SCRIPTED;
    case CSceneObjectThingData::kTextKind: return ICON_THING_FIGURE;
    case -1: return ICON_THING;
    default: return ICON_THING_DATA_BLOCK;
    }
}

CItemTreeItem* CItemTreeView::CategoryNode(const CMission* mission, int category) const
{
    const auto missionNodes = categoryNodes_.find(mission);
    if (missionNodes == categoryNodes_.end())
        return nullptr;
    const auto node = missionNodes->second.find(category);
    return node == missionNodes->second.end() ? nullptr : node->second;
}

void CItemTreeView::Notify(CDravoDonView* sender, int code, int /*arg*/)
{
    CVerdaxData* object = sender ? sender->GetObject() : nullptr;
    if (code == DON_OBJECT_CHANGED && sender != this)
        RepaintChangedRows();
    else if (code == DON_OBJECT_ADDED && object)
        AddObjectItem(*object);
    else if (code == DON_OBJECT_REMOVING && object)
        RemoveObjectItem(*object);
}

// ---- objects coming and going -------------------------------------------------

const CMission* CItemTreeView::BranchOf(const CVerdaxData& object) const
{
    for (const auto& [mission, nodes] : categoryNodes_) {
        if (mission->Owns(&object))
            return mission;
    }
    return nullptr;
}

CItemTreeItem* CItemTreeView::ObjectItem(const CVerdaxData& object) const
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

// A branch not built yet takes the object when it is built.
void CItemTreeView::AddObjectItem(CVerdaxData& object)
{
    const CMission* mission = BranchOf(object);
    const auto [category, icon] = PlaceOf(object);
    CItemTreeItem* node = mission ? CategoryNode(mission, category) : nullptr;
    if (node && !ObjectItem(object))
        InsertSorted(node, new CItemTreeItem(&object, icon));
}

// The item of an object about to go: a current item gives its place to its
// category without an announcement, since every view drops the object itself on
// this notification (a selection announced now would reach views that still hold it).
void CItemTreeView::RemoveObjectItem(const CVerdaxData& object)
{
    CItemTreeItem* item = ObjectItem(object);
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
