#pragma once
// A process told apart from every other, for files that record which process wrote
// them. The system gives a process id to a new process once the old one is gone,
// so the id comes with the moment the process started (clock ticks since boot,
// /proc/PID/stat) and the id of the boot, which together no later process shares.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform {

struct ProcessIdentity {
    pid_t pid = 0;
    std::uint64_t startTicks = 0;
    std::string bootId;  // /proc/sys/kernel/random/boot_id, without its line end
    bool operator==(const ProcessIdentity&) const = default;
};

// This process.
const ProcessIdentity& CurrentProcess();

// The process that has `pid` now; nothing when there is none, or it has ended and
// waits only to be reaped (a zombie).
std::optional<ProcessIdentity> IdentityOf(pid_t pid);

// The file name of the program the process runs: the last name of /proc/PID/exe
// (without the " (deleted)" of a program replaced since it started), else of the
// first word of /proc/PID/cmdline when the link cannot be read (another user's
// process). Nothing when the process is gone.
std::optional<std::string> ProgramName(pid_t pid);

// Whether the process `process` names still runs, and runs the program `program`
// (a file name such as "verdax"). A process id taken over by another process, of
// this program or another, is not it.
bool IsRunningProgram(const ProcessIdentity& process, std::string_view program);

}  // namespace platform
