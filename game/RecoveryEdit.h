#pragma once
// The step that takes a recovery copy's objects as a loaded mission's state: one
// structure edit (CStructureEdit.h) of kind Recover. Undoing it gives back the
// mission as it was, objects, places and links.
//
// A copy holds what a save writes, and a save does not write everything an object
// read from the game's file holds (a thing of a kind the writer does not know loses
// its kind), so an object read back from a copy may save differently from the one
// it was written from. The step therefore keeps every object of the mission that
// the copy holds unchanged: the mission's own save, read back the same way, is
// compared object by object with the copy, list by list, from the front and from
// the back; only the objects between those that agree are taken out and the copy's
// put in their place. Things end up linked as the copy links them.

#include <memory>

class CMission;
class CStructureEdit;

// Takes from `recovered` (a mission read from a copy, RecoveredMission.h) what
// `mission` needs, into an edit of `mission` not yet applied: apply it through
// CDravoDon::ApplyStructureEdit. Throws what reading the mission's own save back
// throws (it never should: the reader reads what the writer writes).
std::unique_ptr<CStructureEdit> MakeRecoveryEdit(CMission& mission, CMission& recovered);
