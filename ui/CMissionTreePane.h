#pragma once
// The object bar's first tab: the mission tree under a filter field. Typing in the
// field shows only the items whose text holds what was typed, ignoring letter case
// as the game's code page has it, with the ancestors of every match shown and
// opened; the missions and the category nodes show only as such ancestors, or a
// mission when its own name matches. Emptying the field (Escape does it, in the
// field or the tree) gives the tree back as it was before: every item shown and
// opened or closed as it was, and an item chosen meanwhile scrolled into view.
// Ctrl+F in the tree goes to the field.
//
// A branch built while a filter is set (a mission opened) is filtered as well.

#include <QHash>
#include <QWidget>

#include <string>

class QLineEdit;
class QTimer;
class QTreeWidgetItem;

namespace ui {

class CItemTreeView;

class CMissionTreePane final : public QWidget {
public:
    explicit CMissionTreePane(QWidget* parent = nullptr);
    ~CMissionTreePane() override;

    CItemTreeView* Tree() const { return tree_; }
    QLineEdit* FilterField() const { return field_; }

    // The same as typing `text` into the field.
    void SetFilter(const QString& text);

    // `text` with its letters folded to one case, as the filter compares them.
    static std::u32string Folded(const QString& text);

protected:
    // Escape in the field or the tree clears a set filter.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyFilter();
    bool FilterBranch(QTreeWidgetItem* item, const std::u32string& needle);
    void SaveExpansion();
    void RestoreTree();

    CItemTreeView* tree_;
    QLineEdit* field_;
    QTimer* refilter_;  // runs once after new items arrive under a set filter
    // Each item with children and whether it was open, from before the filter was set.
    QHash<QTreeWidgetItem*, bool> savedExpansion_;
    QTreeWidgetItem* savedCurrent_ = nullptr;  // compared only, never followed
    bool filtered_ = false;
};

}  // namespace ui
