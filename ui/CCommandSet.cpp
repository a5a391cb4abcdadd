#include "ui/CCommandSet.h"

#include "ui/StringTableText.h"

#include <QAction>
#include <QWidget>

namespace ui {
namespace {

// A menu item's text without its mnemonic mark and shortcut hint.
QString PlainItemText(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0);
    return text.remove(QLatin1Char('&'));
}

}  // namespace

QAction* CCommandSet::Add(int id, const QString& text)
{
    auto* action = new QAction(text, window_);
    action->setData(id);
    const QString prompt = StringTableText(id);
    action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
    const QString tip = prompt.section(QLatin1Char('\n'), 1, 1);
    action->setToolTip(tip.isEmpty() ? PlainItemText(text) : tip);
    actions_[id] = action;
    window_->addAction(action);
    return action;
}

QAction* CCommandSet::AddBarToggle(int id, const QString& text, std::function<QWidget*()> bar)
{
    QAction* action = Add(id, text);
    action->setCheckable(true);
    QObject::connect(action, &QAction::triggered, action, [action, bar] {
        if (QWidget* shown = bar()) {
            shown->setVisible(shown->isHidden());
            action->setChecked(!shown->isHidden());
        }
    });
    toggles_.push_back({action, std::move(bar)});
    return action;
}

QAction* CCommandSet::Action(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CCommandSet::UpdateCheckMarks()
{
    for (const BarToggle& toggle : toggles_) {
        if (const QWidget* bar = toggle.bar())
            toggle.action->setChecked(!bar->isHidden());
    }
}

}  // namespace ui
