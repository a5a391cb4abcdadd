#pragma once
// A field whose content cannot be taken: the message is shown through the message
// presenter, and the field gets the focus with its text selected, so the user can
// type over it. The property pages and the info form refuse alike.

#include <string_view>

class QLineEdit;

namespace ui {

// `text` is UTF-8; `messageId` is its string-table id, or 0 for a composed text.
void RefuseField(QLineEdit* field, int messageId, std::string_view text);

// "Введите число.": the field does not hold one number.
void RefuseNotANumber(QLineEdit* field);

}  // namespace ui
