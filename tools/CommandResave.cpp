// verdax-tool resave MISSION: loads a mission and saves it as the editor's
// "Сохранить Миссию" does, writing "scene2.bin.Verdax" in the mission folder. When
// the save changed objects on its own (a kind the writer does not know, a chunk it
// drops), a line on standard error says how many, and which command lists them.

#include "core/CVerdaxException.h"
#include "game/CMissionChanges.h"
#include "platform/FileSystem.h"
#include "tools/MissionLocator.h"
#include "tools/ToolCommand.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace {

int RunResave(std::span<const std::string> args);

const tool::ToolCommand kResave{
    "resave",
    "MISSION",
    "load a mission and write its scene2.bin.Verdax as the editor's save does",
    RunResave,
};

// The argument as a shell takes it back: quoted when it holds anything but letters,
// digits and the usual path characters.
std::string ShellWord(const std::string& word)
{
    const bool plain = !word.empty() && std::ranges::all_of(word, [](unsigned char c) {
        return c >= 0x80 || std::isalnum(c) || c == '/' || c == '.' || c == '_' || c == '-';
    });
    if (plain)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Only said when there is something to say; a comparison that fails says nothing:
// the save itself succeeded.
void TellChangesBySave(const std::string& missionFolder, const std::string& argument)
{
    std::size_t count = 0;
    try {
        count = CountChangesByUneditedSave(missionFolder);
    } catch (const CVerdaxException&) {
        return;
    }
    if (count == 0)
        return;
    std::cerr << "verdax-tool: the save changed " << count << (count == 1 ? " object" : " objects")
              << " by itself, without an edit; \"verdax-tool diff " << ShellWord(argument) << "\" lists "
              << (count == 1 ? "it" : "them") << '\n';
}

int RunResave(std::span<const std::string> args)
{
    if (args.size() != 1)
        return tool::ReportUsage(kResave);
    auto located = tool::LocateMission(args[0]);
    const tool::ScopedGameFolders folders(*located.folders);
    try {
        // The save's bytes depend on no model: none is read.
        located.mission->LoadObjects();
        located.mission->Save();
    } catch (const CVerdaxException& error) {
        return tool::ReportError(error);
    }
    const std::string folder = located.mission->GetFolder();
    // Its objects are done with: their memory serves the comparison's reads.
    located.mission.reset();
    const auto output = folder + std::string(CScene2File::kFileName) + std::string(CScene2File::kOutputSuffix);
    std::cout << platform::FileSystem().Resolve(output).string() << '\n';
    TellChangesBySave(folder, args[0]);
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kResave);

}  // namespace
