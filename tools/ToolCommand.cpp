#include "tools/ToolCommand.h"

#include "core/CVerdaxException.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <iostream>

namespace tool {
namespace {

std::vector<ToolCommand>& Registry()
{
    static std::vector<ToolCommand> commands;
    return commands;
}

}  // namespace

ToolCommandRegistrar::ToolCommandRegistrar(const ToolCommand& command)
{
    Registry().push_back(command);
}

std::vector<ToolCommand> ToolCommands()
{
    auto commands = Registry();
    std::ranges::sort(commands, {}, &ToolCommand::name);
    return commands;
}

int ReportError(const CVerdaxException& error)
{
    std::cerr << "error " << error.GetCode();
    if (!error.GetText().empty())
        std::cerr << ": " << platform::ToUtf8(error.GetText());
    std::cerr << '\n';
    return kExitFailure;
}

int ReportUsage(const ToolCommand& command)
{
    std::cerr << "usage: verdax-tool " << command.name << ' ' << command.usage << '\n';
    return kExitUsage;
}

}  // namespace tool
