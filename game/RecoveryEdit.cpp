#include "game/RecoveryEdit.h"

#include "game/CMission.h"
#include "game/CStructureEdit.h"

namespace {

// Last to first, so that each removal takes the end of its list.
template <class Objects>
void RemoveAll(CStructureEdit& edit, const Objects& objects)
{
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        edit.AddRemoval(**it);
}

// Out of `recovered` into the edit, in list order. Things keep the thing data they
// point at while they are out of any mission, and the mission keeps that link when
// the data went in before them.
template <class Take>
void InsertAll(CStructureEdit& edit, std::size_t count, Take take)
{
    std::vector<std::unique_ptr<CSceneObject>> objects(count);
    for (std::size_t i = count; i-- > 0;)
        objects[i] = take(i);
    for (auto& object : objects)
        edit.AddInsertion(std::move(object));
}

}  // namespace

std::unique_ptr<CStructureEdit> MakeRecoveryEdit(CMission& mission, CMission& recovered)
{
    auto edit = std::make_unique<CStructureEdit>(mission, EditKind::Recover, std::string());
    // Things go first, so that taking thing data out finds no thing to unlink.
    RemoveAll(*edit, mission.GetThings());
    RemoveAll(*edit, mission.GetThingData());
    RemoveAll(*edit, mission.GetMissionScripts());

    // Likewise out of the copy: its things keep their links to its thing data.
    const std::size_t things = recovered.GetThings().size();
    std::vector<std::unique_ptr<CSceneObject>> takenThings(things);
    for (std::size_t i = things; i-- > 0;)
        takenThings[i] = recovered.RemoveThing(i);
    InsertAll(*edit, recovered.GetThingData().size(), [&](std::size_t i) { return recovered.RemoveThingData(i); });
    for (auto& thing : takenThings)
        edit->AddInsertion(std::move(thing));
    InsertAll(*edit, recovered.GetMissionScripts().size(),
              [&](std::size_t i) { return recovered.RemoveMissionScript(i); });
    return edit;
}
