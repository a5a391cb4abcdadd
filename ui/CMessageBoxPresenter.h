#pragma once
// Message boxes of the editor: modal, with an OK button, under the application's
// title. Texts raised by errors are in the system code page and are converted for
// display; string-table messages are UTF-8 already. While a box is up the wait
// cursor is taken off, and it is back once the box is closed.

#include "platform/MessagePresenter.h"

#include <QString>

class QWidget;

namespace ui {

class CMessageBoxPresenter final : public platform::IMessagePresenter {
public:
    // `parent` (may be null) centres the boxes over the main window.
    explicit CMessageBoxPresenter(QWidget* parent = nullptr) : parent_(parent) {}

    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowText(std::string_view text) override;
    void ShowMessage(int id, std::string_view utf8Text) override;

private:
    void Show(const QString& text);

    QWidget* parent_;
};

}  // namespace ui
