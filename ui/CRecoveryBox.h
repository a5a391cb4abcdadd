#pragma once
// The recovery question as a modal message box under the application's title,
// listing each mission with the time of its copy, with the buttons
// "Восстановить", "Удалить" and "Позже" (Escape and closing the box answer
// "Позже"). When every listed mission's folder is gone, there is nothing to
// restore and the box offers only "Удалить" and "Позже".

#include "ui/IRecoveryPrompt.h"

class QMessageBox;
class QWidget;

namespace ui {

class CRecoveryBox final : public IRecoveryPrompt {
public:
    // `parent` (may be null) centres the box over the main window.
    explicit CRecoveryBox(QWidget* parent = nullptr) : parent_(parent) {}

    RecoveryAnswer Ask(const std::vector<RecoveryOfferLine>& copies) override;

    // The question for `copies`, built but not shown (the caller owns it).
    QMessageBox* MakeBox(const std::vector<RecoveryOfferLine>& copies) const;

    // A copy's line: "harbor_town — 08.12.2026 01:23:45", local time.
    static QString LineText(const RecoveryOfferLine& copy);

private:
    QWidget* parent_;
};

}  // namespace ui
