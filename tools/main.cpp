// verdax-tool: the editor's readers and writers from the command line.

#include "tools/ToolCommand.h"

#include "platform/CodePage.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void PrintHelp(std::ostream& out)
{
    out << "usage: verdax-tool COMMAND [ARGS]\n"
           "       verdax-tool --help | --version\n\n"
           "Reads the game's files as the Verdax editor does. The game is found through\n"
           "the Wine prefix in $WINEPREFIX (default ~/.wine). The game's texts are in its\n"
           "code page: $VERDAX_CODEPAGE (1250, 1251 or 1252) if set, else the \"ACP\" that\n"
           "Wine records in the prefix, else the one of the locale.\n\ncommands:\n";
    for (const auto& command : tool::ToolCommands())
        out << "  " << command.name << ' ' << command.usage << "\n      " << command.summary << '\n';
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return tool::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintHelp(std::cout);
        return tool::kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "verdax-tool " << VERDAX_VERSION << '\n';
        return tool::kExitOk;
    }
    // Every command reads or prints the game's texts in its code page.
    if (const std::string error = platform::CodePageSettingError(); !error.empty()) {
        std::cerr << "verdax-tool: " << error << '\n';
        return tool::kExitUsage;
    }
    platform::TakeAnsiCodePage();  // once for the run: every path and text is converted with it
    for (const auto& command : tool::ToolCommands()) {
        if (command.name == args[0])
            return command.run(std::span<const std::string>(args).subspan(1));
    }
    std::cerr << "verdax-tool: unknown command '" << args[0] << "'\n";
    PrintHelp(std::cerr);
    return tool::kExitUsage;
}
