#pragma once
// The installed game: its install folder (read from the registry) and the paths of
// its sub-folders. The mission catalogue side is being built.

#include "core/GameFolders.h"

#include <string>

class CDravoRoot : public IGameFolders {
public:
    CDravoRoot();
    ~CDravoRoot() override;
    CDravoRoot(const CDravoRoot&) = delete;
    CDravoRoot& operator=(const CDravoRoot&) = delete;

    // The install folder from the registry value "idir" of "Software\Kestrel Works\Dravo";
    // throws CVerdaxException 2 when it cannot be read.
    static std::string ReadInstallFolder();

    void SetInstallFolder(const std::string& folder) { installFolder_ = folder; }
    const std::string& GetInstallFolder() const { return installFolder_; }

    std::string GetMissionsFolder() const { return installFolder_ + "Missions\\"; }
    std::string GetModelsFolder() const override { return installFolder_ + "Models\\"; }
    std::string GetMapsFolder() const override { return installFolder_ + "Maps\\"; }

private:
    std::string installFolder_ = "C:\\program files\\dravo\\";
};
