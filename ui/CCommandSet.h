#pragma once
// The commands of a window, by id: one action each, shared by the menus, the
// toolbar and the accelerators. An action's status bar prompt and tooltip come
// from the string table under its id (first line: prompt, second: tooltip; the
// menu text without its marks when there is none).

#include <QString>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QWidget;

namespace ui {

class CCommandSet {
public:
    // The actions belong to `window` (not owned), where their keys work whatever
    // has the focus inside it.
    explicit CCommandSet(QWidget* window) : window_(window) {}

    QAction* Add(int id, const QString& text);
    // A checked command that shows and hides the bar `bar` gives (null: none yet);
    // its check mark follows the bar (UpdateCheckMarks).
    QAction* AddBarToggle(int id, const QString& text, std::function<QWidget*()> bar);

    // The action of `id`; null for an unknown id.
    QAction* Action(int id) const;

    // The bar commands' check marks as their bars stand.
    void UpdateCheckMarks();

private:
    struct BarToggle {
        QAction* action;
        std::function<QWidget*()> bar;
    };

    QWidget* window_;
    std::map<int, QAction*> actions_;
    std::vector<BarToggle> toggles_;
};

}  // namespace ui
