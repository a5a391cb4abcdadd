#include "game/ObjectOperations.h"

#include "game/CCopyNaming.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CObjectsPayload.h"
#include "game/CStructureEdit.h"
#include "platform/CodePage.h"

#include <memory>
#include <stdexcept>

namespace {

using Copy = CCopyNaming::Copy;
using Objects = CObjectsPayload::Objects;

void RequireOwned(const CMission& mission, const CSceneObject& object)
{
    if (!mission.IndexOf(object))
        throw std::invalid_argument("the object is not one of the mission's");
}

Copy CopyKind(const CSceneObject& object)
{
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(&object))
        return thing->GetLinkedData() ? Copy::ThingWithData : Copy::Thing;
    if (dynamic_cast<const CSceneObjectThingData*>(&object))
        return Copy::ThingData;
    return Copy::MissionScript;
}

// The copy's names: the thing's linked thing data gets the thing's name.
void NameCopy(CSceneObject& copy, const std::string& name)
{
    if (auto* script = dynamic_cast<CSceneObjectMissionScript*>(&copy))
        script->NameCopy(name);
    else
        copy.SetName(name);
    if (auto* thing = dynamic_cast<CSceneObjectThing*>(&copy); thing && thing->GetLinkedData())
        thing->GetLinkedData()->SetName(name);
}

// Names `copy` by the rule (or `name` when given) and takes the name.
void NameAndTake(CCopyNaming& naming, CSceneObject& copy, const std::string* name = nullptr)
{
    const Copy kind = CopyKind(copy);
    const std::string chosen = name ? *name : naming.FreeName(kind, copy.GetName());
    NameCopy(copy, chosen);
    naming.Take(kind, chosen);
}

// Whether the thing data is linked to one of the things.
bool IsLinked(const Objects& objects, const CSceneObjectThingData& data)
{
    for (const auto& thing : objects.things) {
        if (thing->GetLinkedData() == &data)
            return true;
    }
    return false;
}

// A copy of the objects through their bytes, in the game's code page.
Objects CopiesOf(const std::vector<CSceneObject*>& objects)
{
    const int codePage = platform::AnsiCodePage();
    return CObjectsPayload::Read(CObjectsPayload::Write(objects, codePage), codePage);
}

std::unique_ptr<CStructureEdit> RemovalOf(CMission& mission, CSceneObject& object, EditKind kind)
{
    RequireOwned(mission, object);
    auto edit = std::make_unique<CStructureEdit>(mission, kind, object.GetName());
    // The thing before its thing data: a thing of the mission never points at data
    // that has gone.
    for (CSceneObject* removed : ObjectWithCompanions(object))
        edit->AddRemoval(*removed);
    return edit;
}

}  // namespace

std::vector<CSceneObject*> ObjectWithCompanions(CSceneObject& object)
{
    std::vector<CSceneObject*> objects{&object};
    if (auto* thing = dynamic_cast<CSceneObjectThing*>(&object); thing && thing->GetLinkedData())
        objects.push_back(thing->GetLinkedData());
    return objects;
}

std::string CopyObject(CSceneObject& object)
{
    return CObjectsPayload::Write(ObjectWithCompanions(object), platform::AnsiCodePage());
}

std::string CopyObjectText(const CSceneObject& object)
{
    return platform::ToUtf8(object.GetName());
}

bool IsCopyNameFree(const CMission& mission, CSceneObject& object, std::string_view name)
{
    return !CCopyNaming(mission).IsTaken(CopyKind(object), name);
}

CSceneObject& DuplicateObject(CDravoDon& don, CMission& mission, CSceneObject& object, const std::string* name)
{
    RequireOwned(mission, object);
    Objects copies = CopiesOf(ObjectWithCompanions(object));
    CCopyNaming naming(mission);
    auto edit = std::make_unique<CStructureEdit>(mission, EditKind::Duplicate, object.GetName());
    CSceneObject* copy = nullptr;
    // Each copy goes right after its original: the thing data first, so that the
    // thing's copy is linked to data the mission holds.
    if (!copies.things.empty()) {
        auto& thing = *copies.things.front();
        NameAndTake(naming, thing, name);
        if (auto* data = static_cast<CSceneObjectThing&>(object).GetLinkedData())
            edit->AddInsertion(std::move(copies.thingData.front()), *mission.IndexOf(*data) + 1);
        copy = &thing;
        edit->AddInsertion(std::move(copies.things.front()), *mission.IndexOf(object) + 1);
    } else if (!copies.thingData.empty()) {
        copy = copies.thingData.front().get();
        NameAndTake(naming, *copy, name);
        edit->AddInsertion(std::move(copies.thingData.front()), *mission.IndexOf(object) + 1);
    } else {
        copy = copies.missionScripts.front().get();
        NameAndTake(naming, *copy, name);
        edit->AddInsertion(std::move(copies.missionScripts.front()), *mission.IndexOf(object) + 1);
    }
    if (auto* data = dynamic_cast<CSceneObjectThingData*>(copy)) {
        if (CSceneObjectThing* thing = mission.FindThing(data->GetName()); thing && !thing->GetLinkedData())
            edit->AddLink(*thing, data);
    }
    don.ApplyStructureEdit(std::move(edit));
    return *copy;
}

void DeleteObject(CDravoDon& don, CMission& mission, CSceneObject& object)
{
    don.ApplyStructureEdit(RemovalOf(mission, object, EditKind::Delete));
}

std::string CutObject(CDravoDon& don, CMission& mission, CSceneObject& object)
{
    auto edit = RemovalOf(mission, object, EditKind::Cut);
    std::string payload = CopyObject(object);
    don.ApplyStructureEdit(std::move(edit));
    return payload;
}

std::vector<CSceneObject*> PasteObjects(CDravoDon& don, CMission& mission, std::string_view payload)
{
    if (!mission.IsLoaded())
        throw std::invalid_argument("objects are pasted into a loaded mission");
    Objects copies = CObjectsPayload::Read(payload, platform::AnsiCodePage());
    CCopyNaming naming(mission);
    std::vector<CSceneObject*> pasted;
    const auto name = [&](CSceneObject& copy) {
        NameAndTake(naming, copy);
        pasted.push_back(&copy);
    };
    for (auto& thing : copies.things)
        name(*thing);
    for (auto& data : copies.thingData) {
        if (!IsLinked(copies, *data))
            name(*data);
    }
    for (auto& script : copies.missionScripts)
        name(*script);
    if (pasted.empty())
        return pasted;
    auto edit = std::make_unique<CStructureEdit>(mission, EditKind::Paste, pasted.front()->GetName());
    std::vector<CSceneObjectThingData*> alone;
    for (auto& data : copies.thingData) {
        if (!IsLinked(copies, *data))
            alone.push_back(data.get());
        edit->AddInsertion(std::move(data));
    }
    for (auto& thing : copies.things)
        edit->AddInsertion(std::move(thing));
    for (auto& script : copies.missionScripts)
        edit->AddInsertion(std::move(script));
    for (CSceneObjectThingData* data : alone) {
        if (CSceneObjectThing* thing = mission.FindThing(data->GetName()); thing && !thing->GetLinkedData())
            edit->AddLink(*thing, data);
    }
    don.ApplyStructureEdit(std::move(edit));
    return pasted;
}
