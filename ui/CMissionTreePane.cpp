#include "ui/CMissionTreePane.h"

#include "core/StringTable.h"
#include "platform/Unicode.h"
#include "ui/CItemTreeView.h"
#include "ui/StringTableText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSet>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace ui {
namespace {


}  // namespace

CMissionTreePane::CMissionTreePane(QWidget* parent)
    : QWidget(parent), tree_(new CItemTreeView(this)), field_(new QLineEdit(this)),
      refilter_(new QTimer(this))
{
    setObjectName(QStringLiteral("missionTreePane"));
    field_->setObjectName(QStringLiteral("treeFilter"));
    field_->setPlaceholderText(QStringLiteral("Поиск (Ctrl+F)"));
    field_->setClearButtonEnabled(true);
    // The field has no label of its own: it is named after its tab.
    field_->setAccessibleName(QStringLiteral("Поиск в миссиях"));
    tree_->setAccessibleName(StringTableText(IDS_MISSIONS_TAB));
    setAccessibleName(StringTableText(IDS_MISSIONS_TAB));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(field_);
    layout->addWidget(tree_, 1);
    setFocusProxy(tree_);

    connect(field_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    field_->installEventFilter(this);
    tree_->installEventFilter(this);
    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        field_->setFocus(Qt::ShortcutFocusReason);
        field_->selectAll();
    });

    refilter_->setSingleShot(true);
    refilter_->setInterval(0);
    connect(refilter_, &QTimer::timeout, this, [this] { ApplyFilter(); });
    connect(tree_->model(), &QAbstractItemModel::rowsInserted, this, [this] {
        if (filtered_)
            refilter_->start();
    });
}

bool CMissionTreePane::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        !field_->text().isEmpty()) {
        SetFilter({});
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

CMissionTreePane::~CMissionTreePane()
{
    // The tree's items die with it; nothing may filter them any more.
    refilter_->stop();
    disconnect(tree_->model(), nullptr, this, nullptr);
    field_->removeEventFilter(this);
    tree_->removeEventFilter(this);
}

void CMissionTreePane::SetFilter(const QString& text)
{
    field_->setText(text);
}

std::u32string CMissionTreePane::Folded(const QString& text)
{
    const QList<uint> codePoints = text.toUcs4();
    std::u32string folded(codePoints.begin(), codePoints.end());
    return platform::unicode::FoldCase(std::move(folded));
}

void CMissionTreePane::ApplyFilter()
{
    const std::u32string needle = Folded(field_->text());
    if (needle.empty()) {
        if (filtered_)
            RestoreTree();
        return;
    }
    // Rows not made yet would be missed, and their categories left closed.
    tree_->MakeAllRows();
    if (!filtered_)
        SaveExpansion();
    filtered_ = true;
    tree_->setUpdatesEnabled(false);
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        FilterBranch(tree_->topLevelItem(i), needle);
    tree_->setUpdatesEnabled(true);
}

// Whether `item` stays visible: its own text matches, or something below it does,
// in which case it is opened.
bool CMissionTreePane::FilterBranch(QTreeWidgetItem* item, const std::u32string& needle)
{
    bool below = false;
    for (int i = 0; i < item->childCount(); ++i)
        below = FilterBranch(item->child(i), needle) || below;
    const auto* treeItem = dynamic_cast<const CItemTreeItem*>(item);
    const bool own = treeItem && treeItem->GetCategory() == 0 &&
                     Folded(treeItem->DisplayText()).find(needle) != std::u32string::npos;
    const bool visible = own || below;
    if (item->isHidden() == visible)
        item->setHidden(!visible);
    if (below && !item->isExpanded())
        item->setExpanded(true);
    return visible;
}

void CMissionTreePane::SaveExpansion()
{
    savedExpansion_.clear();
    savedCurrent_ = tree_->currentItem();
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        if ((*it)->childCount() > 0)
            savedExpansion_.insert(*it, (*it)->isExpanded());
    }
}

// Items that came after the filter was set keep what they have; they are only shown.
// The branches that hold an item chosen under the filter stay open: collapsing one
// would also move the selection to it.
void CMissionTreePane::RestoreTree()
{
    filtered_ = false;
    refilter_->stop();
    QSet<QTreeWidgetItem*> keptOpen;
    if (QTreeWidgetItem* chosen = tree_->currentItem(); chosen && chosen != savedCurrent_) {
        for (QTreeWidgetItem* parent = chosen->parent(); parent; parent = parent->parent())
            keptOpen.insert(parent);
    }
    tree_->setUpdatesEnabled(false);
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        QTreeWidgetItem* item = *it;
        if (item->isHidden())
            item->setHidden(false);
        const auto saved = savedExpansion_.constFind(item);
        if (saved != savedExpansion_.constEnd() && item->isExpanded() != *saved && !(keptOpen.contains(item) && !*saved))
            item->setExpanded(*saved);
    }
    tree_->setUpdatesEnabled(true);
    savedExpansion_.clear();
    QTreeWidgetItem* current = tree_->currentItem();
    if (current && current != savedCurrent_)
        tree_->scrollToItem(current);
    savedCurrent_ = nullptr;
}

}  // namespace ui
