#pragma once
// What the editor does at start-up with the recovery copies (CRecoveryStore.h)
// that editors no longer running left for this game: the unreadable ones were
// moved aside by the listing and are reported with their folder and reason; the
// others are offered in one question (IRecoveryPrompt.h).
//
//   Восстановить  each mission whose folder is still in the game is loaded from
//                 there (unless it is loaded already) and the copy's objects become
//                 its state in one undo step "Восстановление" (RecoveryEdit.h), so
//                 the mission shows as modified; the copy becomes this editor's,
//                 replaced by its next copies and removed by a save. A copy that
//                 cannot be read is moved aside and reported. Copies of missions
//                 whose folder is gone, and older copies of a mission restored from
//                 a newer one, are kept for the next start.
//   Удалить       every listed copy is removed.
//   Позже         nothing changes.
//
// Copies of editors that run (another editor on the same game) are left alone.

class CDravoDon;
class CRecoveryStore;

namespace ui {

class CItemTreeView;
class IRecoveryPrompt;

// The missions restored get their branch in `tree` (may be null); the first is
// selected there.
void OfferRecovery(CRecoveryStore& store, CDravoDon& don, CItemTreeView* tree, IRecoveryPrompt& prompt);

}  // namespace ui
