#include "ui/CEditBar.h"

#include "ui/CNormalRollupControl.h"
#include "ui/CommandIds.h"

#include <QMainWindow>
#include <QVBoxLayout>

namespace ui {
namespace {

// The panel: room for the property roll-up at (4, 12)-(170, 510).
constexpr QSize kPanelSize(178, 520);
constexpr int kRollupWidth = 166;

}  // namespace

CEditBar::CEditBar(QMainWindow* frame)
    : QDockWidget(QStringLiteral("Edit Bar"), frame), panel_(new QWidget(this)), rollup_(new CNormalRollupControl(panel_))
{
    setObjectName(QStringLiteral("editBar%1").arg(ID_VIEW_EDIT_BAR));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
    panel_->setObjectName(QStringLiteral("editPanel%1").arg(IDD_EDIT_BAR));
    panel_->setMinimumSize(kPanelSize.width(), 0);
    panel_->setMaximumWidth(kPanelSize.width());
    // The roll-up takes the bar's height: 498 in a bar of the panel's own height,
    // less or more as the bar is sized.
    auto* layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(4, 12, kPanelSize.width() - 4 - kRollupWidth, 10);
    layout->addWidget(rollup_);
    setWidget(panel_);
}

}  // namespace ui
