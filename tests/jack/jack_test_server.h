// A private JACK server for one test: the dummy back end at 48000 Hz and 256 frames, under a
// name no other running server has, found by every client the test starts through JACK_DEFAULT_SERVER.
#pragma once

#include <string>

#include "tests/host/child_process.h"

namespace velt::corvane::testing {

class JackTestServer {
public:
    JackTestServer() = default;
    /// Ends the server.
    ~JackTestServer() { stop(); }
    JackTestServer(const JackTestServer&) = delete;
    JackTestServer& operator=(const JackTestServer&) = delete;

    /// Path of jackd, empty when it is not installed.
    static std::string program();
    /// Starts the server, sets JACK_DEFAULT_SERVER for this process and its children and waits
    /// until it takes clients; false when it would not start.
    bool start(int period = 256);
    /// SIGTERM (clean) or SIGKILL (as a crash), and waits for the end.
    void stop(bool crash = false);
    const std::string& name() const { return name_; }

private:
    static constexpr int kNameSlots = 6;
    ChildProcess server_;
    std::string name_;
};

/// Waits until the port exists on the test's server; false after seconds.
bool waitForPort(const std::string& port, double seconds);

}  // namespace velt::corvane::testing
