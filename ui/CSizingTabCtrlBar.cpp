#include "ui/CSizingTabCtrlBar.h"

#include "ui/CommandIds.h"
#include "ui/IconStrips.h"

#include <QApplication>
#include <QTabWidget>

#include <algorithm>

namespace ui {
namespace {

constexpr int kTabMargin = 7;
constexpr int kViewMargin = 9;

// The bar's client area: it lays out the tab control and the views whenever its
// size changes, and asks for the tab control's size and the margins around it.
class CTabClient final : public QWidget {
public:
    explicit CTabClient(CSizingTabCtrlBar* bar) : QWidget(bar), bar_(bar) {}

    QSize sizeHint() const override
    {
        const QSize tabs = bar_->TabControl() ? bar_->TabControl()->sizeHint() : QSize();
        return tabs + QSize(2 * kTabMargin, 2 * kTabMargin + 4);
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        bar_->LayOutTabs();
    }

private:
    CSizingTabCtrlBar* bar_;
};

}  // namespace

CSizingTabCtrlBar::CSizingTabCtrlBar(const QString& title, QMainWindow* frame, QSize defaultSize, int id)
    : CSizingControlBar(title, frame, defaultSize, id), client_(new CTabClient(this)), tabs_(new QTabWidget(client_)),
      iconStrip_(TabIconStrip())
{
    tabs_->setObjectName(QStringLiteral("tabs%1").arg(ID_TAB_CONTROL));
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setDocumentMode(false);
    tabs_->setFont(QApplication::font());
    tabs_->setIconSize(QSize(kIconSize, kIconSize));
    SetContent(client_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { ShowTab(index); });
    // The usable height depends on the side the bar is docked to.
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { LayOutTabs(); });
    connect(this, &QDockWidget::topLevelChanged, this, [this] { LayOutTabs(); });
}

void CSizingTabCtrlBar::LayOutTabs()
{
    const QSize client = client_->size();
    const DockSide side = GetDockSide();
    const bool across = side == DockSide::Top || side == DockSide::Bottom || side == DockSide::Floating;
    const int height = client.height() - (across ? 14 : 18);
    tabs_->setGeometry(kTabMargin, kTabMargin, std::max(client.width() - 2 * kTabMargin, 0), std::max(height, 0));
    const QRect view(kViewMargin, kViewMargin, std::max(client.width() - 19, 0), std::max(height - 26, 0));
    for (const TCB_ITEM& item : items_) {
        item.view->setGeometry(view);
        item.view->raise();
    }
}

// Removing the tabs as the bar's children go would report selections to a bar
// that no longer is one.
CSizingTabCtrlBar::~CSizingTabCtrlBar()
{
    disconnect(tabs_, nullptr, this, nullptr);
}

bool CSizingTabCtrlBar::AddTabView(const QString& title, QWidget* view)
{
    if (!view)
        return false;
    TCB_ITEM item{view, title.left(TCB_ITEM::kTitleCapacity - 1)};
    items_.push_back(item);

    const bool first = items_.size() == 1;
    view->setParent(client_);
    if (!first)
        view->setEnabled(false);
    // The tab's own page stays empty: the view stands over it. Adding the first tab
    // makes the tab control report index 0, which is already active.
    const int index = tabs_->addTab(new QWidget, IconFromStrip(iconStrip_, GetTabCount() - 1), item.title);
    view->setVisible(first);
    LayOutTabs();
    return index >= 0;
}

void CSizingTabCtrlBar::ShowTab(int index)
{
    if (index == -1 || index == activeTab_ || index < 0 || index >= GetTabCount())
        return;
    if (QWidget* previous = ViewAt(activeTab_)) {
        previous->setEnabled(false);
        previous->hide();
    }
    activeTab_ = index;
    tabs_->setCurrentIndex(index);
    QWidget* view = items_[static_cast<std::size_t>(index)].view;
    view->setEnabled(true);
    view->show();
    view->setFocus(Qt::OtherFocusReason);
}

QWidget* CSizingTabCtrlBar::ViewAt(int index) const
{
    if (index < 0 || index >= GetTabCount())
        return nullptr;
    return items_[static_cast<std::size_t>(index)].view;
}

}  // namespace ui
