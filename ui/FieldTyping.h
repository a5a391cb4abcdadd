#pragma once
// Fields whose text goes into an object when applied (Enter on a page, "Применить"
// in the info window). From the first keystroke until the text is applied the field
// holds typing of its own, which its own undo takes back; once applied (or shown
// anew, or put back with Escape) it holds none, and undo and redo belong to the
// mission's history. Undoing the field's typing back to what was applied counts as
// holding none again.

class QLineEdit;
class QWidget;

namespace ui {

// Marks `field` as one whose text is applied to an object.
void MarkAppliedField(QLineEdit& field);

// Every marked field inside `form` now holds what was applied.
void MarkTypingApplied(QWidget& form);

// Whether `widget` is a marked field.
bool IsAppliedField(const QWidget* widget);

// Whether `widget` is a marked field holding typing not yet applied.
bool HoldsUnappliedTyping(const QWidget* widget);

}  // namespace ui
