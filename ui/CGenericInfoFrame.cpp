#include "ui/CGenericInfoFrame.h"

#include "core/StringTable.h"
#include "ui/CGenericInfoFormView.h"
#include "ui/ChildWindowPlacement.h"
#include "ui/IconStrips.h"
#include "ui/StringTableText.h"

#include <QLayout>

namespace ui {

CGenericInfoFrame::CGenericInfoFrame(CVerdaxData* object, QWidget* parent)
    : QMdiSubWindow(parent), view_(new CGenericInfoFormView)
{
    setObjectName(QStringLiteral("infoFrame"));
    setWindowTitle(StringTableText(IDS_INFO_TITLE));
    setWindowIcon(IconFromStrip(ItemIconStrip(), ICON_THING));
    setWidget(view_);
    view_->SetObject(object);
    view_->ShowObject();
}

// The caption and edges are known once the frame is shown in its area. A form
// larger than the area keeps its size, its top-left corner inside.
void CGenericInfoFrame::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    if (fitted_)
        return;
    fitted_ = true;
    const int border = 2 * view_->frameWidth();
    const QSize pane = view_->FormSize() + QSize(border, border);
    if (layout())
        layout()->activate();
    resize(pane + (size() - view_->size()));
    KeepInsideArea(*this, false);
}

}  // namespace ui
