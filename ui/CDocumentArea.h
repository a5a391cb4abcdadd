#pragma once
// The main window's document area: the child windows (the world window, script
// windows, info windows) inside a multiple-document area, each remembering the kind
// of view it was opened for, and the Window menu's arrangements and list of them.
// A child window opens inside the area and no larger than it; what its view does
// not show then scrolls.

#include <QList>
#include <QMdiArea>
#include <QPointer>

class QAction;
class QMenu;

namespace ui {

class CDocumentArea : public QMdiArea {
public:
    explicit CDocumentArea(QWidget* parent = nullptr);

    // A new child window showing `view`, or `view` itself when it is a child window
    // (a QMdiSubWindow), opened for a view of `kind` (a DON_VIEW_*; 0 for none). It
    // is shown at once, inside the area and no larger than it, and deleted when
    // closed.
    QMdiSubWindow* AddChildWindow(QWidget* view, int kind = 0);

    // The child window opened for a view of `kind`; null when none is open.
    QMdiSubWindow* ChildOfKind(int kind) const;

    // "&Каскадом".
    void CascadeWindows();
    // "&Растянуть": the child windows that are not minimised side by side, each the
    // area's height and an equal share of its width, in the order they were opened.
    void TileWindows();
    // "&Сортировать": lines the minimised child windows up along the bottom of the
    // area, left to right, starting a new row above when one is full.
    void ArrangeIcons();

    // The Window menu's list of the child windows, after the menu's own commands:
    // "&1 title" and on for each in the order they were opened, the active one
    // checked; choosing one activates it (and shows it again when minimised). The
    // list is made anew each time `menu` is about to show.
    void ListWindowsIn(QMenu* menu);

private:
    void FillWindowList(QMenu* menu);

    QList<QPointer<QAction>> listed_;  // the list's items in the menu, its separator first
};

}  // namespace ui
