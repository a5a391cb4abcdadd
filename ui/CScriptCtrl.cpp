#include "ui/CScriptCtrl.h"

namespace ui {

CScriptCtrl::CScriptCtrl(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Read-only, but the text can still be selected and copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void CScriptCtrl::SetBackgroundColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

}  // namespace ui
