#include "app/CommandLine.h"

#include "app/CVerdaxApp.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr std::string_view kPrefixOption = "--prefix";

CommandLine Mistake(std::string error)
{
    CommandLine line;
    line.action = CommandLine::Action::Usage;
    line.error = std::move(error);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args)
{
    CommandLine line;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (options && arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (options && (arg == kPrefixOption || arg.starts_with("--prefix="))) {
            std::string_view folder;
            if (arg == kPrefixOption) {
                if (++i == args.size())
                    return Mistake("--prefix needs a folder");
                folder = args[i];
            } else {
                folder = arg.substr(kPrefixOption.size() + 1);
            }
            if (folder.empty())
                return Mistake("--prefix needs a folder");
            line.prefix = std::string(folder);
        } else if (options && arg.size() > 1 && arg.front() == '-') {
            return Mistake("unknown option '" + std::string(arg) + "'");
        } else if (line.mission) {
            return Mistake("one mission only: '" + *line.mission + "' and '" + std::string(arg) + "'");
        } else if (arg.empty()) {
            return Mistake("the mission's name is empty");
        } else {
            line.mission = std::string(arg);
        }
    }
    return line;
}

std::string CommandLineHelp()
{
    return "Usage: verdax [OPTION]... [MISSION]\n"
           "Start Verdax, the world editor for the missions of the game Dravo.\n"
           "\n"
           "The editor finds the game in a Wine prefix, lists its missions and opens the\n"
           "world window. MISSION, the name of a mission (its folder under the game's\n"
           "\"Missions\"), is then opened and selected in the tree, as a double-click on it\n"
           "would.\n"
           "\n"
           "Options:\n"
           "      --prefix DIR   the Wine prefix that holds the game, in place of\n"
           "                     $WINEPREFIX (default ~/.wine)\n"
           "  -h, --help         show this help and exit\n"
           "      --version      show the version and exit\n"
           "\n"
           "Environment:\n"
           "  WINEPREFIX         the Wine prefix, when --prefix is not given\n"
           "  VERDAX_CODEPAGE    the code page of the game's texts: 1250, 1251 or 1252; by\n"
           "                     default the one Wine records in the prefix, else the\n"
           "                     locale's\n"
           "\n"
           "Exit status:\n"
           "  0 when the editor is closed, 1 when it cannot start, 2 for a wrong command\n"
           "  line.\n";
}

void ApplyCommandLine(const CommandLine& line, CVerdaxApp& app)
{
    if (line.prefix) {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::absolute(*line.prefix, error).lexically_normal();
        setenv("WINEPREFIX", error ? line.prefix->c_str() : folder.c_str(), 1);
    }
    if (line.mission)
        app.SetStartMission(*line.mission);
}
