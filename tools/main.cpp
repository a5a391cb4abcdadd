// verdax-tool: the editor's readers and writers from the command line.

#include "tools/ToolCommand.h"

#include "core/Version.h"
#include "platform/CodePage.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void PrintHelp(std::ostream& out)
{
    out << "Usage: verdax-tool COMMAND [ARGS]\n"
           "  or:  verdax-tool --help | --version\n"
           "Read and write the game's files as the Verdax editor does.\n\n"
           "The game is found through the Wine prefix in $WINEPREFIX (default ~/.wine).\n"
           "The game's texts are in its code page: $VERDAX_CODEPAGE (1250, 1251 or 1252)\n"
           "if set, else the \"ACP\" that Wine records in the prefix, else the one of the\n"
           "locale.\n\nCommands:\n";
    for (const auto& command : tool::ToolCommands()) {
        out << "  " << command.name;
        if (!command.usage.empty())
            out << ' ' << command.usage;
        out << "\n      " << command.summary << '\n';
        for (std::size_t at = 0; at < command.details.size();) {
            const std::size_t end = command.details.find('\n', at);
            out << "      " << command.details.substr(at, end - at) << '\n';
            at = end == std::string_view::npos ? command.details.size() : end + 1;
        }
    }
    out << "\nExit status:\n  0 when the command succeeded, 1 when it failed, 2 for a wrong command line.\n";
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
        std::cout << "verdax-tool " << kVerdaxVersion << '\n';
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
