#pragma once
// A scene file owner for tests: a folder and the three lists, nothing else.

#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/ISceneFileOwner.h"

#include <filesystem>
#include <memory>
#include <vector>

class TestSceneOwner : public ISceneFileOwner {
public:
    explicit TestSceneOwner(const std::filesystem::path& folder = {}) : folder_(folder.string() + "/") {}

    std::string GetFolder() const override { return folder_; }
    void AddThing(std::unique_ptr<CSceneObjectThing> thing) override { things.push_back(std::move(thing)); }
    void AddThingData(std::unique_ptr<CSceneObjectThingData> data) override { thingData.push_back(std::move(data)); }
    void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> script) override
    {
        scripts.push_back(std::move(script));
    }
    const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const override { return things; }
    const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override { return thingData; }
    const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
    {
        return scripts;
    }

    std::vector<std::unique_ptr<CSceneObjectThing>> things;
    std::vector<std::unique_ptr<CSceneObjectThingData>> thingData;
    std::vector<std::unique_ptr<CSceneObjectMissionScript>> scripts;

private:
    std::string folder_;
};
