#include "ui/CSearchResultModel.h"

#include "game/CMissionSearchSession.h"
#include "game/SearchResultText.h"
#include "ui/CodePageText.h"

#include <QBrush>
#include <QColor>

namespace ui {

CSearchResultModel::CSearchResultModel(const CMissionSearchSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session)
{
}

void CSearchResultModel::ShowNewRows()
{
    const int rows = static_cast<int>(session_.Rows().size());
    if (rows <= shown_)
        return;
    beginInsertRows({}, shown_, rows - 1);
    shown_ = rows;
    endInsertRows();
}

void CSearchResultModel::Reset()
{
    beginResetModel();
    shown_ = 0;
    endResetModel();
}

const SearchResultRow* CSearchResultModel::RowAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= shown_ || static_cast<std::size_t>(index.row()) >= session_.Rows().size())
        return nullptr;
    return &session_.Rows()[static_cast<std::size_t>(index.row())];
}

int CSearchResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown_;
}

int CSearchResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QString CSearchResultModel::Text(const SearchResultRow& row, int column) const
{
    const MissionSearchOutcome& outcome = session_.OutcomeOf(row);
    const SearchMatch* match = session_.MatchOf(row);
    switch (column) {
    case kMission:
        return TextFromCodePage(outcome.mission);
    case kObject:
        return match ? TextFromCodePage(match->object) : QString();
    case kField:
        return match ? QString::fromUtf8(SearchFieldLabel(match->field)) : QString();
    case kLine:
        return match && match->line ? QString::number(match->line) : QString();
    case kText:
        if (match)
            return TextFromCodePage(match->text);
        return QStringLiteral("Файл объектов не прочитан: ошибка %1").arg(outcome.errorCode) +
               (outcome.errorText.empty() ? QString() : QStringLiteral(" (%1)").arg(TextFromCodePage(outcome.errorText)));
    default:
        return {};
    }
}

QVariant CSearchResultModel::data(const QModelIndex& index, int role) const
{
    const SearchResultRow* row = RowAt(index);
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return Text(*row, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == kLine ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ForegroundRole:
        return session_.MatchOf(*row) ? QVariant() : QVariant(QBrush(QColor(0xA0, 0, 0)));
    default:
        return {};
    }
}

QVariant CSearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[kColumnCount] = {"Миссия", "Объект", "Поле", "Строка", "Текст"};
    return section >= 0 && section < kColumnCount ? QString::fromUtf8(kTitles[section]) : QVariant();
}

}  // namespace ui
