#include "ui/CDocumentArea.h"

#include <QMdiSubWindow>

#include <algorithm>

namespace ui {
namespace {

// The property of a child window that holds the kind of view it was opened for.
constexpr char kViewKindProperty[] = "verdaxViewKind";

}  // namespace

CDocumentArea::CDocumentArea(QWidget* parent) : QMdiArea(parent)
{
    setObjectName(QStringLiteral("mdiArea"));
}

QMdiSubWindow* CDocumentArea::AddChildWindow(QWidget* view, int kind)
{
    QMdiSubWindow* child = addSubWindow(view);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setProperty(kViewKindProperty, kind);
    child->show();
    return child;
}

QMdiSubWindow* CDocumentArea::ChildOfKind(int kind) const
{
    for (QMdiSubWindow* child : subWindowList()) {
        if (child->property(kViewKindProperty).toInt() == kind)
            return child;
    }
    return nullptr;
}

void CDocumentArea::CascadeWindows()
{
    cascadeSubWindows();
}

void CDocumentArea::TileWindows()
{
    tileSubWindows();
}

void CDocumentArea::ArrangeIcons()
{
    const QRect area = viewport()->rect();
    int x = area.left();
    int rowBottom = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* child : subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized())
            continue;
        const QSize size = child->size();
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            rowBottom -= rowHeight;
            rowHeight = 0;
        }
        child->move(x, rowBottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

}  // namespace ui
