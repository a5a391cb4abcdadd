#pragma once
// The "Description" page: the object's name in field 1028; Enter renames the
// object, Escape puts the name back. The name is bytes in the game's code page
// both ways: a name shown and applied unchanged is the same bytes (and no edit),
// and a character the code page cannot hold is refused with a message instead of
// being written as something else.

#include "ui/CRollupPage.h"

#include <string>

class QLineEdit;

namespace ui {

class CRollupEditDescription final : public CRollupPage {
public:
    explicit CRollupEditDescription(QWidget* parent = nullptr);

    // Stores the text (code-page bytes) and shows it; with `keepTyping`, a field
    // holding typing not yet applied keeps it.
    void SetText(const std::string& text, bool keepTyping = false);
    const std::string& Text() const { return text_; }
    // Whether the field holds text other than the held one.
    bool HoldsTyping() const;

    QLineEdit* Field() const { return field_; }

    bool OnOK() override;
    void OnCancel() override;

private:
    QLineEdit* field_;
    std::string text_;
};

}  // namespace ui
