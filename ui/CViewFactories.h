#pragma once
// How the main window makes the view of a child window, one factory per view kind
// (DON_VIEW_*): the world, script and info windows each have theirs. A factory may
// make the child window itself (a QMdiSubWindow), whose widget is then the view.

#include <QWidget>

#include <functional>
#include <map>

class CVerdaxData;

namespace ui {

class CViewFactories {
public:
    // Makes the view, or the child window, for `object`; null when it cannot.
    using Factory = std::function<QWidget*(CVerdaxData* object)>;

    void Set(int kind, Factory factory);

    // What the factory of `kind` makes for `object`; null for a kind without one or
    // when the factory fails.
    QWidget* Make(int kind, CVerdaxData* object) const;

private:
    std::map<int, Factory> factories_;
};

}  // namespace ui
