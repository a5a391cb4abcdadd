#include "game/CStructureEdit.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"

#include <stdexcept>

namespace {

// The one place that tells the three lists apart by the object's run-time type.
void InsertIntoList(CMission& mission, std::size_t index, std::unique_ptr<CSceneObject> object)
{
    CSceneObject* raw = object.get();
    if (auto* thing = dynamic_cast<CSceneObjectThing*>(raw)) {
        object.release();
        mission.InsertThing(index, std::unique_ptr<CSceneObjectThing>(thing));
    } else if (auto* data = dynamic_cast<CSceneObjectThingData*>(raw)) {
        object.release();
        mission.InsertThingData(index, std::unique_ptr<CSceneObjectThingData>(data));
    } else if (auto* script = dynamic_cast<CSceneObjectMissionScript*>(raw)) {
        object.release();
        mission.InsertMissionScript(index, std::unique_ptr<CSceneObjectMissionScript>(script));
    } else {
        throw std::invalid_argument("CStructureEdit: not an object of a mission's lists");
    }
}

std::unique_ptr<CSceneObject> RemoveFromList(CMission& mission, const CSceneObject& object, std::size_t index)
{
    if (dynamic_cast<const CSceneObjectThing*>(&object))
        return mission.RemoveThing(index);
    if (dynamic_cast<const CSceneObjectThingData*>(&object))
        return mission.RemoveThingData(index);
    return mission.RemoveMissionScript(index);
}

std::size_t ListSize(const CMission& mission, const CSceneObject& object)
{
    if (dynamic_cast<const CSceneObjectThing*>(&object))
        return mission.GetThings().size();
    if (dynamic_cast<const CSceneObjectThingData*>(&object))
        return mission.GetThingData().size();
    return mission.GetMissionScripts().size();
}

bool IsListObject(const CSceneObject* object)
{
    return dynamic_cast<const CSceneObjectThing*>(object) || dynamic_cast<const CSceneObjectThingData*>(object) ||
           dynamic_cast<const CSceneObjectMissionScript*>(object);
}

}  // namespace

struct CStructureEdit::Change {
    enum class Kind { Insertion, Removal, Link };
    Kind kind;
    CSceneObject* object;                      // inserted, removed, or the thing linked
    std::unique_ptr<CSceneObject> held;        // the object while it is out of the mission
    std::size_t index = kAtEnd;                // its place in its list
    std::vector<CSceneObjectThing*> unlinked;  // a removed thing data's things
    CSceneObjectThingData* linkBefore = nullptr;
    CSceneObjectThingData* linkAfter = nullptr;
};

CStructureEdit::CStructureEdit(CMission& mission, EditKind kind, std::string objectName)
    : mission_(mission), kind_(kind), objectName_(std::move(objectName))
{
}

// The objects held go with the changes; a held thing may point at a held thing
// data, but no destructor follows that link.
CStructureEdit::~CStructureEdit() = default;

void CStructureEdit::AddInsertion(std::unique_ptr<CSceneObject> object, std::size_t index)
{
    if (!IsListObject(object.get()))
        throw std::invalid_argument("CStructureEdit: not an object of a mission's lists");
    CSceneObject* raw = object.get();
    changes_.push_back({Change::Kind::Insertion, raw, std::move(object), index, {}, nullptr, nullptr});
}

void CStructureEdit::AddRemoval(CSceneObject& object)
{
    changes_.push_back({Change::Kind::Removal, &object, nullptr, kAtEnd, {}, nullptr, nullptr});
}

void CStructureEdit::AddLink(CSceneObjectThing& thing, CSceneObjectThingData* data)
{
    changes_.push_back({Change::Kind::Link, &thing, nullptr, kAtEnd, {}, nullptr, data});
}

void CStructureEdit::Apply(CDravoDon& don)
{
    if (applied_)
        return;
    for (Change& change : changes_) {
        switch (change.kind) {
        case Change::Kind::Insertion:
            Insert(don, change);
            break;
        case Change::Kind::Removal:
            Remove(don, change);
            break;
        case Change::Kind::Link: {
            auto& thing = static_cast<CSceneObjectThing&>(*change.object);
            change.linkBefore = thing.GetLinkedData();
            SetLink(don, thing, change.linkAfter);
            break;
        }
        }
    }
    applied_ = true;
}

void CStructureEdit::Revert(CDravoDon& don)
{
    if (!applied_)
        return;
    // Not a reversed view: the fuzz build's clang 14 cannot compile it.
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
        Change& change = *it;
        switch (change.kind) {
        case Change::Kind::Insertion:
            Remove(don, change);
            break;
        case Change::Kind::Removal:
            Insert(don, change);
            break;
        case Change::Kind::Link:
            SetLink(don, static_cast<CSceneObjectThing&>(*change.object), change.linkBefore);
            break;
        }
    }
    applied_ = false;
}

// An insertion, or a removal taken back: the object goes to its recorded place, and
// the things a removed thing data was linked to get their link back.
void CStructureEdit::Insert(CDravoDon& don, Change& change)
{
    const std::size_t size = ListSize(mission_, *change.object);
    if (change.index == kAtEnd)
        change.index = size;
    if (change.index > size)
        throw std::logic_error("CStructureEdit: the place is beyond the list");
    InsertIntoList(mission_, change.index, std::move(change.held));
    don.Announce(*change.object, DON_OBJECT_ADDED);
    for (CSceneObjectThing* thing : change.unlinked)
        SetLink(don, *thing, static_cast<CSceneObjectThingData*>(change.object));
}

// A removal, or an insertion taken back: announced while the object is still in its
// list, then taken out; the things that lose their thing data are told after.
void CStructureEdit::Remove(CDravoDon& don, Change& change)
{
    const auto index = mission_.IndexOf(*change.object);
    if (!index)
        throw std::logic_error("CStructureEdit: the object is not in the mission");
    change.index = *index;
    if (auto* data = dynamic_cast<CSceneObjectThingData*>(change.object))
        change.unlinked = mission_.ThingsLinkedTo(*data);
    don.Announce(*change.object, DON_OBJECT_REMOVING);
    change.held = RemoveFromList(mission_, *change.object, change.index);
    for (CSceneObjectThing* thing : change.unlinked)
        don.Announce(*thing, DON_OBJECT_CHANGED);
}

void CStructureEdit::SetLink(CDravoDon& don, CSceneObjectThing& thing, CSceneObjectThingData* data)
{
    thing.SetLinkedData(data);
    don.Announce(thing, DON_OBJECT_CHANGED);
}

std::vector<CSceneObject*> CStructureEdit::InsertedObjects() const
{
    std::vector<CSceneObject*> objects;
    for (const Change& change : changes_) {
        if (change.kind == Change::Kind::Insertion)
            objects.push_back(change.object);
    }
    return objects;
}

std::vector<CSceneObject*> CStructureEdit::RemovedObjects() const
{
    std::vector<CSceneObject*> objects;
    for (const Change& change : changes_) {
        if (change.kind == Change::Kind::Removal)
            objects.push_back(change.object);
    }
    return objects;
}
