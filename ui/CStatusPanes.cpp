#include "ui/CStatusPanes.h"

#include "ui/CommandIds.h"
#include "ui/StringTableText.h"

#include <QLabel>
#include <QStatusBar>

namespace ui {
namespace {

// Holds the message label outside every layout. A label in a layout has it
// recomputed at every new text, as its size hint changes, and the status bar
// answers a recomputed layout by repainting itself whole; in a window that holds a
// GL view every such repaint composes the whole window again. Here a new text only
// repaints the label, which always covers the holder.
class CMessageHolder final : public QWidget {
public:
    explicit CMessageHolder(QWidget* parent) : QWidget(parent), label_(new QLabel(this)) {}

    QLabel* Label() const { return label_; }
    QSize sizeHint() const override { return {0, label_->sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {1, label_->minimumSizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        label_->setGeometry(rect());
    }

private:
    QLabel* label_;
};

}  // namespace

CStatusPanes::CStatusPanes(QStatusBar* bar)
{
    bar->setObjectName(QStringLiteral("statusBar%1").arg(ID_VIEW_STATUS_BAR));
    bar->setSizeGripEnabled(true);
    auto* holder = new CMessageHolder(bar);
    messagePane_ = holder->Label();
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(holder, 1);
    CreateSpeedPane(bar);
    CreateIndicators(bar);
}

// Its own pane, so that menu prompts in the message pane never hide it.
void CStatusPanes::CreateSpeedPane(QStatusBar* bar)
{
    speedPane_ = new QLabel(bar);
    speedPane_->setObjectName(QStringLiteral("speedPane"));
    speedPane_->setAccessibleName(QStringLiteral("Скорость"));
    speedPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    speedPane_->setAlignment(Qt::AlignCenter);
    speedPane_->setMinimumWidth(speedPane_->fontMetrics().horizontalAdvance(QStringLiteral("Скорость: 0.0625")) + 8);
    bar->addPermanentWidget(speedPane_);
}

void CStatusPanes::CreateIndicators(QStatusBar* bar)
{
    const int indicatorIds[] = {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        auto* pane = new QLabel(StringTableText(indicatorIds[i]), bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->sizeHint().width() + 8);
        // Qt does not report the lock keys' states, so the indicators stay greyed.
        pane->setEnabled(false);
        indicators_[i] = pane;
        bar->addPermanentWidget(pane);
    }
}

void CStatusPanes::ShowMessage(const QString& text)
{
    messagePane_->setText(text);
}

void CStatusPanes::ShowSpeed(const QString& text)
{
    speedPane_->setText(text);
}

void CStatusPanes::OnInitMenuPopup()
{
    if (savedPaneWidth_ != -1 || !widenFlag_)
        return;
    savedPaneWidth_ = messagePane_->width();
    // The pane spans the bar: the indicators give up their room while the menu is open.
    for (QLabel* pane : indicators_)
        pane->hide();
}

void CStatusPanes::OnMenuSelect(bool menuClosing)
{
    if (menuClosing && savedPaneWidth_ != -1) {
        for (QLabel* pane : indicators_)
            pane->show();
        savedPaneWidth_ = -1;
        widenFlag_ = false;
        return;
    }
    widenFlag_ = true;
}

}  // namespace ui
