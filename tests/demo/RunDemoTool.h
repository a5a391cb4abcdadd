#pragma once
// Runs the built verdax-tool as a separate process, with its output captured.

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace demotest {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// `environment` holds NAME=VALUE settings for the tool.
inline ToolRun RunTool(const std::vector<std::string>& args, const std::vector<std::string>& environment = {})
{
    const testsupport::TempDir outputs;
    std::string command = "env";
    for (const auto& setting : environment)
        command += " " + Quoted(setting);
    command += " " + Quoted(VERDAX_TOOL_PATH);
    for (const auto& arg : args)
        command += " " + Quoted(arg);
    command += " >" + Quoted((outputs.Path() / "out").string()) + " 2>" + Quoted((outputs.Path() / "err").string());
    const int raw = std::system(command.c_str());
    ToolRun run;
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = testsupport::ReadFile(outputs.Path() / "out");
    run.err = testsupport::ReadFile(outputs.Path() / "err");
    return run;
}

}  // namespace demotest
