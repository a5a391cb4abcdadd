#pragma once
// The read-only script control of the property panel's "Script" page and the info
// form: it only receives texts (StreamTextIn).

#include "ui/CRichEditStreamIn.h"

#include <QPlainTextEdit>

namespace ui {

class CScriptCtrl : public QPlainTextEdit, public CRichEditStreamIn {
public:
    explicit CScriptCtrl(QWidget* parent = nullptr);

    // The colour behind the text (the script page uses 212, 208, 200).
    void SetBackgroundColor(const QColor& color);

protected:
    QPlainTextEdit* StreamControl() const override { return const_cast<CScriptCtrl*>(this); }
};

}  // namespace ui
