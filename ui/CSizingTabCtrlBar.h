#pragma once
// A sizing bar that shows several views as tabs, one view at a time; the tabs sit
// at the bottom and tab i shows image i of the tab icon strip. The main window's
// object bar is one, and the view of its first tab is the mission tree.
//
// In the bar's client area of width W and height H (beside its sizing edge), with
// h = H - 14 when the bar is docked at the top or the bottom or floats and H - 18
// otherwise, the tab control stands at (7, 7) with size (W - 14, h) and every view
// at (9, 9) with size (W - 19, h - 26), over the tab control's display area.

#include "ui/CSizingControlBar.h"

#include <QPixmap>
#include <QString>

#include <vector>

class QTabWidget;

namespace ui {

// One tab: its view (owned by the bar as a child widget) and its title.
struct TCB_ITEM {
    static constexpr int kTitleCapacity = 32;  // characters, including the end mark
    QWidget* view = nullptr;
    QString title;
};

class CSizingTabCtrlBar : public CSizingControlBar {
public:
    CSizingTabCtrlBar(const QString& title, QMainWindow* frame, QSize defaultSize, int id);
    ~CSizingTabCtrlBar() override;

    // Appends a tab showing `view` (the bar takes it over). A title longer than the
    // tab's buffer is cut to 31 characters. The first view is shown and active;
    // later ones start disabled and hidden. False when there is no view.
    bool AddTabView(const QString& title, QWidget* view);

    // Makes tab `index` the active one: the previous view is disabled and hidden,
    // the new one enabled, shown and focused. -1, the active index and an index
    // outside the tabs are ignored.
    void ShowTab(int index);

    // The view of tab `index`; null for -1 or any index outside the tabs.
    QWidget* ViewAt(int index) const;

    int GetActiveTab() const { return activeTab_; }
    int GetTabCount() const { return static_cast<int>(items_.size()); }
    QTabWidget* TabControl() const { return tabs_; }

    // Places the tab control and the views in the client area, as above.
    void LayOutTabs();

private:
    QWidget* client_;
    QTabWidget* tabs_;
    QPixmap iconStrip_;
    std::vector<TCB_ITEM> items_;
    int activeTab_ = 0;
};

}  // namespace ui
