#pragma once
// Where the mediator hands every applied edit, so that it can be undone. The user
// interface implements it (one undo stack per mission) and installs it with
// CDravoDon::SetEditHistory; without one, edits are simply not recorded.

#include "game/CStructureEdit.h"
#include "game/ObjectEdit.h"

#include <memory>
#include <vector>

class CMission;

class IEditHistory {
public:
    virtual ~IEditHistory() = default;

    // The objects of `changes` (at least one, each with states that differ; a thing
    // renamed comes with its linked thing data) went from `before` to `after` by one
    // edit of `kind`: one step. A non-zero `gesture` equal to that of the previous
    // record for the same objects continues that step: the step keeps its first
    // states before and takes these states after.
    virtual void Record(const std::vector<ObjectChange>& changes, EditKind kind, std::uint64_t gesture) = 0;

    // `edit`, applied already, is one step of its mission's history; the history owns
    // it from now on (and with it the objects it holds out of the mission). A
    // history that keeps no steps destroys it.
    virtual void RecordStructure(std::unique_ptr<CStructureEdit> edit) = 0;

    // `mission` was written to disk (CDravoDon::SaveMission): what it holds now is
    // what is saved. Not called when the save failed.
    virtual void MissionSaved(const CMission& /*mission*/) {}

    // Whether `mission` holds edits made since it was loaded or last saved.
    // A history that keeps no such account answers false.
    virtual bool IsMissionModified(const CMission& /*mission*/) const { return false; }
};
