#include "ui/RemovedObjectWindow.h"

#include "game/CDravoDonView.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

#include <QMdiSubWindow>

namespace ui {
namespace {

bool Shows(const CVerdaxData* shown, const CVerdaxData* removed)
{
    if (!shown || !removed)
        return false;
    if (shown == removed)
        return true;
    const auto* thing = dynamic_cast<const CSceneObjectThing*>(shown);
    return thing && thing->GetLinkedData() == removed;
}

}  // namespace

bool CloseWindowOfRemoved(CDravoDonView& view, QWidget& pane, const CVerdaxData* removed)
{
    if (!Shows(view.GetObject(), removed))
        return false;
    view.SetObject(nullptr);
    // With no object the window has nothing to keep and closes without a question.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(pane.parentWidget())) {
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->close();
    }
    return true;
}

}  // namespace ui
