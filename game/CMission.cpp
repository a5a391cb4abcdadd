#include "game/CMission.h"

#include "core/CVerdaxException.h"
#include "game/CDravoRoot.h"

#include <algorithm>
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
    LoadWith([this] { sceneFile_.Read(); }, true);
}

void CMission::LoadFrom(std::iostream& sceneFile)
{
    LoadWith([&] { sceneFile_.ReadFrom(sceneFile); }, false);
}

template <class ReadSceneFile>
void CMission::LoadWith(ReadSceneFile readSceneFile, bool withWorldModel)
{
    if (loaded_)
        throw CVerdaxException(VERDAX_ERR_MISSION_LOADED);
    try {
        if (withWorldModel)
            LoadWorldModel();
        sceneFile_.SetOwner(this);
        readSceneFile();
        LinkThingData();
        LoadThingModels();
    } catch (...) {
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
// a failure included.
void CMission::LoadThingModels()
{
    std::unordered_map<std::string_view, const C4dsModel*> firstByModelName;
    for (const auto& thing : things_) {
        const auto [first, isFirst] = firstByModelName.try_emplace(thing->GetModelName(), &thing->GetModel());
        if (isFirst)
            thing->LoadModel();
        else
            thing->GetModel().ShareFrom(*first->second);
    }
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
