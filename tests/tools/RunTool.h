#pragma once
// Runs a built program (verdax-tool, the editor) as a child process with given
// arguments and extra environment variables, and collects its standard output,
// standard error and exit status.

#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ToolRun {
    int status = -1;  // the exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

inline ToolRun RunProgram(const char* program, const std::vector<std::string>& args,
                          const std::vector<std::pair<std::string, std::string>>& environment = {})
{
    const TempDir capture;
    const auto outPath = capture.Path() / "stdout";
    const auto errPath = capture.Path() / "stderr";
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        for (const auto& [name, value] : environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(program)};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(program, argv.data());
        ::_exit(127);
    }
    ToolRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

#ifdef VERDAX_TOOL
inline ToolRun RunTool(const std::vector<std::string>& args,
                       const std::vector<std::pair<std::string, std::string>>& environment = {})
{
    return RunProgram(VERDAX_TOOL, args, environment);
}
#endif

}  // namespace testsupport
