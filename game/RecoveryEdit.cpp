#include "game/RecoveryEdit.h"

#include "game/CMission.h"
#include "game/CStructureEdit.h"
#include "scene/CMemoryReadBuffer.h"

#include <map>
#include <sstream>

namespace {

std::string ElementBytes(CSceneObject& object)
{
    std::stringstream bytes(std::ios::in | std::ios::out | std::ios::binary);
    object.Save(bytes);
    return bytes.str();
}

// The mission as its save reads back: what a copy of it would read as.
std::unique_ptr<CMission> ReadBack(CMission& mission)
{
    std::stringstream saved(std::ios::in | std::ios::out | std::ios::binary);
    mission.SaveTo(saved);
    auto readBack = std::make_unique<CMission>(mission.GetName(), CMission::ExplicitFolder{mission.GetFolder()});
    readBack->LoadFrom(saved);
    return readBack;
}

// How many objects agree from the front and from the back (not overlapping).
struct Agreement {
    std::size_t front = 0;
    std::size_t back = 0;
};

template <class Objects>
Agreement Agree(const Objects& readBack, const Objects& copy)
{
    const auto same = [&](std::size_t a, std::size_t b) {
        return ElementBytes(*readBack[a]) == ElementBytes(*copy[b]);
    };
    Agreement agreement;
    const std::size_t shorter = std::min(readBack.size(), copy.size());
    while (agreement.front < shorter && same(agreement.front, agreement.front))
        ++agreement.front;
    while (agreement.front + agreement.back < shorter &&
           same(readBack.size() - 1 - agreement.back, copy.size() - 1 - agreement.back))
        ++agreement.back;
    return agreement;
}

class RecoveryEditBuilder {
public:
    RecoveryEditBuilder(CMission& mission, CMission& recovered) : mission_(mission), recovered_(recovered) {}

    std::unique_ptr<CStructureEdit> Build()
    {
        const auto readBack = ReadBack(mission_);
        const Agreement things = Agree(readBack->GetThings(), recovered_.GetThings());
        const Agreement data = Agree(readBack->GetThingData(), recovered_.GetThingData());
        const Agreement scripts = Agree(readBack->GetMissionScripts(), recovered_.GetMissionScripts());
        // Things out first, so that taking thing data out finds no thing to unlink.
        Remove(mission_.GetThings(), things);
        Remove(mission_.GetThingData(), data);
        Remove(mission_.GetMissionScripts(), scripts);
        Keep(mission_.GetThings(), recovered_.GetThings(), things);
        Keep(mission_.GetThingData(), recovered_.GetThingData(), data);
        const auto wantedLinks = WantedLinks();
        // Thing data in before things, which keep their links to it.
        Insert(recovered_.GetThingData(), data, [this](std::size_t i) { return recovered_.RemoveThingData(i); });
        Insert(recovered_.GetThings(), things, [this](std::size_t i) { return recovered_.RemoveThing(i); });
        Insert(recovered_.GetMissionScripts(), scripts,
               [this](std::size_t i) { return recovered_.RemoveMissionScript(i); });
        Link(wantedLinks);
        return std::move(edit_);
    }

private:
    // Last to first, so that each removal takes the end of what goes.
    template <class Objects>
    void Remove(const Objects& objects, Agreement agreement)
    {
        for (std::size_t i = objects.size() - agreement.back; i-- > agreement.front;)
            edit_->AddRemoval(*objects[i]);
    }

    // The copy's objects that agree stand for the mission's.
    template <class Objects>
    void Keep(const Objects& own, const Objects& copy, Agreement agreement)
    {
        for (std::size_t i = 0; i < agreement.front; ++i)
            final_[copy[i].get()] = own[i].get();
        for (std::size_t i = 0; i < agreement.back; ++i)
            final_[copy[copy.size() - 1 - i].get()] = own[own.size() - 1 - i].get();
    }

    // The copy's objects between those that agree, out of it into the edit at their
    // place; taken last to first, inserted first to last.
    template <class Objects, class Take>
    void Insert(const Objects& copy, Agreement agreement, Take take)
    {
        const std::size_t end = copy.size() - agreement.back;
        std::vector<std::unique_ptr<CSceneObject>> taken(end - agreement.front);
        for (std::size_t i = end; i-- > agreement.front;)
            taken[i - agreement.front] = take(i);
        for (std::size_t k = 0; k < taken.size(); ++k)
            edit_->AddInsertion(std::move(taken[k]), agreement.front + k);
    }

    CSceneObject* Final(CSceneObject* copyObject) const
    {
        const auto it = final_.find(copyObject);
        return it == final_.end() ? copyObject : it->second;
    }

    // Every thing of the result with the thing data the copy links it to, as it
    // will be in the mission.
    std::vector<std::pair<CSceneObjectThing*, CSceneObjectThingData*>> WantedLinks() const
    {
        std::vector<std::pair<CSceneObjectThing*, CSceneObjectThingData*>> links;
        for (const auto& thing : recovered_.GetThings()) {
            CSceneObjectThingData* data = thing->GetLinkedData();
            links.emplace_back(static_cast<CSceneObjectThing*>(Final(thing.get())),
                               data ? static_cast<CSceneObjectThingData*>(Final(data)) : nullptr);
        }
        return links;
    }

    // A link the changes above leave otherwise: a kept thing whose thing data goes
    // or is another, a new thing linked to kept thing data (dropped as it goes in).
    void Link(const std::vector<std::pair<CSceneObjectThing*, CSceneObjectThingData*>>& wanted)
    {
        for (const auto& [thing, data] : wanted) {
            if (thing->GetLinkedData() != data)
                edit_->AddLink(*thing, data);
        }
    }

    CMission& mission_;
    CMission& recovered_;
    std::unique_ptr<CStructureEdit> edit_ = std::make_unique<CStructureEdit>(mission_, EditKind::Recover, std::string());
    std::map<CSceneObject*, CSceneObject*> final_;  // a copy's object that agrees → the mission's
};

}  // namespace

std::unique_ptr<CStructureEdit> MakeRecoveryEdit(CMission& mission, CMission& recovered)
{
    return RecoveryEditBuilder(mission, recovered).Build();
}
