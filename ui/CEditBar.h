#pragma once
// The edit bar: a docking bar on the right (or the left) of the main window whose
// panel holds the property roll-up at (4, 12), 166 pixels wide, taking the bar's
// height. It can be moved, floated and closed; "Вид → Edit Bar" brings it back.

#include <QDockWidget>

class QMainWindow;

namespace ui {

class CNormalRollupControl;

class CEditBar : public QDockWidget {
public:
    explicit CEditBar(QMainWindow* frame);

    // The panel the roll-up stands in (dialog template 135).
    QWidget* Panel() const { return panel_; }
    CNormalRollupControl* Rollup() const { return rollup_; }

private:
    QWidget* panel_;
    CNormalRollupControl* rollup_;
};

}  // namespace ui
