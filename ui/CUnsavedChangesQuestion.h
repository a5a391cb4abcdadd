#pragma once
// The question asked before anything that would drop missions with unsaved edits
// (the main window closing): it lists the modified missions and, as the user
// answers, saves every one of them, drops the edits, or stays.

#include <memory>

class QWidget;

namespace ui {

class CEditHistory;
class IUnsavedChangesPrompt;

class CUnsavedChangesQuestion {
public:
    // `history` (not owned) tells which missions are modified; `parent` centres the
    // message box.
    CUnsavedChangesQuestion(CEditHistory& history, QWidget* parent);
    ~CUnsavedChangesQuestion();

    // True when no mission is modified, or when the user chose to drop the edits, or
    // to save them and every save succeeded (a failed one is reported as any failed
    // save is, and the others are still tried); false when the user cancelled or a
    // save failed.
    bool Confirm();

    // Where the question goes (not owned); null returns to the message box.
    void SetPrompt(IUnsavedChangesPrompt* prompt) { prompt_ = prompt; }

private:
    CEditHistory& history_;
    std::unique_ptr<IUnsavedChangesPrompt> box_;
    IUnsavedChangesPrompt* prompt_ = nullptr;
};

}  // namespace ui
