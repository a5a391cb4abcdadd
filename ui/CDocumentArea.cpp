#include "ui/CDocumentArea.h"

#include "ui/ChildWindowPlacement.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include <algorithm>
#include <utility>

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
    KeepInsideArea(*child, true);
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
    QList<QMdiSubWindow*> tiled;
    for (QMdiSubWindow* child : subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized() && !child->isHidden())
            tiled << child;
    }
    if (tiled.isEmpty())
        return;
    const QRect area = viewport()->rect();
    const int count = static_cast<int>(tiled.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* child = tiled[i];
        if (child->isMaximized())
            child->showNormal();
        const int left = area.left() + area.width() * i / count;
        const int right = area.left() + area.width() * (i + 1) / count;
        child->setGeometry(left, area.top(), right - left, area.height());
    }
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

void CDocumentArea::ListWindowsIn(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
}

void CDocumentArea::FillWindowList(QMenu* menu)
{
    for (const QPointer<QAction>& item : std::exchange(listed_, {}))
        delete item.data();
    const QList<QMdiSubWindow*> children = subWindowList(QMdiArea::CreationOrder);
    if (children.isEmpty())
        return;
    listed_ << menu->addSeparator();
    for (int i = 0; i < children.size(); ++i) {
        QMdiSubWindow* child = children[i];
        // The number is the item's mnemonic; a title's own '&' shows as it is.
        QString title = child->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
        QAction* item = menu->addAction(number + title);
        item->setCheckable(true);
        item->setChecked(child == activeSubWindow());
        connect(item, &QAction::triggered, this, [this, child = QPointer<QMdiSubWindow>(child)] {
            if (!child)
                return;
            if (child->isMinimized())
                child->showNormal();
            setActiveSubWindow(child);
        });
        listed_ << item;
    }
}

}  // namespace ui
