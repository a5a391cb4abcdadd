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

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // The object file alone, read as Load reads it, for what only writes the objects
    // (a save's bytes depend on no model): neither the world model nor any thing's
    // model is read, and the things have none. Throws as Load does.
    void LoadObjects();
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

    // Objects coming and going at an index of their list (0 to the list's size for
    // an insertion, below it for a removal; std::out_of_range otherwise). Insertion
    // takes ownership. A thing's link to thing data that this mission does not hold
    // is dropped, and a thing without a loaded model gets it at once, shared with a
    // thing of the same model name when one has it loaded. Removal gives ownership
    // back; a thing data is first unlinked from every thing linked to it, so that no
    // thing of the mission points at an object the mission does not hold.
    void InsertThing(std::size_t index, std::unique_ptr<CSceneObjectThing> thing);
    void InsertThingData(std::size_t index, std::unique_ptr<CSceneObjectThingData> data);
    void InsertMissionScript(std::size_t index, std::unique_ptr<CSceneObjectMissionScript> script);
    std::unique_ptr<CSceneObjectThing> RemoveThing(std::size_t index);
    std::unique_ptr<CSceneObjectThingData> RemoveThingData(std::size_t index);
    std::unique_ptr<CSceneObjectMissionScript> RemoveMissionScript(std::size_t index);

    // The position of `object` in its list; nothing when the mission does not hold it.
    std::optional<std::size_t> IndexOf(const CSceneObject& object) const;
    // The things linked to `data`, in list order.
    std::vector<CSceneObjectThing*> ThingsLinkedTo(const CSceneObjectThingData& data) const;

    // The first thing, in list order, whose name is exactly `name`; null if none.
    CSceneObjectThing* FindThing(const std::string& name) const;

    // Whether `object` is one of this mission's things, thing data or mission scripts.
    bool Owns(const CVerdaxData* object) const;

    C4dsModel& GetWorldModel() { return worldModel_; }
    const C4dsModel& GetWorldModel() const { return worldModel_; }
    // The header and fixed sections of the object file, as read.
    const CScene2File& GetSceneFile() const { return sceneFile_; }

private:
    // Which models a load reads besides the objects.
    enum class ModelsRead { kAll, kThingModels, kNone };
    template <class ReadSceneFile>
    void LoadWith(ReadSceneFile readSceneFile, ModelsRead models);
    void LoadWorldModel();
    void LinkThingData();
    void GiveModelOnLoad(CSceneObjectThing& thing);
    void LoadInsertedModel(CSceneObjectThing& thing) const;
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
    // While a load that reads the things' models reads the object file: the first
    // thing of each model name, whose model the later ones share.
    std::optional<std::unordered_map<std::string_view, const C4dsModel*>> modelsOfLoad_;
};
