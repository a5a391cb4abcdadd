#pragma once
// A mission of the game: a folder holding its world model "scene.4ds" and its object
// file "scene2.bin". Created without loading by the game root when it lists the
// missions folder; once loaded it owns every object of the object file in three
// lists (things, thing data, mission scripts), in file order. Saving writes
// "scene2.bin.Verdax" beside the object file.

#include "core/CVerdaxData.h"
#include "model/C4dsModel.h"
#include "scene/CScene2File.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/ISceneFileOwner.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CDravoRoot;

class CMission : public CVerdaxData, public ISceneFileOwner {
public:
    // A folder given outright rather than found under a root's missions folder (the
    // command-line tool opens missions by path). A Windows path or a Linux path
    // beginning with '/', ending in a separator.
    struct ExplicitFolder {
        std::string path;
    };

    // A mission in the root's missions folder, named after its folder. Touches no file.
    CMission(std::string name, CDravoRoot* root);
    CMission(std::string name, ExplicitFolder folder);
    ~CMission() override;
    CMission(const CMission&) = delete;
    CMission& operator=(const CMission&) = delete;

    std::string GetName() const { return name_; }
    // The root's missions folder, the name and a backslash (or the explicit folder).
    std::string GetFolder() const override;
    bool IsLoaded() const { return loaded_; }

    // Reads the world model (a missing or broken one is passed over), the object file
    // with all its objects, links thing data to things of the same name and loads the
    // things' models. Throws CVerdaxException 5000 when already loaded, and passes on
    // the object file's failures; a failed load leaves the mission empty, so that it
    // can be tried again.
    void Load();
    // The objects alone, from the object file's bytes given in `sceneFile` rather than
    // read from the folder's "scene2.bin": the load above without the world model,
    // which stays unloaded. The things' models still come from disk.
    void LoadFrom(std::iostream& sceneFile);
    // Writes the object file's output when loaded; nothing otherwise.
    void Save();
    // The same bytes into `stream` (held in memory) rather than the output file.
    void SaveTo(std::iostream& stream);

    void AddThing(std::unique_ptr<CSceneObjectThing> thing) override;
    void AddThingData(std::unique_ptr<CSceneObjectThingData> data) override;
    void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> script) override;
    const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const override { return things_; }
    const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override { return thingData_; }
    const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
    {
        return missionScripts_;
    }

    // The first thing, in list order, whose name is exactly `name`; null if none.
    CSceneObjectThing* FindThing(const std::string& name) const;

    // Whether `object` is one of this mission's things, thing data or mission scripts.
    bool Owns(const CVerdaxData* object) const;

    C4dsModel& GetWorldModel() { return worldModel_; }
    const C4dsModel& GetWorldModel() const { return worldModel_; }
    // The header and fixed sections of the object file, as read.
    const CScene2File& GetSceneFile() const { return sceneFile_; }

private:
    template <class ReadSceneFile>
    void LoadWith(ReadSceneFile readSceneFile, bool withWorldModel);
    void LoadWorldModel();
    void LinkThingData();
    void LoadThingModels();
    void Unload();

    std::string name_;
    std::string explicitFolder_;
    CScene2File sceneFile_;
    C4dsModel worldModel_;
    CDravoRoot* root_ = nullptr;
    bool loaded_ = false;
    std::vector<std::unique_ptr<CSceneObjectMissionScript>> missionScripts_;
    std::vector<std::unique_ptr<CSceneObjectThingData>> thingData_;
    std::vector<std::unique_ptr<CSceneObjectThing>> things_;
};
