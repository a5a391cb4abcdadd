#include "game/CMissionFileSource.h"

#include "game/CMission.h"
#include "model/FileBytes.h"
#include "platform/FileSystem.h"
#include "scene/CMemoryReadBuffer.h"
#include "scene/CScene2File.h"

#include <istream>
#include <utility>

CMissionFileSource::CMissionFileSource(std::string missionName, std::filesystem::path sceneFile)
    : name_(std::move(missionName)), sceneFile_(std::move(sceneFile))
{
}

std::unique_ptr<CMissionFileSource> CMissionFileSource::ForMission(const CMission& mission)
{
    const auto path = platform::FileSystem().Resolve(mission.GetFolder() + std::string(CScene2File::kFileName));
    return std::make_unique<CMissionFileSource>(mission.GetName(), path);
}

const ISceneFileOwner& CMissionFileSource::GetObjects()
{
    objects_.Clear();
    const FileBytes bytes = ReadResolvedFileBytes(sceneFile_);
    CMemoryReadBuffer buffer;
    buffer.Reset({reinterpret_cast<const char*>(bytes.data.get()), bytes.size});
    std::iostream stream(&buffer);
    CScene2File file;
    file.SetOwner(&objects_);
    try {
        file.ReadFrom(stream);
    } catch (...) {
        objects_.Clear();
        throw;
    }
    return objects_;
}
