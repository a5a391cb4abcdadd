#pragma once
// The unsaved-changes question as a modal message box under the application's
// title, listing the missions, with the buttons "Сохранить", "Не сохранять" and
// "Отмена" (Escape and closing the box answer "Отмена").

#include "ui/IUnsavedChangesPrompt.h"

class QMessageBox;
class QWidget;

namespace ui {

class CUnsavedChangesBox final : public IUnsavedChangesPrompt {
public:
    // `parent` (may be null) centres the box over the main window.
    explicit CUnsavedChangesBox(QWidget* parent = nullptr) : parent_(parent) {}

    UnsavedAnswer Ask(const QStringList& missions) override;

    // The question for `missions`, built but not shown (the caller owns it).
    QMessageBox* MakeBox(const QStringList& missions) const;

private:
    QWidget* parent_;
};

}  // namespace ui
