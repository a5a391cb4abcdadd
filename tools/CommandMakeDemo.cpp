// verdax-tool make-demo DIR: writes the demo game as a Wine prefix.

#include "tools/ToolCommand.h"
#include "tools/demo/DemoGame.h"

#include <exception>
#include <iostream>

namespace {

const tool::ToolCommand kMakeDemo{
    "make-demo",
    "DIR",
    "write a small demo installation of the game as a Wine prefix in DIR (use it as WINEPREFIX)",
    [](std::span<const std::string> args) -> int {
        if (args.size() != 1)
            return tool::ReportUsage(kMakeDemo);
        try {
            demo::WriteDemoGame(args[0]);
        } catch (const std::exception& error) {
            std::cerr << "verdax-tool make-demo: " << error.what() << '\n';
            return tool::kExitFailure;
        }
        std::cout << "demo game written to " << args[0] << "\nopen it with WINEPREFIX=" << args[0] << '\n';
        return tool::kExitOk;
    },
};

const tool::ToolCommandRegistrar kRegistrar(kMakeDemo);

}  // namespace
