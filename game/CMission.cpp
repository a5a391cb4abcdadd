#include "game/CMission.h"

#include "core/CVerdaxException.h"
#include "game/CDravoRoot.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

CMission::CMission(std::string name, CDravoRoot* root) : name_(std::move(name)), root_(root) {}

CMission::CMission(std::string name, ExplicitFolder folder)
    : name_(std::move(name)), explicitFolder_(std::move(folder.path))
{
}

CMission::~CMission()
{
    Unload();
}

std::string CMission::GetFolder() const
{
    if (!explicitFolder_.empty())
        return explicitFolder_;
    const std::string missions = root_ ? root_->GetMissionsFolder() : std::string();
    return missions + name_ + "\\";
}

void CMission::Load()
{
    LoadWith([this] { sceneFile_.Read(); }, ModelsRead::kAll);
}

void CMission::LoadFrom(std::iostream& sceneFile)
{
    LoadWith([&] { sceneFile_.ReadFrom(sceneFile); }, ModelsRead::kThingModels);
}

void CMission::LoadObjects()
{
    LoadWith([this] { sceneFile_.Read(); }, ModelsRead::kNone);
}

template <class ReadSceneFile>
void CMission::LoadWith(ReadSceneFile readSceneFile, ModelsRead models)
{
    if (loaded_)
        throw CVerdaxException(VERDAX_ERR_MISSION_LOADED);
    try {
        if (models == ModelsRead::kAll)
            LoadWorldModel();
        sceneFile_.SetOwner(this);
        if (models != ModelsRead::kNone)
            modelsOfLoad_.emplace();
        readSceneFile();
        modelsOfLoad_.reset();
        LinkThingData();
    } catch (...) {
        modelsOfLoad_.reset();
        // Objects handed over before the failure would be appended to again by the
        // next attempt.
        Unload();
        worldModel_.Clear();
        throw;
    }
    loaded_ = true;
}

void CMission::Save()
{
    if (!loaded_)
        return;
    sceneFile_.Write();
}

void CMission::SaveTo(std::iostream& stream)
{
    if (!loaded_)
        return;
    sceneFile_.WriteTo(stream);
}

// A mission without a usable world model still loads; only a foreign failure ends
// the load.
void CMission::LoadWorldModel()
{
    try {
        worldModel_.Load(GetFolder() + "scene.4ds", true);
    } catch (const CVerdaxException&) {
    }
}

// Each thing data goes to the first thing of its name. When two thing data share a
// name, both are linked to the same thing in turn and the later one remains: the
// same as linking only the last thing data of each name.
void CMission::LinkThingData()
{
    // Keyed by the thing data's names, of which a mission has far fewer than things;
    // a name is taken out once its first thing has it.
    std::unordered_map<std::string, CSceneObjectThingData*> lastByName;
    lastByName.reserve(thingData_.size());
    for (const auto& data : thingData_)
        lastByName.insert_or_assign(data->GetName(), data.get());
    for (const auto& thing : things_) {
        if (lastByName.empty())
            break;
        if (const auto it = lastByName.find(thing->GetName()); it != lastByName.end()) {
            thing->SetLinkedData(it->second);
            lastByName.erase(it);
        }
    }
}

// A thing without its model keeps going without one. Thousands of things name a
// hundred models: each distinct name is resolved and read (or found in the geometry
// cache) once per load, and the other things of that name share what the first got,
// a failure included. Each thing gets its model as the object file's reader hands
// it over, while the thing is still in the cache: a pass over tens of thousands of
// things afterwards waited on memory for every one.
void CMission::GiveModelOnLoad(CSceneObjectThing& thing)
{
    const auto [first, isFirst] = modelsOfLoad_->try_emplace(thing.GetModelName(), &thing.GetModel());
    if (isFirst)
        thing.LoadModel();
    else
        thing.GetModel().ShareFrom(*first->second);
}

// Things first: they point at the thing data.
void CMission::Unload()
{
    things_.clear();
    thingData_.clear();
    missionScripts_.clear();
    loaded_ = false;
}

void CMission::AddThing(std::unique_ptr<CSceneObjectThing> thing)
{
    if (modelsOfLoad_ && thing)
        GiveModelOnLoad(*thing);
    things_.push_back(std::move(thing));
}

void CMission::AddThingData(std::unique_ptr<CSceneObjectThingData> data)
{
    thingData_.push_back(std::move(data));
}

void CMission::AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> script)
{
    missionScripts_.push_back(std::move(script));
}

namespace {

template <class Object>
void InsertAt(std::vector<std::unique_ptr<Object>>& list, std::size_t index, std::unique_ptr<Object> object)
{
    if (index > list.size() || !object)
        throw std::out_of_range("CMission: no place for the object");
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), std::move(object));
}

template <class Object>
std::unique_ptr<Object> RemoveAt(std::vector<std::unique_ptr<Object>>& list, std::size_t index)
{
    if (index >= list.size())
        throw std::out_of_range("CMission: no object at that place");
    auto object = std::move(list[index]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return object;
}

template <class Object>
std::optional<std::size_t> FindIn(const std::vector<std::unique_ptr<Object>>& list, const CSceneObject& object)
{
    const auto it = std::ranges::find_if(list, [&object](const auto& owned) { return owned.get() == &object; });
    if (it == list.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - list.begin());
}

}  // namespace

void CMission::InsertThing(std::size_t index, std::unique_ptr<CSceneObjectThing> thing)
{
    CSceneObjectThing& inserted = *thing;
    InsertAt(things_, index, std::move(thing));
    if (const CSceneObjectThingData* data = inserted.GetLinkedData(); data && !IndexOf(*data))
        inserted.SetLinkedData(nullptr);
    if (!inserted.GetModel().IsLoaded())
        LoadInsertedModel(inserted);
}

// A model that another thing of the mission has loaded is shared rather than looked
// up on disk again.
void CMission::LoadInsertedModel(CSceneObjectThing& thing) const
{
    for (const auto& other : things_) {
        if (other.get() != &thing && other->GetModel().IsLoaded() && other->GetModelName() == thing.GetModelName()) {
            thing.GetModel().ShareFrom(other->GetModel());
            return;
        }
    }
    thing.LoadModel();
}

void CMission::InsertThingData(std::size_t index, std::unique_ptr<CSceneObjectThingData> data)
{
    InsertAt(thingData_, index, std::move(data));
}

void CMission::InsertMissionScript(std::size_t index, std::unique_ptr<CSceneObjectMissionScript> script)
{
    InsertAt(missionScripts_, index, std::move(script));
}

std::unique_ptr<CSceneObjectThing> CMission::RemoveThing(std::size_t index)
{
    return RemoveAt(things_, index);
}

std::unique_ptr<CSceneObjectThingData> CMission::RemoveThingData(std::size_t index)
{
    if (index < thingData_.size()) {
        for (CSceneObjectThing* thing : ThingsLinkedTo(*thingData_[index]))
            thing->SetLinkedData(nullptr);
    }
    return RemoveAt(thingData_, index);
}

std::unique_ptr<CSceneObjectMissionScript> CMission::RemoveMissionScript(std::size_t index)
{
    return RemoveAt(missionScripts_, index);
}

std::optional<std::size_t> CMission::IndexOf(const CSceneObject& object) const
{
    if (auto index = FindIn(things_, object))
        return index;
    if (auto index = FindIn(thingData_, object))
        return index;
    return FindIn(missionScripts_, object);
}

std::vector<CSceneObjectThing*> CMission::ThingsLinkedTo(const CSceneObjectThingData& data) const
{
    std::vector<CSceneObjectThing*> linked;
    for (const auto& thing : things_) {
        if (thing->GetLinkedData() == &data)
            linked.push_back(thing.get());
    }
    return linked;
}

bool CMission::Owns(const CVerdaxData* object) const
{
    const auto holds = [object](const auto& list) {
        return std::ranges::any_of(list, [object](const auto& owned) { return owned.get() == object; });
    };
    return object && (holds(things_) || holds(thingData_) || holds(missionScripts_));
}

CSceneObjectThing* CMission::FindThing(const std::string& name) const
{
    for (const auto& thing : things_) {
        if (thing->GetName() == name)
            return thing.get();
    }
    return nullptr;
}
