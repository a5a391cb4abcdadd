// verdax-tool missions: the missions of the installed game, as the editor's
// catalogue lists them at start-up.

#include "tools/ToolCommand.h"

#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <iostream>

namespace tool {
namespace {

int RunMissions(std::span<const std::string> args);

const ToolCommand kMissions{
    "missions",
    "",
    "list the missions of the game named by the registry, one name per line, in byte order",
    RunMissions,
};

const ToolCommandRegistrar kRegistrar(kMissions);

// The names are compared as the game's bytes (code page text) and printed as UTF-8.
int RunMissions(std::span<const std::string> args)
{
    if (!args.empty())
        return ReportUsage(kMissions);
    CDravoRoot root;
    root.Load();  // a registry failure shows message 1003 through the presenter
    if (!root.IsLoaded())
        return kExitFailure;
    std::vector<std::string> names;
    for (const auto& mission : root.GetMissions())
        names.push_back(mission->GetName());
    std::ranges::sort(names);
    for (const auto& name : names)
        std::cout << platform::ToUtf8(name) << '\n';
    return kExitOk;
}

}  // namespace
}  // namespace tool
