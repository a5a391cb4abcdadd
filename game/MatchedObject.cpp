#include "game/MatchedObject.h"

#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/ISceneFileOwner.h"

#include <memory>
#include <vector>

namespace {

template <class Object>
CSceneObject* FindIn(const std::vector<std::unique_ptr<Object>>& list, const SearchMatch& match)
{
    if (match.index < list.size() && list[match.index]->GetName() == match.object)
        return list[match.index].get();
    for (const auto& object : list) {
        if (object->GetName() == match.object)
            return object.get();
    }
    return nullptr;
}

}  // namespace

CSceneObject* FindMatchedObject(const ISceneFileOwner& objects, const SearchMatch& match)
{
    switch (match.list) {
    case SearchList::kThings:
        return FindIn(objects.GetThings(), match);
    case SearchList::kThingData:
        return FindIn(objects.GetThingData(), match);
    case SearchList::kMissionScripts:
        return FindIn(objects.GetMissionScripts(), match);
    }
    return nullptr;
}
