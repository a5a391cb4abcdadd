#include "ui/CRollupCtrl.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>
#include <qdrawutil.h>

#include <algorithm>

namespace ui {

namespace {

QRect ToQRect(const RollupRect& r)
{
    return {r.left, r.top, r.width, r.height};
}

// Exactly one of the two dragging buttons, and neither Shift nor Ctrl.
bool DragsPage(const QMouseEvent& event)
{
    const Qt::MouseButtons buttons = event.buttons();
    const bool oneButton = buttons == Qt::LeftButton || buttons == Qt::MiddleButton;
    return oneButton && !(event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
}

bool IsDragButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::MiddleButton;
}

}  // namespace

CRollupCtrl::CRollupCtrl(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("RollupCtrl"));
    setAccessibleName(QStringLiteral("RollupCtrl"));
    setAutoFillBackground(true);
    // A click gives the control the focus, so that the wheel reaches it.
    setFocusPolicy(Qt::ClickFocus);
}

CRollupCtrl::~CRollupCtrl() = default;

int CRollupCtrl::AddPage(const QString& title, std::unique_ptr<QWidget> page, int index)
{
    if (!page)
        return -1;
    if (!page->testAttribute(Qt::WA_Resized))
        page->resize(page->sizeHint());
    // The hand cursor is for the page's background only.
    for (QWidget* child : page->findChildren<QWidget*>())
        if (!child->testAttribute(Qt::WA_SetCursor))
            child->setCursor(Qt::ArrowCursor);

    RC_PAGEINFO info;
    info.frameBox = new QGroupBox(this);
    info.frameBox->setAccessibleName(title);
    info.frameBox->hide();
    info.titleButton = new QPushButton(title, this);
    info.titleButton->setFlat(true);
    info.titleButton->setCheckable(true);
    info.titleButton->setFocusPolicy(Qt::NoFocus);
    info.titleButton->setAccessibleName(title);
    info.titleButton->hide();
    info.page = page.release();
    info.page->setParent(this);
    info.page->setAccessibleName(title);
    info.page->hide();
    info.page->installEventFilter(this);
    info.frameBox->lower();

    QPushButton* button = info.titleButton;
    connect(button, &QPushButton::clicked, this, [this, button] {
        for (int i = 0; i < PageCount(); ++i)
            if (pages_[static_cast<std::size_t>(i)].titleButton == button)
                SetPageExpanded(i, !PageIsOpen(i));
    });

    if (index < 0 || index >= PageCount())
        index = PageCount();
    pages_.insert(pages_.begin() + index, info);
    Relayout();
    return index;
}

void CRollupCtrl::SetPageExpanded(int index, bool expanded)
{
    if (index < 0 || index >= PageCount())
        return;
    const bool opened = ChangeExpanded(pages_[static_cast<std::size_t>(index)], expanded) && expanded;
    Relayout();
    if (opened)
        ScrollPageIntoView(index, false);
}

void CRollupCtrl::SetAllExpanded(bool expanded)
{
    for (RC_PAGEINFO& info : pages_)
        ChangeExpanded(info, expanded);
    Relayout();
}

void CRollupCtrl::SetPageEnabled(int index, bool enabled)
{
    if (index < 0 || index >= PageCount())
        return;
    ChangeEnabled(pages_[static_cast<std::size_t>(index)], enabled);
    Relayout();
}

void CRollupCtrl::SetAllEnabled(bool enabled)
{
    for (RC_PAGEINFO& info : pages_)
        ChangeEnabled(info, enabled);
    Relayout();
}

bool CRollupCtrl::PageIsOpen(int index) const
{
    const RC_PAGEINFO* info = PageAt(index);
    return info && info->expanded;
}

const RC_PAGEINFO* CRollupCtrl::PageAt(int index) const
{
    if (index < 0 || index >= PageCount())
        return nullptr;
    return &pages_[static_cast<std::size_t>(index)];
}

bool CRollupCtrl::ChangeExpanded(RC_PAGEINFO& info, bool expanded)
{
    if (info.expanded == expanded || !info.enabled)
        return false;
    info.expanded = expanded;
    return true;
}

void CRollupCtrl::ChangeEnabled(RC_PAGEINFO& info, bool enabled)
{
    info.enabled = enabled;
    // Greyed with its page, so that the page's fields report their state too.
    info.page->setEnabled(enabled);
}

std::vector<RollupPageState> CRollupCtrl::PageStates() const
{
    std::vector<RollupPageState> states;
    states.reserve(pages_.size());
    for (const RC_PAGEINFO& info : pages_)
        states.push_back({info.page->height(), info.expanded, info.enabled});
    return states;
}

int CRollupCtrl::ContentHeight() const
{
    return CRollupLayout::ContentHeight(PageStates());
}

bool CRollupCtrl::Scrolls() const
{
    return CRollupLayout::Scrolls(ContentHeight(), height());
}

RollupThumb CRollupCtrl::Thumb() const
{
    return CRollupLayout::Thumb(ContentHeight(), height(), offset_);
}

void CRollupCtrl::ScrollPageIntoView(int index, bool toTop)
{
    if (index < 0 || index >= PageCount())
        return;
    const std::vector<RollupPageState> states = PageStates();
    const int titleTop = offset_ + CRollupLayout::TitleTop(states, index);
    const int pageTop = titleTop + CRollupLayout::kTitleHeight;
    const int pageBottom = pageTop + states[static_cast<std::size_t>(index)].height;
    if (toTop || pageBottom > height() || pageTop < 0) {
        offset_ -= titleTop;
        Relayout();
    }
}

void CRollupCtrl::Relayout()
{
    const std::vector<RollupPageState> states = PageStates();
    offset_ = CRollupLayout::ClampOffset(offset_, CRollupLayout::ContentHeight(states), height());
    const std::vector<RollupPlacement> places = CRollupLayout::Place(states, offset_, width());
    const bool scrolls = Scrolls();

    // One repaint for the whole stack, as a batch of window moves gives.
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const RC_PAGEINFO& info = pages_[i];
        const RollupPlacement& place = places[i];
        info.titleButton->setChecked(info.expanded && info.enabled);
        info.titleButton->setEnabled(info.enabled);
        info.frameBox->setGeometry(ToQRect(place.frame));
        info.frameBox->show();
        if (place.pageShown) {
            info.page->setGeometry(ToQRect(place.page));
            info.page->show();
        } else {
            info.page->hide();
        }
        info.titleButton->setGeometry(ToQRect(place.title));
        info.titleButton->show();
        if (scrolls)
            info.page->setCursor(Qt::OpenHandCursor);
        else
            info.page->unsetCursor();
    }
    setUpdatesEnabled(updates);
    update(StripRect());
}

QRect CRollupCtrl::StripRect() const
{
    return {width() - CRollupLayout::kStripWidth, 0, CRollupLayout::kStripWidth, height()};
}

void CRollupCtrl::ScrollTo(int offset)
{
    offset_ = offset;
    Relayout();
}

std::unique_ptr<QMenu> CRollupCtrl::CreateContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("Expand all"))->setData(kExpandAllCommand);
    menu->addAction(QStringLiteral("Collapse all"))->setData(kCollapseAllCommand);
    menu->addSeparator();
    for (int i = 0; i < PageCount(); ++i) {
        const RC_PAGEINFO& info = pages_[static_cast<std::size_t>(i)];
        QAction* item = menu->addAction(info.titleButton->text());
        item->setData(kFirstPageCommand + i);
        item->setCheckable(true);
        item->setChecked(info.expanded);
    }
    connect(menu.get(), &QMenu::triggered, this, [this](QAction* action) { OnCommand(action->data().toInt()); });
    return menu;
}

void CRollupCtrl::OnCommand(int command)
{
    if (command == kExpandAllCommand)
        SetAllExpanded(true);
    else if (command == kCollapseAllCommand)
        SetAllExpanded(false);
    else if (command >= kFirstPageCommand && command < kFirstPageCommand + PageCount())
        SetPageExpanded(command - kFirstPageCommand, !PageIsOpen(command - kFirstPageCommand));
}

void CRollupCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu().release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void CRollupCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    qDrawWinPanel(&painter, StripRect(), palette(), false);
    const RollupThumb thumb = Thumb();
    const int left = w - 4;
    const int columns = 3;  // w - 4 up to w - 1
    const int thumbTop = thumb.top + 2;
    const int thumbBottom = thumbTop + thumb.height;
    painter.fillRect(left, thumbTop, columns, thumb.height, QColor(150, 180, 180));
    painter.fillRect(left, 2, columns, thumbTop - 2, Qt::black);
    painter.fillRect(left, thumbBottom, columns, h - 2 - thumbBottom, Qt::black);
}

void CRollupCtrl::StripPressed(int y)
{
    thumbGrabOffset_ = CRollupLayout::GrabOffset(Thumb(), y);
    stripDragging_ = true;
    ScrollTo(CRollupLayout::OffsetForStripPoint(y, thumbGrabOffset_, ContentHeight(), height()));
}

void CRollupCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && Scrolls() && StripRect().contains(point)) {
        StripPressed(point.y());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CRollupCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (stripDragging_ && (event->buttons() & Qt::LeftButton) && Scrolls()) {
        const int y = event->position().toPoint().y();
        ScrollTo(CRollupLayout::OffsetForStripPoint(y, thumbGrabOffset_, ContentHeight(), height()));
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CRollupCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        stripDragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void CRollupCtrl::wheelEvent(QWheelEvent* event)
{
    ScrollTo(CRollupLayout::OffsetForWheel(offset_, event->angleDelta().y()));
    QWidget::wheelEvent(event);
}

void CRollupCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

int CRollupCtrl::IndexOfPage(const QObject* page) const
{
    const auto it = std::ranges::find(pages_, page, &RC_PAGEINFO::page);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

bool CRollupCtrl::eventFilter(QObject* watched, QEvent* event)
{
    auto* page = qobject_cast<QWidget*>(watched);
    if (page && IndexOfPage(page) >= 0 && PageMouseEvent(page, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

// A drag on a page's background; events from the page's own controls that they
// leave unhandled reach the page too and drag it the same way.
bool CRollupCtrl::PageMouseEvent(QWidget* page, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!IsDragButton(mouse->button()) || !Scrolls())
            return false;
        lastMouseY_ = static_cast<int>(mouse->globalPosition().y());
        draggedPage_ = page;
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (draggedPage_ != page || !DragsPage(*mouse) || !Scrolls())
            return false;
        const int y = static_cast<int>(mouse->globalPosition().y());
        ScrollTo(offset_ + (y - lastMouseY_));
        lastMouseY_ = y;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (draggedPage_ != page || !IsDragButton(mouse->button()))
            return false;
        draggedPage_ = nullptr;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace ui
