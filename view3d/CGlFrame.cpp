#include "view3d/CGlFrame.h"

#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "view3d/CGlView.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

QString WorldTitle()
{
    const std::string_view text = LoadString(IDS_WORLD_TITLE);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QIcon WorldWindowIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 110, 200));
    painter.setPen(QPen(QColor(20, 50, 110), 1.0));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.setPen(QPen(QColor(120, 200, 90), 1.0));
    painter.drawLine(QPointF(2, 8), QPointF(14, 8));
    painter.drawEllipse(QRectF(5.5, 1.5, 5, 13));
    painter.end();
    return QIcon(pixmap);
}

CGlFrame::CGlFrame(QWidget* parent) : QMdiSubWindow(parent), view_(new CGlView)
{
    setObjectName(QStringLiteral("worldFrame"));
    setWidget(view_);
    setWindowIcon(WorldWindowIcon());
    setWindowTitle(WorldTitle());
    setAccessibleName(WorldTitle());
    view_->SetPainted([this] { UpdateTitle(); });
}

QString CGlFrame::Title() const
{
    if (const auto* mission = dynamic_cast<const CMission*>(view_->GetObject())) {
        const bool modified = CDravoDon::Instance().IsMissionModified(*mission);
        return QString::fromStdString(platform::ToUtf8(mission->GetName())) + (modified ? QStringLiteral(" *") : QString());
    }
    return WorldTitle();
}

void CGlFrame::UpdateTitle()
{
    const QString title = Title();
    if (title == windowTitle())
        return;
    setWindowTitle(title);
    setAccessibleName(title);
}

void CGlFrame::focusInEvent(QFocusEvent* event)
{
    QMdiSubWindow::focusInEvent(event);
    view_->setFocus(Qt::OtherFocusReason);
}

void CGlFrame::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    if (shown_ || !parentWidget())
        return;
    shown_ = true;
    resize(parentWidget()->size());
    move(0, 0);
}
