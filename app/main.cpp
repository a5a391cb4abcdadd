// The editor's entry point.
#include "app/CVerdaxApp.h"
#include "app/CommandLine.h"

#include "core/Version.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const CommandLine line = ParseCommandLine(args);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::cout << CommandLineHelp();
        return 0;
    case CommandLine::Action::Version:
        std::cout << "verdax " << kVerdaxVersion << '\n';
        return 0;
    case CommandLine::Action::Usage:
        std::cerr << "verdax: " << line.error << "\n\n" << CommandLineHelp();
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    // Every argument was the editor's: Qt is given none of them to read as its own
    // (a mission named "-reverse" would turn the layout round).
    int qtArgc = 1;
    CVerdaxApp app(qtArgc, argv);
    ApplyCommandLine(line, app);
    if (!app.InitInstance())
        return app.ExitInstance(1);
    return app.ExitInstance(app.exec());
}
