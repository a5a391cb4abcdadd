#pragma once
// Runs the built verdax-tool in a shell with its output captured, for the tests of
// its commands.

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace testsupport {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs verdax-tool with `args`; `environment` holds NAME=VALUE settings for it.
inline ToolRun RunTool(const std::vector<std::string>& args, const std::vector<std::string>& environment = {})
{
    const TempDir outputs;
    const auto outPath = outputs.Path() / "out";
    const auto errPath = outputs.Path() / "err";
    std::string command = "env";
    for (const auto& setting : environment)
        command += " " + ShellQuoted(setting);
    command += " " + ShellQuoted(VERDAX_TOOL_PATH);
    for (const auto& arg : args)
        command += " " + ShellQuoted(arg);
    command += " >" + ShellQuoted(outPath.string()) + " 2>" + ShellQuoted(errPath.string());
    const int raw = std::system(command.c_str());
    ToolRun run;
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

}  // namespace testsupport
