#include "core/GameFolders.h"

namespace {

const IGameFolders* g_folders = nullptr;

// The game's default install folder, as the root holds it before the registry is read.
const CFixedGameFolders& DefaultFolders()
{
    static const CFixedGameFolders folders("C:\\program files\\dravo\\Models\\", "C:\\program files\\dravo\\Maps\\");
    return folders;
}

}  // namespace

const IGameFolders& GameFolders()
{
    return g_folders ? *g_folders : DefaultFolders();
}

void SetGameFolders(const IGameFolders* folders)
{
    g_folders = folders;
}
