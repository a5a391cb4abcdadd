#include "ui/CSizingTabCtrlBar.h"

#include "ui/CommandIds.h"
#include "ui/IconStrips.h"

#include <QApplication>
#include <QTabWidget>

namespace ui {

CSizingTabCtrlBar::CSizingTabCtrlBar(const QString& title, QMainWindow* frame, QSize defaultSize, int id)
    : CSizingControlBar(title, frame, defaultSize, id), tabs_(new QTabWidget(this)), iconStrip_(TabIconStrip())
{
    tabs_->setObjectName(QStringLiteral("tabs%1").arg(ID_TAB_CONTROL));
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setDocumentMode(false);
    tabs_->setFont(QApplication::font());
    tabs_->setIconSize(QSize(kIconSize, kIconSize));
    SetContent(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { ShowTab(index); });
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
    if (!first)
        view->setEnabled(false);
    // Adding the first tab makes the tab control report index 0, which is already active.
    const int index = tabs_->addTab(view, IconFromStrip(iconStrip_, GetTabCount() - 1), item.title);
    if (!first)
        view->hide();
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
