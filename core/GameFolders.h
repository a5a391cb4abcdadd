#pragma once
// Where the readers below the game layer find the game's models and maps. The game
// root provides the folders (it knows the install folder); readers ask through this
// interface so that they need not know the root. Folders are Windows paths ending
// in a backslash.

#include <string>
#include <utility>

class IGameFolders {
public:
    virtual ~IGameFolders() = default;
    virtual std::string GetModelsFolder() const = 0;
    virtual std::string GetMapsFolder() const = 0;
};

// The provider in force; without one, the default install folder's sub-folders.
const IGameFolders& GameFolders();

// Installs `folders` (not owned); null restores the default.
void SetGameFolders(const IGameFolders* folders);

// Fixed folders, for the command-line tool and tests.
class CFixedGameFolders final : public IGameFolders {
public:
    CFixedGameFolders(std::string modelsFolder, std::string mapsFolder)
        : models_(std::move(modelsFolder)), maps_(std::move(mapsFolder)) {}
    std::string GetModelsFolder() const override { return models_; }
    std::string GetMapsFolder() const override { return maps_; }

private:
    std::string models_;
    std::string maps_;
};
