#pragma once
// The main window's document area: the child windows (the world window, script
// windows, info windows) inside a multiple-document area, each remembering the kind
// of view it was opened for, and the Window menu's arrangements of them.

#include <QMdiArea>

namespace ui {

class CDocumentArea : public QMdiArea {
public:
    explicit CDocumentArea(QWidget* parent = nullptr);

    // A new child window showing `view`, or `view` itself when it is a child window
    // (a QMdiSubWindow), opened for a view of `kind` (a DON_VIEW_*; 0 for none). It
    // is shown at once and deleted when closed.
    QMdiSubWindow* AddChildWindow(QWidget* view, int kind = 0);

    // The child window opened for a view of `kind`; null when none is open.
    QMdiSubWindow* ChildOfKind(int kind) const;

    // "&Каскадом" and "&Растянуть".
    void CascadeWindows();
    void TileWindows();
    // "&Сортировать": lines the minimised child windows up along the bottom of the
    // area, left to right, starting a new row above when one is full.
    void ArrangeIcons();
};

}  // namespace ui
