#include "ui/CRollupEditScript.h"

#include "game/CDravoDon.h"
#include "ui/CScriptCtrl.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace ui {

CRollupEditScript::CRollupEditScript(QWidget* parent) : CRollupPage(99, 220, parent)
{
    script_ = new CScriptCtrl(this);
    script_->setObjectName(QStringLiteral("1045"));
    script_->setGeometry(DialogRect(0, 12, 98, 193));
    script_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    script_->SetBackgroundColor(QColor(212, 208, 200));
    script_->setAccessibleName(QStringLiteral("Скрипт"));
    // Nothing stands beside the caption: it may grow to its text in a wider font.
    QLabel* caption = AddLabel(QStringLiteral("Скрипт:"), QRect(0, 0, 21, 8), script_);
    caption->resize(std::max(caption->width(), caption->sizeHint().width()), caption->height());

    edit_ = new QPushButton(QStringLiteral("&Правка"), this);
    edit_->setObjectName(QStringLiteral("1046"));
    edit_->setGeometry(DialogRect(0, 208, 98, 9));
    edit_->setAccessibleName(QStringLiteral("Правка"));
    connect(edit_, &QPushButton::clicked, this, [this] { OnEdit(); });
}

void CRollupEditScript::SetScript(const std::string& script)
{
    if (script == shown_)
        return;
    shown_ = script;
    script_->StreamTextIn(script);
    shown_ = script;
}

void CRollupEditScript::OnEdit()
{
    CDravoDonView* view = OwnerView();
    if (!view || !view->GetObject())
        return;
    CDravoDon& don = CDravoDon::Instance();
    don.OpenView(DON_VIEW_SCRIPT, view->GetObject());
    don.Broadcast(view, DON_OBJECT_SELECTED, 0);
}

}  // namespace ui
