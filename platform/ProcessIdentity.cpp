#include "platform/ProcessIdentity.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace platform {
namespace {

// The files of /proc are small; a cap keeps a strange one from being read whole.
constexpr std::size_t kMaxProcFile = 64 * 1024;

std::optional<std::string> ReadProcFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(kMaxProcFile, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return std::nullopt;
    return text;
}

std::string BootId()
{
    std::string id = ReadProcFile("/proc/sys/kernel/random/boot_id").value_or(std::string());
    while (!id.empty() && (id.back() == '\n' || id.back() == '\0'))
        id.pop_back();
    return id;
}

// "PID (NAME) STATE PPID ...": the name may hold spaces and parentheses, so the
// fields are counted from the last ')'. The state is field 3, the start time 22.
struct StatFields {
    char state = '?';
    std::uint64_t startTicks = 0;
};

std::optional<StatFields> ReadStat(pid_t pid)
{
    const auto text = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
    if (!text)
        return std::nullopt;
    const std::size_t close = text->rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    StatFields fields;
    int field = 2;
    std::size_t at = close + 1;
    while (at < text->size()) {
        while (at < text->size() && (*text)[at] == ' ')
            ++at;
        const std::size_t end = std::min(text->find(' ', at), text->size());
        if (end == at)
            break;
        ++field;
        const std::string_view word(text->data() + at, end - at);
        if (field == 3) {
            fields.state = word[0];
        } else if (field == 22) {
            const auto [ptr, error] = std::from_chars(word.data(), word.data() + word.size(), fields.startTicks);
            if (error != std::errc() || ptr != word.data() + word.size())
                return std::nullopt;
            return fields;
        }
        at = end;
    }
    return std::nullopt;
}

std::string LastName(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<std::string> ExecutableName(pid_t pid)
{
    std::string target(4096, '\0');
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
        return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.ends_with(kDeleted))
        target.resize(target.size() - kDeleted.size());
    return LastName(target);
}

std::optional<std::string> CommandName(pid_t pid)
{
    const auto text = ReadProcFile("/proc/" + std::to_string(pid) + "/cmdline");
    if (!text || text->empty())
        return std::nullopt;
    return LastName(std::string_view(text->c_str()));
}

}  // namespace

const ProcessIdentity& CurrentProcess()
{
    // Read at each call: a child of fork() is a process of its own.
    thread_local ProcessIdentity identity;
    if (identity.pid != ::getpid())
        identity = IdentityOf(::getpid()).value_or(ProcessIdentity{::getpid(), 0, BootId()});
    return identity;
}

std::optional<ProcessIdentity> IdentityOf(pid_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    const auto stat = ReadStat(pid);
    if (!stat || stat->state == 'Z' || stat->state == 'X')
        return std::nullopt;
    return ProcessIdentity{pid, stat->startTicks, BootId()};
}

std::optional<std::string> ProgramName(pid_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    if (auto name = ExecutableName(pid))
        return name;
    return CommandName(pid);
}

bool IsRunningProgram(const ProcessIdentity& process, std::string_view program)
{
    const auto now = IdentityOf(process.pid);
    if (!now || *now != process)
        return false;
    const auto name = ProgramName(process.pid);
    // The name is read after the identity: a process gone in between leaves no name.
    return name && *name == program && IdentityOf(process.pid) == now;
}

}  // namespace platform
