#pragma once
// An edit that puts objects into a mission's lists or takes them out: the undo step
// of a duplicate, a delete, a cut or a paste. It is described as a sequence of
// changes (an insertion, a removal, a thing's link set), applied in order by the
// mediator (CDravoDon::ApplyStructureEdit) and reverted in reverse order, each
// change announced as it happens:
//
//   insertion   DON_OBJECT_ADDED once the object is in its list
//   removal     DON_OBJECT_REMOVING while the object is still in its list; a thing
//               data taken out is first unlinked from its things, and each of them
//               is then announced with DON_OBJECT_CHANGED (its linked kind changed)
//   link        DON_OBJECT_CHANGED for the thing
//
// Reverting puts every object back at the place it had and every link as it was.
// The edit owns each of its objects while that object is out of the mission (a
// removed one while applied, an inserted one while reverted) and destroys those it
// holds when it is destroyed: an object is freed only when no step can bring it
// back. No Qt: the editor's history wraps it in an undo command.

#include "game/ObjectEdit.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CDravoDon;
class CMission;
class CSceneObject;
class CSceneObjectThing;
class CSceneObjectThingData;

class CStructureEdit {
public:
    // An insertion at the end of the list as it is when the edit is first applied.
    static constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);

    // `kind` and `objectName` name the undo step ("удаление lamp_2").
    CStructureEdit(CMission& mission, EditKind kind, std::string objectName);
    ~CStructureEdit();
    CStructureEdit(const CStructureEdit&) = delete;
    CStructureEdit& operator=(const CStructureEdit&) = delete;

    // Describing the edit, before it is first applied. `object` is a new thing,
    // thing data or mission script (std::invalid_argument for anything else); a
    // thing that comes with its linked thing data comes after that data.
    void AddInsertion(std::unique_ptr<CSceneObject> object, std::size_t index = kAtEnd);
    // `object` must be the mission's when the removal is applied (std::logic_error).
    void AddRemoval(CSceneObject& object);
    // `thing` becomes linked to `data` (null: unlinked); both the mission's then.
    void AddLink(CSceneObjectThing& thing, CSceneObjectThingData* data);

    // Makes the changes (the first time, and again as redo) or takes them back
    // (undo), announcing each through `don`. Applying an applied edit or reverting
    // one that is not does nothing.
    void Apply(CDravoDon& don);
    void Revert(CDravoDon& don);
    bool IsApplied() const { return applied_; }

    CMission& GetMission() const { return mission_; }
    EditKind GetKind() const { return kind_; }
    const std::string& GetObjectName() const { return objectName_; }
    // The objects the edit inserts, in the order of their insertion.
    std::vector<CSceneObject*> InsertedObjects() const;
    // The objects the edit removes, in the order of their removal.
    std::vector<CSceneObject*> RemovedObjects() const;

private:
    struct Change;

    void Insert(CDravoDon& don, Change& change);
    void Remove(CDravoDon& don, Change& change);
    void SetLink(CDravoDon& don, CSceneObjectThing& thing, CSceneObjectThingData* data);

    CMission& mission_;
    EditKind kind_;
    std::string objectName_;
    std::vector<Change> changes_;
    bool applied_ = false;
};
