#include "ui/CUnsavedChangesQuestion.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "ui/CEditHistory.h"
#include "ui/CUnsavedChangesBox.h"
#include "ui/CodePageText.h"
#include "ui/SaveReporting.h"

namespace ui {

CUnsavedChangesQuestion::CUnsavedChangesQuestion(CEditHistory& history, QWidget* parent)
    : history_(history), box_(std::make_unique<CUnsavedChangesBox>(parent))
{
}

CUnsavedChangesQuestion::~CUnsavedChangesQuestion() = default;

bool CUnsavedChangesQuestion::Confirm()
{
    const std::vector<CMission*> modified = history_.ModifiedMissions();
    if (modified.empty())
        return true;
    QStringList names;
    for (const CMission* mission : modified)
        names << TextFromCodePage(mission->GetName());
    IUnsavedChangesPrompt& prompt = prompt_ ? *prompt_ : *box_;
    switch (prompt.Ask(names)) {
    case UnsavedAnswer::Discard: return true;
    case UnsavedAnswer::Cancel: return false;
    case UnsavedAnswer::Save: break;
    }
    // Every mission is tried, so that one failure does not keep the others unsaved.
    bool saved = true;
    for (CMission* mission : modified)
        saved = SaveReportingFailure([mission] { CDravoDon::Instance().SaveMission(*mission); }) && saved;
    return saved;
}

}  // namespace ui
