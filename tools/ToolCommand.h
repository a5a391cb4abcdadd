#pragma once
// The subcommands of verdax-tool. Each Command*.cpp defines one ToolCommand and
// registers it with a static ToolCommandRegistrar; main.cpp dispatches by name.

#include <span>
#include <string>
#include <string_view>
#include <vector>

class CVerdaxException;

namespace tool {

enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

struct ToolCommand {
    std::string_view name;
    std::string_view usage;    // the arguments, as in "FILE [--maps DIR]"
    std::string_view summary;  // one line for --help
    int (*run)(std::span<const std::string> args);
    std::string_view details = {};  // further lines for --help, each ending in a newline
};

struct ToolCommandRegistrar {
    explicit ToolCommandRegistrar(const ToolCommand& command);
};

// Every registered command, sorted by name.
std::vector<ToolCommand> ToolCommands();

// Prints "error CODE" (and ": TEXT" when the error has one, converted to UTF-8)
// on standard error and returns kExitFailure.
int ReportError(const CVerdaxException& error);

// Prints "usage: verdax-tool NAME USAGE" on standard error and returns kExitUsage.
int ReportUsage(const ToolCommand& command);

}  // namespace tool
