#include "ui/CChangesPanel.h"

#include "core/CVerdaxException.h"
#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/MessagePresenter.h"
#include "ui/CItemTreeView.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CodePageText.h"
#include "ui/IconStrips.h"
#include "ui/StringTableText.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace ui {
namespace {

using Clock = CRefreshPacing::Clock;

constexpr int kRowRole = Qt::UserRole;
// The tree's icon of the row's list: a thing and its linked thing data share a
// name, and the list column is often scrolled out of a narrow panel.
int ListIcon(const ChangeRow& row)
{
    if (!row.list)
        return ICON_WHOLE;
    switch (*row.list) {
    case SceneList::kThings: return ICON_THING;
    case SceneList::kThingData: return ICON_THING_DATA;
    case SceneList::kMissionScripts: return ICON_SCRIPT;
    }
    return ICON_UNKNOWN_CATEGORY;
}

// What changed stands beside the object, where a narrow bar still shows it.
const char* const kColumns[] = {"Объект", "Изменение", "Список"};
enum Column : int { kObjectColumn, kChangeColumn, kListColumn };

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString MissionName(const CMission& mission)
{
    return TextFromCodePage(mission.GetName());
}

QString FailureText(const CMission& mission, const CVerdaxException& error)
{
    QString text = QStringLiteral("Файл игры scene2.bin миссии «%1» не читается (ошибка %2")
                       .arg(MissionName(mission))
                       .arg(error.GetCode());
    if (!error.GetText().empty())
        text += QStringLiteral(": ") + TextFromCodePage(error.GetText());
    return text + QStringLiteral("): сравнивать не с чем.");
}

}  // namespace

CChangesPanel::CChangesPanel(CItemTreeView* tree, QWidget* parent)
    : QWidget(parent), tree_(tree), summary_(new QLabel(this)), list_(new QTreeWidget(this)), timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("changesPanel"));
    setAccessibleName(StringTableText(IDS_CHANGES_TAB));
    summary_->setWordWrap(true);
    summary_->setObjectName(QStringLiteral("changesSummary"));
    list_->setObjectName(QStringLiteral("changesList"));
    list_->setAccessibleName(QStringLiteral("Изменения миссии"));
    list_->setColumnCount(3);
    QTreeWidgetItem* header = list_->headerItem();
    for (int column = 0; column < 3; ++column) {
        header->setText(column, QString::fromUtf8(kColumns[column]));
        header->setData(column, Qt::AccessibleTextRole, QString::fromUtf8(kColumns[column]));
    }
    list_->setRootIsDecorated(true);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setSectionResizeMode(kObjectColumn, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(kChangeColumn, QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    setFocusProxy(list_);

    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (isVisible())  // hidden meanwhile: the change waits for the panel to show
            Refresh();
    });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ActivateItem(item); });
    // A mission opened in the tree gets its branch: what was "not opened" can be compared.
    if (tree_)
        connect(tree_->model(), &QAbstractItemModel::rowsInserted, this, [this] { NoteChange(); });
    CDravoDon::Instance().RegisterView(this);
    NoteChange();
}

CChangesPanel::~CChangesPanel() = default;

void CChangesPanel::Notify(CDravoDonView* /*sender*/, int code, int /*arg*/)
{
    if (code == DON_OBJECT_CHANGED)
        NoteChange();
    else if (code == DON_OBJECT_SELECTED && tree_ && tree_->GetMissionOfSelection() != shown_)
        NoteChange();
}

void CChangesPanel::NoteChange()
{
    pacing_.NoteChange(Clock::now());
    if (isVisible())
        ArmTimer();
}

void CChangesPanel::ArmTimer()
{
    if (shownAnew_)
        return;
    const auto due = pacing_.NextRefresh();
    if (!due)
        return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
    timer_->start(std::max<int>(0, static_cast<int>(wait.count())));
}

// The tab shown takes the focus next, which sends a script window's text into its
// object: the comparison waits for it, but no longer than that.
void CChangesPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (refreshed_ && !pacing_.HasChanges())
        return;
    shownAnew_ = true;
    timer_->start(0);
}

void CChangesPanel::ShowIn(CSizingTabCtrlBar& bar)
{
    bar.show();
    for (int tab = 0; tab < bar.GetTabCount(); ++tab) {
        if (bar.ViewAt(tab) == this)
            bar.ShowTab(tab);
    }
    Refresh();
    list_->setFocus(Qt::OtherFocusReason);
}

void CChangesPanel::Refresh()
{
    timer_->stop();
    shownAnew_ = false;
    const Clock::time_point start = Clock::now();
    const ChangeRow* current = RowOf(list_->currentItem());
    const std::optional<ChangeRow> kept = current ? std::optional<ChangeRow>(*current) : std::nullopt;
    Compare(tree_ ? tree_->GetMissionOfSelection() : nullptr);
    Fill(kept);
    refreshed_ = true;
    const Clock::time_point end = Clock::now();
    pacing_.NoteRefreshed(end, end - start);
}

// A failure to read the game file is told in the summary line, not in a box: the
// comparison runs behind the user's edits.
void CChangesPanel::Compare(CMission* mission)
{
    shown_ = mission;
    compared_ = false;
    rows_.clear();
    if (!mission) {
        summary_->setText(QStringLiteral("Выберите миссию в дереве «%1»: здесь появится, что её сохранение изменит в "
                                         "файле игры scene2.bin.")
                              .arg(StringTableText(IDS_MISSIONS_TAB)));
        return;
    }
    if (!mission->IsLoaded()) {
        summary_->setText(QStringLiteral("Миссия «%1» не открыта: откройте её в дереве.").arg(MissionName(*mission)));
        return;
    }
    try {
        platform::SilentPresenter silent;
        const platform::ScopedThreadPresenter quiet(silent);
        rows_ = MakeChangeRows(changes_.Compare(*mission), *mission);
        compared_ = true;
        summary_->setText(QStringLiteral("Что сохранение миссии «%1» изменит в файле игры scene2.bin:")
                              .arg(MissionName(*mission)));
    } catch (const CVerdaxException& error) {
        summary_->setText(FailureText(*mission, error));
    }
}

QTreeWidgetItem* CChangesPanel::AddHeading(const QString& text, bool expanded)
{
    auto* heading = new QTreeWidgetItem(list_, {text});
    heading->setFlags(Qt::ItemIsEnabled);
    QFont font = list_->font();
    font.setBold(true);
    heading->setFont(0, font);
    heading->setFirstColumnSpanned(true);
    heading->setExpanded(expanded);
    return heading;
}

// The list is made anew; the row that was current (`kept`) stays current when its
// object is still listed, and a heading the user closed stays closed.
void CChangesPanel::Fill(const std::optional<ChangeRow>& kept)
{
    const bool editOpen = !editHeading_ || editHeading_->isExpanded();
    const bool saveOpen = !saveHeading_ || saveHeading_->isExpanded();
    const int scroll = list_->verticalScrollBar()->value();

    list_->setUpdatesEnabled(false);
    list_->clear();
    editHeading_ = saveHeading_ = nullptr;
    if (!compared_) {
        list_->setUpdatesEnabled(true);
        return;
    }
    const auto edits = static_cast<int>(std::count_if(rows_.begin(), rows_.end(),
                                                      [](const ChangeRow& row) { return row.group == ChangeRowGroup::kEdit; }));
    editHeading_ = AddHeading(QStringLiteral("Ваши правки (%1)").arg(edits), editOpen);
    saveHeading_ = AddHeading(QStringLiteral("Сохранение изменит само (%1)").arg(static_cast<int>(rows_.size()) - edits),
                              saveOpen);
    const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
    QTreeWidgetItem* restored = nullptr;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ChangeRow& row = rows_[i];
        const bool bySave = row.group == ChangeRowGroup::kSave;
        auto* item = new QTreeWidgetItem(bySave ? saveHeading_ : editHeading_,
                                         {Utf8(row.objectText), Utf8(row.changeText), Utf8(row.listText)});
        item->setData(0, kRowRole, static_cast<qulonglong>(i));
        item->setIcon(kObjectColumn, tree_->Icon(ListIcon(row)));
        const QString whole = Utf8(row.listText + " · " + row.objectText + ": " + row.changeText);
        for (int column = 0; column < 3; ++column)
            item->setToolTip(column, whole);
        if (bySave) {
            for (int column = 0; column < 3; ++column)
                item->setForeground(column, grey);
        }
        if (kept && !restored && kept->SameObject(row))
            restored = item;
    }
    if (restored)
        list_->setCurrentItem(restored);
    list_->verticalScrollBar()->setValue(scroll);
    list_->setUpdatesEnabled(true);
}

const ChangeRow* CChangesPanel::RowOf(const QTreeWidgetItem* item) const
{
    if (!item || !item->parent())
        return nullptr;
    const auto index = item->data(0, kRowRole).toULongLong();
    return index < rows_.size() ? &rows_[index] : nullptr;
}

// A row made before the last changes may name an object at an index that holds
// another now: the rows are made anew first, and the row that stays current is
// the one of the same object.
void CChangesPanel::ActivateItem(QTreeWidgetItem* item)
{
    if (!RowOf(item))
        return;
    if (pacing_.HasChanges()) {
        list_->setCurrentItem(item);
        Refresh();
        item = list_->currentItem();
    }
    const ChangeRow* row = RowOf(item);
    if (!row || !shown_)
        return;
    if (!row->list) {
        ShowStatus(QStringLiteral("Заголовок файла — не объект миссии: выбрать нечего."));
        return;
    }
    if (!row->index) {
        ShowStatus(QStringLiteral("«%1» удалён из миссии: выбрать нечего.").arg(Utf8(row->objectText)));
        return;
    }
    if (CSceneObject* object = ChangeRowObject(*row, *shown_))
        tree_->SelectObject(object);
}

// The main window shows status tips in its message pane; the tip travels up to it.
void CChangesPanel::ShowStatus(const QString& text)
{
    QStatusTipEvent tip(text);
    QApplication::sendEvent(this, &tip);
}

}  // namespace ui
