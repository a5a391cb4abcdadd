#pragma once
// What the scene file needs of the mission that owns it: the folder its files lie
// in, a place for each object it reads, and the objects it writes, in order.

#include <memory>
#include <string>
#include <vector>

class CSceneObjectMissionScript;
class CSceneObjectThing;
class CSceneObjectThingData;

class ISceneFileOwner {
public:
    virtual ~ISceneFileOwner() = default;

    // The folder path, ending in a separator; file names are appended directly.
    virtual std::string GetFolder() const = 0;

    // Append a newly read object to the end of its list; the owner owns it from then on.
    virtual void AddThing(std::unique_ptr<CSceneObjectThing> thing) = 0;
    virtual void AddThingData(std::unique_ptr<CSceneObjectThingData> data) = 0;
    virtual void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> script) = 0;

    virtual const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const = 0;
    virtual const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const = 0;
    virtual const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const = 0;

protected:
    ISceneFileOwner() = default;
    ISceneFileOwner(const ISceneFileOwner&) = default;
    ISceneFileOwner& operator=(const ISceneFileOwner&) = default;
};
