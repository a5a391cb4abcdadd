#include "game/CSceneObjectStore.h"

// Vectors cleared rather than emptied by swapping: the next file read into the same
// store reuses their room.
void CSceneObjectStore::Clear()
{
    things_.clear();
    thingData_.clear();
    missionScripts_.clear();
}
