#include "ui/CScriptLineNumberArea.h"

#include "ui/CScriptView.h"

namespace ui {

CScriptLineNumberArea::CScriptLineNumberArea(CScriptView* view) : QWidget(view), view_(view)
{
    setObjectName(QStringLiteral("lineNumbers"));
    setAccessibleName(QStringLiteral("Номера строк"));
}

QSize CScriptLineNumberArea::sizeHint() const
{
    return {view_->LineNumberAreaWidth(), 0};
}

void CScriptLineNumberArea::paintEvent(QPaintEvent* event)
{
    view_->PaintLineNumbers(event);
}

}  // namespace ui
