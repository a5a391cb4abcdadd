#pragma once
// The objects of a mission read from its object file "scene2.bin" alone: no world
// model, no models of things, no links between things and thing data. The file's
// path is resolved when the source is made, so that reading it later, on any one
// thread, touches no state of the process: neither the file system's lookup nor the
// message presenter (the reader's errors travel as exceptions; see
// platform::ScopedThreadPresenter for a thread that must show nothing).

#include "game/CSceneObjectStore.h"
#include "game/IMissionObjectSource.h"

#include <filesystem>
#include <memory>
#include <string>

class CMission;

class CMissionFileSource final : public IMissionObjectSource {
public:
    // `sceneFile`: the object file's path on the Linux file system.
    CMissionFileSource(std::string missionName, std::filesystem::path sceneFile);

    // The object file in `mission`'s folder, resolved now through the file system.
    static std::unique_ptr<CMissionFileSource> ForMission(const CMission& mission);

    const std::string& GetMissionName() const override { return name_; }
    bool IsInMemory() const override { return false; }
    // Reads the whole file anew. CVerdaxException 3002 when it cannot be opened,
    // 3005 when it reads short, and the scene file's own codes for its content.
    const ISceneFileOwner& GetObjects() override;
    void Release() override { objects_.Clear(); }

    const std::filesystem::path& GetSceneFilePath() const { return sceneFile_; }

private:
    std::string name_;
    std::filesystem::path sceneFile_;
    CSceneObjectStore objects_;
};
