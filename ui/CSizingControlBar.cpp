#include "ui/CSizingControlBar.h"

#include <QBoxLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include <algorithm>

namespace ui {

// The band on the bar's inner side: shows the sizing cursor, paints as a raised
// 3-D rectangle and hands the drag to its bar.
class CSizingEdge final : public QWidget {
public:
    explicit CSizingEdge(CSizingControlBar* bar) : QWidget(bar), bar_(bar) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            bar_->BeginTracking(event->globalPosition().toPoint());
    }

    void mouseMoveEvent(QMouseEvent* event) override { bar_->MoveTracker(event->globalPosition().toPoint()); }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            bar_->EndTracking(true);
    }

    // Another window taking the mouse ends the drag without applying it.
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Hide)
            bar_->EndTracking(false);
        return QWidget::event(event);
    }

private:
    CSizingControlBar* bar_;
};

// The widget inside the dock: the docking layout sizes the bar from its hints, so
// they carry the bar's sizes for its current side.
class CBarContainer final : public QWidget {
public:
    explicit CBarContainer(CSizingControlBar* bar) : QWidget(bar), bar_(bar) {}
    QSize sizeHint() const override { return bar_->ContentSizeHint(); }
    QSize minimumSizeHint() const override { return bar_->ContentMinimumSize(); }

private:
    CSizingControlBar* bar_;
};

// A slim gripper in place of the dock's title: dragging it moves the bar, a double
// click docks or floats it (the dock handles the events this widget leaves alone).
class CBarGripper final : public QWidget {
public:
    explicit CBarGripper(CSizingControlBar* bar) : QWidget(bar), bar_(bar) { setToolTip(bar->windowTitle()); }

    QSize sizeHint() const override
    {
        if (bar_->isFloating())
            return QSize(fontMetrics().horizontalAdvance(bar_->windowTitle()) + 8, fontMetrics().height() + 4);
        return QSize(kGripperThickness, kGripperThickness);
    }
    QSize minimumSizeHint() const override { return QSize(kGripperThickness, kGripperThickness); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (bar_->isFloating()) {
            p.fillRect(rect(), palette().color(QPalette::Highlight));
            p.setPen(palette().color(QPalette::HighlightedText));
            p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, bar_->windowTitle());
            return;
        }
        // Two raised lines along the top, as a bar's gripper has always looked.
        for (int y : {2, 5}) {
            p.setPen(palette().color(QPalette::Light));
            p.drawLine(2, y, width() - 3, y);
            p.setPen(palette().color(QPalette::Dark));
            p.drawLine(2, y + 1, width() - 3, y + 1);
        }
    }

private:
    static constexpr int kGripperThickness = 9;
    CSizingControlBar* bar_;
};

CSizingControlBar::CSizingControlBar(const QString& title, QMainWindow* frame, QSize defaultSize, int id)
    : QDockWidget(title, frame),
      frame_(frame),
      id_(id),
      defaultSize_(defaultSize),
      horizontalSize_(defaultSize),
      verticalSize_(defaultSize),
      floatingSize_(defaultSize)
{
    setObjectName(QStringLiteral("bar%1").arg(id));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(DockWidgetMovable | DockWidgetFloatable);

    setTitleBarWidget(new CBarGripper(this));
    container_ = new CBarContainer(this);
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, container_);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    // The bar may be narrower than its content wants: the content is then cut.
    layout_->setSizeConstraint(QLayout::SetNoConstraint);
    edge_ = new CSizingEdge(this);
    setWidget(container_);

    connect(this, &QDockWidget::dockLocationChanged, this, [this] { UpdateDockSide(); });
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        UpdateDockSide();
        titleBarWidget()->updateGeometry();
        container_->updateGeometry();
        if (floating)
            resize(floatingSize_);
    });
    UpdateDockSide();
}

CSizingControlBar::~CSizingControlBar() = default;

void CSizingControlBar::RestoreSizes(QSize horizontal, QSize vertical, QSize floating)
{
    const auto held = [](QSize size) {
        return QSize(std::clamp(size.width(), kMinimumSize, kMaximumSize),
                     std::clamp(size.height(), kMinimumSize, kMaximumSize));
    };
    horizontalSize_ = held(horizontal);
    verticalSize_ = held(vertical);
    floatingSize_ = held(floating);
    container_->updateGeometry();
}

void CSizingControlBar::ResetSizes()
{
    RestoreSizes(defaultSize_, defaultSize_, defaultSize_);
}

QWidget* CSizingControlBar::SizingEdge() const
{
    return edge_;
}

void CSizingControlBar::SetContent(QWidget* content)
{
    content_ = content;
    PlaceEdge();
}

void CSizingControlBar::UpdateDockSide()
{
    if (isFloating() || !frame_) {
        side_ = DockSide::Floating;
    } else {
        switch (frame_->dockWidgetArea(this)) {
        case Qt::TopDockWidgetArea: side_ = DockSide::Top; break;
        case Qt::BottomDockWidgetArea: side_ = DockSide::Bottom; break;
        case Qt::RightDockWidgetArea: side_ = DockSide::Right; break;
        case Qt::LeftDockWidgetArea: side_ = DockSide::Left; break;
        default: side_ = DockSide::Floating; break;
        }
    }
    PlaceEdge();
}

// The edge goes on the side facing the middle of the frame: after the content for
// a left or top bar, before it for a right or bottom bar.
void CSizingControlBar::PlaceEdge()
{
    while (QLayoutItem* item = layout_->takeAt(0))
        delete item;  // the widgets stay; only their places go

    const bool vertical = IsVertical();
    layout_->setDirection(vertical ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    edge_->setMinimumSize(0, 0);
    edge_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (vertical)
        edge_->setFixedWidth(kEdgeWidth);
    else
        edge_->setFixedHeight(kEdgeWidth);
    edge_->setCursor(vertical ? Qt::SizeHorCursor : Qt::SizeVerCursor);

    const bool edgeFirst = side_ == DockSide::Right || side_ == DockSide::Bottom;
    if (edgeFirst)
        layout_->addWidget(edge_);
    if (content_)
        layout_->addWidget(content_, 1);
    else
        layout_->addStretch(1);
    if (!edgeFirst)
        layout_->addWidget(edge_);
    edge_->setVisible(side_ != DockSide::Floating);
    container_->updateGeometry();
}

int CSizingControlBar::TitleThickness() const
{
    return titleBarWidget() ? titleBarWidget()->sizeHint().height() : 0;
}

// The bar's sizes are those of the whole bar; its content gets them less the gripper.
QSize CSizingControlBar::ContentSizeHint() const
{
    const QSize inner = content_ ? content_->sizeHint() : QSize(kMinimumSize, kMinimumSize);
    const int title = TitleThickness();
    switch (side_) {
    case DockSide::Left:
    case DockSide::Right: return QSize(verticalSize_.width(), inner.height());
    case DockSide::Top:
    case DockSide::Bottom: return QSize(inner.width(), std::max(horizontalSize_.height() - title, 0));
    case DockSide::Floating: break;
    }
    return QSize(floatingSize_.width(), std::max(floatingSize_.height() - title, 0));
}

QSize CSizingControlBar::ContentMinimumSize() const
{
    return QSize(kMinimumSize, std::max(kMinimumSize - TitleThickness(), 0));
}

int CSizingControlBar::CurrentExtent() const
{
    return IsVertical() ? width() : height();
}

int CSizingControlBar::FrameClientExtent() const
{
    if (!frame_)
        return 0;
    return IsVertical() ? frame_->rect().width() : frame_->rect().height();
}

int CSizingControlBar::ApplyEdgeDrag(int movement)
{
    const int current = CurrentExtent();
    const int limit = current + FrameClientExtent();
    const int size = std::clamp(current + movement, kMinimumSize, std::max(limit, kMinimumSize));
    if (IsVertical())
        verticalSize_.setWidth(size);
    else
        horizontalSize_.setHeight(size);
    if (frame_ && side_ != DockSide::Floating)
        frame_->resizeDocks({this}, {size}, IsVertical() ? Qt::Horizontal : Qt::Vertical);
    return size;
}

int CSizingControlBar::MovementTowardsMiddle(QPoint delta) const
{
    switch (side_) {
    case DockSide::Top: return delta.y();
    case DockSide::Bottom: return -delta.y();
    case DockSide::Left: return delta.x();
    case DockSide::Right: return -delta.x();
    case DockSide::Floating: break;
    }
    return 0;
}

void CSizingControlBar::BeginTracking(QPoint globalPos)
{
    if (tracking_ || side_ == DockSide::Floating || !frame_)
        return;
    tracking_ = true;
    dragStart_ = globalPos;
    trackerStart_ = QRect(frame_->mapFromGlobal(edge_->mapToGlobal(QPoint(0, 0))), edge_->size());
    if (!tracker_)
        tracker_ = new QRubberBand(QRubberBand::Line, frame_);
    tracker_->setGeometry(trackerStart_);
    tracker_->show();
    tracker_->raise();
}

// The tracker follows the mouse along the bar's resizing axis only.
void CSizingControlBar::MoveTracker(QPoint globalPos)
{
    if (!tracking_)
        return;
    const QPoint delta = globalPos - dragStart_;
    tracker_->setGeometry(trackerStart_.translated(IsVertical() ? QPoint(delta.x(), 0) : QPoint(0, delta.y())));
}

void CSizingControlBar::EndTracking(bool apply)
{
    if (!tracking_)
        return;
    tracking_ = false;
    tracker_->hide();
    if (apply)
        ApplyEdgeDrag(MovementTowardsMiddle(tracker_->geometry().center() - trackerStart_.center()));
}

}  // namespace ui
