#pragma once
// The objects of a scene file and nothing else: the owner a scene file reads into
// when only its objects are wanted (no world model, no links, no models of things),
// as a search of every mission does.

#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/ISceneFileOwner.h"

#include <memory>
#include <string>
#include <vector>

class CSceneObjectStore final : public ISceneFileOwner {
public:
    // `folder` is where a scene file read by path lies; empty when it is read from bytes.
    explicit CSceneObjectStore(std::string folder = {}) : folder_(std::move(folder)) {}

    std::string GetFolder() const override { return folder_; }

    void AddThing(std::unique_ptr<CSceneObjectThing> thing) override { things_.push_back(std::move(thing)); }
    void AddThingData(std::unique_ptr<CSceneObjectThingData> data) override { thingData_.push_back(std::move(data)); }
    void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> script) override
    {
        missionScripts_.push_back(std::move(script));
    }
    const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const override { return things_; }
    const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override { return thingData_; }
    const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
    {
        return missionScripts_;
    }

    // Destroys every object.
    void Clear();

private:
    std::string folder_;
    std::vector<std::unique_ptr<CSceneObjectThing>> things_;
    std::vector<std::unique_ptr<CSceneObjectThingData>> thingData_;
    std::vector<std::unique_ptr<CSceneObjectMissionScript>> missionScripts_;
};
