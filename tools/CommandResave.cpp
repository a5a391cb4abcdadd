// verdax-tool resave MISSION: loads a mission and saves it as the editor's
// "Сохранить Миссию" does, writing "scene2.bin.Verdax" in the mission folder.

#include "core/CVerdaxException.h"
#include "platform/FileSystem.h"
#include "tools/MissionLocator.h"
#include "tools/ToolCommand.h"

#include <iostream>

namespace {

int RunResave(std::span<const std::string> args);

const tool::ToolCommand kResave{
    "resave",
    "MISSION",
    "load a mission and write its scene2.bin.Verdax as the editor's save does",
    RunResave,
};

int RunResave(std::span<const std::string> args)
{
    if (args.size() != 1)
        return tool::ReportUsage(kResave);
    auto located = tool::LocateMission(args[0]);
    const tool::ScopedGameFolders folders(*located.folders);
    try {
        located.mission->Load();
        located.mission->Save();
    } catch (const CVerdaxException& error) {
        return tool::ReportError(error);
    }
    const auto output = located.mission->GetFolder() + std::string(CScene2File::kFileName) +
                        std::string(CScene2File::kOutputSuffix);
    std::cout << platform::FileSystem().Resolve(output).string() << '\n';
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kResave);

}  // namespace
