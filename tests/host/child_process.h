// Programs the host tests start: a virtual X server, corvane-host and xdotool.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace velt::corvane::testing {

/// A started program; the destructor ends it (SIGTERM, then SIGKILL) if it still runs.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// Starts argv[0] (searched in PATH) with DISPLAY set to display (empty: unset), its
    /// standard output and error into logPath (empty: /dev/null). False when it cannot start.
    bool start(const std::vector<std::string>& argv, const std::string& display, const std::string& logPath);
    /// Waits at most seconds for the exit; the exit status, or -1 on timeout or a signal.
    int wait(double seconds);
    bool running();
    /// The process id while it runs, else -1.
    pid_t pid() const { return pid_; }
    /// SIGTERM, then SIGKILL after a second; reaps the process.
    void stop();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

/// Runs a program to its end (killed after seconds); the exit status, or -1.
int runProgram(const std::vector<std::string>& argv, const std::string& display, double seconds,
               const std::string& logPath = std::string());

/// The program's full path when PATH (or the usual bin folders) has it; empty otherwise.
std::string findProgram(const std::string& name);

/// The whole file, empty when it cannot be read.
std::string readWholeFile(const std::string& path);

}  // namespace velt::corvane::testing
