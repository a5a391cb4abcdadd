#include "ui/FieldTyping.h"

#include <QLineEdit>

namespace ui {
namespace {

constexpr char kAppliedFieldProperty[] = "verdaxAppliedField";

}  // namespace

void MarkAppliedField(QLineEdit& field)
{
    field.setProperty(kAppliedFieldProperty, true);
}

// A line edit counts as modified while its undo state differs from the one it had
// when last shown or marked, so typing undone back to there counts as none.
void MarkTypingApplied(QWidget& form)
{
    for (QLineEdit* field : form.findChildren<QLineEdit*>()) {
        if (IsAppliedField(field))
            field->setModified(false);
    }
}

bool IsAppliedField(const QWidget* widget)
{
    return widget && widget->property(kAppliedFieldProperty).toBool();
}

bool HoldsUnappliedTyping(const QWidget* widget)
{
    const auto* field = qobject_cast<const QLineEdit*>(widget);
    return field && IsAppliedField(field) && field->isModified();
}

}  // namespace ui
