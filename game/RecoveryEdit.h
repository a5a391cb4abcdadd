#pragma once
// The step that takes a recovery copy's objects as a loaded mission's state: one
// structure edit (CStructureEdit.h) of kind Recover that takes every object of the
// mission out and puts every object of the copy in, each list in the copy's order
// and each thing linked to the copy's thing data as the copy links it. Undoing it
// gives back the mission as it was, objects, places and links.

#include <memory>

class CMission;
class CStructureEdit;

// Empties `recovered` (a mission read from a copy, RecoveredMission.h) into an edit
// of `mission`, not yet applied: apply it through CDravoDon::ApplyStructureEdit.
std::unique_ptr<CStructureEdit> MakeRecoveryEdit(CMission& mission, CMission& recovered);
