#include "tests/jack/jack_test_server.h"

#include <jack/jack.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace velt::corvane::testing {

namespace {

void quiet(const char*) {}

/// A client of the test's server for a look; null when there is no server yet.
jack_client_t* openProbe() {
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    jack_status_t status{};
    return jack_client_open("corvane-test-probe", JackNoStartServer, &status);
}

}  // namespace

std::string JackTestServer::program() {
    return findProgram("jackd");
}

bool JackTestServer::start(int period) {
    // JACK keeps at most a few servers in its registry and reclaims the entry of a killed
    // server only when a server of the same name starts again: a few fixed names, taken in
    // turn, never fill it up, whatever earlier runs (or other test runs beside this one) left.
    for (int slot = 0; slot < kNameSlots; ++slot) {
        name_ = "corvane-test-" + std::to_string(slot);
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        if (jack_client_t* other = openProbe()) {
            jack_client_close(other);
            continue;
        }
        // The dummy back end needs no sound card.
        if (!server_.start(
                {program(), "-n", name_, "-d", "dummy", "-r", "48000", "-p", std::to_string(period)}, "", ""))
            return false;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until && server_.running()) {
            if (jack_client_t* probe = openProbe()) {
                jack_client_close(probe);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        server_.stop();
    }
    return false;
}

void JackTestServer::stop(bool crash) {
    if (!server_.running()) return;
    if (crash) {
        kill(server_.pid(), SIGKILL);
        server_.wait(5.0);
    }
    server_.stop();
}

bool waitForPort(const std::string& port, double seconds) {
    jack_client_t* probe = openProbe();
    if (!probe) return false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool found = false;
    while (!found && std::chrono::steady_clock::now() < until) {
        found = jack_port_by_name(probe, port.c_str()) != nullptr;
        if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    jack_client_close(probe);
    return found;
}

}  // namespace velt::corvane::testing
