#pragma once
// The objects of a mission loaded in the editor, as they are in memory (with any
// edits not yet saved). Read only on the interface thread, which owns the mission,
// and only while the mission lives: a search reads them while it is made and never
// afterwards, so the mission may go while the search runs on.

#include "game/IMissionObjectSource.h"

class CMission;

class CLoadedMissionSource final : public IMissionObjectSource {
public:
    explicit CLoadedMissionSource(const CMission& mission);

    const std::string& GetMissionName() const override { return name_; }
    bool IsInMemory() const override { return true; }
    const ISceneFileOwner& GetObjects() override;

private:
    const CMission& mission_;
    std::string name_;
};
