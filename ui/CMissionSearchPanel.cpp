#include "ui/CMissionSearchPanel.h"

#include "game/CDravoDon.h"
#include "game/SearchResultText.h"
#include "platform/CodePage.h"
#include "ui/CSearchResultModel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <optional>

namespace ui {
namespace {

// A repaint of the panel costs a few milliseconds; twenty a second read as a list
// that fills continuously.
constexpr int kShowInterval = 50;

}  // namespace

CMissionSearchPanel::CMissionSearchPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("missionSearchPanel"));
    setAccessibleName(QStringLiteral("Найти во всех миссиях"));
    session_ = std::make_unique<CMissionSearchSession>([this] {
        if (!wakePosted_.exchange(true))
            QMetaObject::invokeMethod(this, [this] { OnWake(); }, Qt::QueuedConnection);
    });
    showTimer_ = new QTimer(this);
    showTimer_->setSingleShot(true);
    connect(showTimer_, &QTimer::timeout, this, [this] { TakeResults(); });
    model_ = new CSearchResultModel(*session_, this);
    missions_ = [] { return CMissionSearch::MissionsOf(CDravoDon::Instance().GetRoot()); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(CreateControls());
    status_ = new QLabel(this);
    status_->setAccessibleName(QStringLiteral("Итог поиска"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status_);
    CreateResultList();
    layout->addWidget(list_, 1);
    setFocusProxy(pattern_);
    ShowState();
}

// The list and its model read the session's rows: they go before the session.
CMissionSearchPanel::~CMissionSearchPanel()
{
    delete list_;
    delete model_;
}

QCheckBox* CMissionSearchPanel::AddBox(const QString& text, bool checked)
{
    auto* box = new QCheckBox(text, this);
    box->setChecked(checked);
    box->setAccessibleName(text);
    return box;
}

QLayout* CMissionSearchPanel::CreateControls()
{
    pattern_ = new QLineEdit(this);
    pattern_->setObjectName(QStringLiteral("searchPattern"));
    pattern_->setPlaceholderText(QStringLiteral("Что искать"));
    pattern_->setClearButtonEnabled(true);
    pattern_->setAccessibleName(QStringLiteral("Что искать"));
    pattern_->installEventFilter(this);
    connect(pattern_, &QLineEdit::returnPressed, this, [this] { StartSearch(); });
    find_ = new QPushButton(QStringLiteral("Найти"), this);
    find_->setAccessibleName(QStringLiteral("Найти"));
    connect(find_, &QPushButton::clicked, this, [this] { StartSearch(); });
    stop_ = new QPushButton(QStringLiteral("Остановить"), this);
    stop_->setAccessibleName(QStringLiteral("Остановить"));
    connect(stop_, &QPushButton::clicked, this, [this] { StopSearch(); });

    auto* top = new QHBoxLayout;
    top->addWidget(pattern_, 1);
    top->addWidget(find_);
    top->addWidget(stop_);

    auto* where = new QLabel(QStringLiteral("Искать в:"), this);
    fields_[static_cast<int>(SearchField::kName)] = AddBox(QStringLiteral("имена"), true);
    fields_[static_cast<int>(SearchField::kModel)] = AddBox(QStringLiteral("модели"), true);
    fields_[static_cast<int>(SearchField::kScript)] = AddBox(QStringLiteral("скрипты"), true);
    fields_[static_cast<int>(SearchField::kSector)] = AddBox(QStringLiteral("секторы"), true);
    regex_ = AddBox(QStringLiteral("регулярное выражение"), false);
    case_ = AddBox(QStringLiteral("учитывать регистр"), false);
    // Two rows, so that the bar stays narrow enough to stand under the document
    // area beside the object bar.
    auto* fields = new QHBoxLayout;
    fields->addWidget(where);
    for (SearchField field : {SearchField::kName, SearchField::kModel, SearchField::kScript, SearchField::kSector})
        fields->addWidget(FieldBox(field));
    fields->addStretch(1);
    auto* options = new QHBoxLayout;
    options->addWidget(regex_);
    options->addWidget(case_);
    options->addStretch(1);

    auto* controls = new QVBoxLayout;
    controls->setSpacing(2);
    controls->addLayout(top);
    controls->addLayout(fields);
    controls->addLayout(options);
    return controls;
}

void CMissionSearchPanel::CreateResultList()
{
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("searchResults"));
    list_->setAccessibleName(QStringLiteral("Результаты поиска"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);  // a long list lays out without measuring each row
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setModel(model_);
    list_->header()->setStretchLastSection(true);
    const int widths[CSearchResultModel::kText] = {120, 150, 60, 50};
    for (int column = 0; column < CSearchResultModel::kText; ++column)
        list_->setColumnWidth(column, widths[column]);
    list_->installEventFilter(this);
    connect(list_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) { OnActivated(index); });
}

QCheckBox* CMissionSearchPanel::FieldBox(SearchField field) const
{
    return fields_[static_cast<int>(field)];
}

void CMissionSearchPanel::FocusPattern()
{
    pattern_->setFocus(Qt::ShortcutFocusReason);
    pattern_->selectAll();
}

void CMissionSearchPanel::StartSearch()
{
    if (missionCommand_)
        missionCommand_([this] { Search(); });
    else
        Search();
}

void CMissionSearchPanel::Search()
{
    CMissionSearchSession::Request request;
    request.pattern = pattern_->text().toStdString();
    request.options.regex = regex_->isChecked();
    request.options.caseSensitive = case_->isChecked();
    request.fields = {FieldBox(SearchField::kName)->isChecked(), FieldBox(SearchField::kModel)->isChecked(),
                      FieldBox(SearchField::kSector)->isChecked(), FieldBox(SearchField::kScript)->isChecked()};
    if (pattern_->text().isEmpty()) {
        ShowProblem(QStringLiteral("Введите, что искать."));
        return;
    }
    if (!request.fields.Any()) {
        ShowProblem(QStringLiteral("Отметьте, где искать: имена, модели, скрипты или секторы."));
        return;
    }
    try {
        session_->Start(missions_(), request, platform::AnsiCodePage());
    } catch (const SearchPatternError& error) {
        // The engine's own words follow the first colon ("…does not compile: missing ) (at character 6)").
        QString detail = QString::fromUtf8(error.what());
        detail = detail.mid(detail.indexOf(QStringLiteral(": ")) + 2);
        ShowProblem(QStringLiteral("Регулярное выражение не годится: %1").arg(detail));
        return;
    }
    model_->Reset();
    lastShown_.invalidate();  // the first rows show at once
    TakeResults();            // the missions in memory have been searched already
}

void CMissionSearchPanel::StopSearch()
{
    session_->Stop();
    ShowState();
}

void CMissionSearchPanel::OnWake()
{
    wakePosted_ = false;
    if (showTimer_->isActive())
        return;
    const qint64 since = lastShown_.isValid() ? lastShown_.elapsed() : kShowInterval;
    if (since >= kShowInterval)
        TakeResults();
    else
        showTimer_->start(static_cast<int>(kShowInterval - since));
}

void CMissionSearchPanel::TakeResults()
{
    showTimer_->stop();
    if (session_->Poll() > 0)
        lastShown_.start();
    model_->ShowNewRows();
    ShowState();
}

void CMissionSearchPanel::ShowState()
{
    status_->setText(QString::fromStdString(SearchStatusText(session_->GetState(), session_->GetCounts())));
    stop_->setEnabled(session_->GetState() == CMissionSearchSession::State::kRunning);
}

// What was found before stays listed under the explanation.
void CMissionSearchPanel::ShowProblem(const QString& text)
{
    status_->setText(text);
}

void CMissionSearchPanel::OnActivated(const QModelIndex& index)
{
    const SearchResultRow* row = model_->RowAt(index);
    if (!row || !activate_)
        return;
    const std::string mission = session_->OutcomeOf(*row).mission;
    const SearchMatch* found = session_->MatchOf(*row);
    const std::optional<SearchMatch> match = found ? std::optional<SearchMatch>(*found) : std::nullopt;
    activate_(mission, match ? &*match : nullptr);
}

// Escape stops a search that runs, in the pattern or the list.
bool CMissionSearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        session_->GetState() == CMissionSearchSession::State::kRunning) {
        StopSearch();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ui
