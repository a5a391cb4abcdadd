#pragma once
// Where the mediator hands every applied edit, so that it can be undone. The user
// interface implements it (one undo stack per mission) and installs it with
// CDravoDon::SetEditHistory; without one, edits are simply not recorded.

#include "game/ObjectEdit.h"

class CMission;

class IEditHistory {
public:
    virtual ~IEditHistory() = default;

    // `object` went from `before` to `after` by an edit of `kind` (the two differ).
    // A non-zero `gesture` equal to that of the previous record for the same object
    // continues that step: the step keeps its first `before` and takes this `after`.
    virtual void Record(CSceneObject& object, const ObjectState& before, const ObjectState& after, EditKind kind,
                        std::uint64_t gesture) = 0;

    // `mission` was written to disk (CDravoDon::SaveMission): what it holds now is
    // what is saved. Not called when the save failed.
    virtual void MissionSaved(const CMission& /*mission*/) {}

    // Whether `mission` holds edits made since it was loaded or last saved.
    // A history that keeps no such account answers false.
    virtual bool IsMissionModified(const CMission& /*mission*/) const { return false; }
};
