#pragma once
// The result list of the search across every mission, over the rows a
// CMissionSearchSession gathers: one row per match (mission, object, field, script
// line, text) and one per mission whose objects could not be read, saying why.
// Texts are converted from the game's code page as they are shown.
//
// The session's rows may grow or be cleared at any time; the list learns of it only
// through ShowNewRows and Reset, and never reads a row it has not been told of.

#include <QAbstractTableModel>

class CMissionSearchSession;
struct SearchResultRow;

namespace ui {

class CSearchResultModel final : public QAbstractTableModel {
public:
    enum Column { kMission, kObject, kField, kLine, kText, kColumnCount };

    explicit CSearchResultModel(const CMissionSearchSession& session, QObject* parent = nullptr);

    // The rows the session holds beyond those shown so far.
    void ShowNewRows();
    // No rows, as after the session's Start.
    void Reset();

    // The session's row behind `index`; null outside the rows shown.
    const SearchResultRow* RowAt(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString Text(const SearchResultRow& row, int column) const;

    const CMissionSearchSession& session_;
    int shown_ = 0;
};

}  // namespace ui
