#pragma once
// A child process running a program under a file name of the test's choosing (a
// copy of /bin/sleep, sleeping a minute), for tests that tell processes apart by
// the program they run. What the child does before it becomes that program runs in
// the child, as that process (its id and start time stay across exec).

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class NamedChild {
public:
    NamedChild(const std::filesystem::path& folder, const std::string& name, const std::function<void()>& first = {})
        : program_(folder / name)
    {
        std::filesystem::copy_file("/bin/sleep", program_, std::filesystem::copy_options::overwrite_existing);
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipe[0]);
            if (first)
                first();
            ::execl(program_.c_str(), name.c_str(), "60", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipe[1]);
        // End of file once the child has become the program (the end closes on exec).
        char byte = 0;
        while (pid_ > 0 && ::read(pipe[0], &byte, 1) < 0 && errno == EINTR) {
        }
        ::close(pipe[0]);
    }
    ~NamedChild() { Kill(); }
    NamedChild(const NamedChild&) = delete;
    NamedChild& operator=(const NamedChild&) = delete;

    pid_t Pid() const { return pid_; }
    const std::filesystem::path& Program() const { return program_; }

    // Ends the child; it stays a zombie until reaped.
    void KillWithoutReaping()
    {
        if (pid_ > 0 && !killed_) {
            ::kill(pid_, SIGKILL);
            killed_ = true;
        }
    }
    void Kill()
    {
        KillWithoutReaping();
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    std::filesystem::path program_;
    pid_t pid_ = -1;
    bool killed_ = false;
};

}  // namespace testsupport
