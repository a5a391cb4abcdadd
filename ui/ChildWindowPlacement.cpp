#include "ui/ChildWindowPlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace ui {

void KeepInsideArea(QMdiSubWindow& child, bool shrink)
{
    const QMdiArea* area = child.mdiArea();
    if (!area)
        return;
    const QSize room = area->viewport()->size();
    if (shrink)
        child.resize(child.size().boundedTo(room));
    const int x = std::clamp(child.x(), 0, std::max(0, room.width() - child.width()));
    const int y = std::clamp(child.y(), 0, std::max(0, room.height() - child.height()));
    child.move(x, y);
}

}  // namespace ui
