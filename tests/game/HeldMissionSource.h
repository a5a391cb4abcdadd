#pragma once
// A mission for the search whose read holds the worker until the test lets it go:
// one thing, "gate", not in memory, read only once `release` is ready.

#include "game/CSceneObjectStore.h"
#include "game/IMissionObjectSource.h"
#include "scene/CSceneObjectThing.h"

#include <future>
#include <memory>
#include <string>
#include <utility>

class HeldMissionSource final : public IMissionObjectSource {
public:
    HeldMissionSource(std::string name, std::shared_future<void> release)
        : name_(std::move(name)), release_(std::move(release))
    {
        auto thing = std::make_unique<CSceneObjectThing>();
        thing->SetName("gate");
        objects_.AddThing(std::move(thing));
    }
    const std::string& GetMissionName() const override { return name_; }
    bool IsInMemory() const override { return false; }
    const ISceneFileOwner& GetObjects() override
    {
        release_.wait();
        return objects_;
    }

private:
    std::string name_;
    std::shared_future<void> release_;
    CSceneObjectStore objects_;
};
