#include "game/CLoadedMissionSource.h"

#include "game/CMission.h"

CLoadedMissionSource::CLoadedMissionSource(const CMission& mission) : mission_(mission), name_(mission.GetName()) {}

const ISceneFileOwner& CLoadedMissionSource::GetObjects()
{
    return mission_;
}
