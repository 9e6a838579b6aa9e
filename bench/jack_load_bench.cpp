// jack_load_bench: the share of each 256-frame period at 48000 Hz that corvane-host's JACK
// process callback takes with 64 and then 1024 voices sounding, against a JACK server of its
// own (jackd2's dummy back end), and the xruns meanwhile.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/jack/jack_midi_script.h"
#include "tests/jack/jack_test_clients.h"
#include "tests/jack/jack_test_server.h"
#include "tests/jack/test_sound.h"
#include "tools/corvane-host/jack_host.h"
#include "tools/toolkit/plugin_session.h"

using namespace velt::corvane;
using namespace velt::corvane::testing;

namespace {

constexpr int64_t kRate = 48000;
const std::string kClient = "Corvane Synth PCM:";

/// The main thread's share for seconds: follows period changes, as the host's loop does.
bool serve(tools::JackHost& host, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string error;
    while (std::chrono::steady_clock::now() < until) {
        if (!host.service(error)) {
            std::fprintf(stderr, "jack_load_bench: %s\n", error.c_str());
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int fail(const char* what) {
    std::fprintf(stderr, "jack_load_bench: %s\n", what);
    return 1;
}

}  // namespace

int main() {
    if (JackTestServer::program().empty()) return fail("jackd (package jackd2) is not installed");
    std::string error;
    const std::string chunk = std::string(CORVANE_BINARY_DIR) + "/jack-load-bench.chunk";
    if (!writeTestSound(CORVANE_BUNDLE_PATH, CORVANE_BINARY_DIR, 1024, chunk, error))
        return fail(error.c_str());
    JackTestServer server;
    if (!server.start()) return fail("jackd would not start");
    std::ifstream f(chunk, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    tools::PluginSession session;
    if (!session.open(CORVANE_BUNDLE_PATH, error) || !session.applyState(bytes, error))
        return fail(error.c_str());

    tools::JackHost host(session);
    if (!host.open(tools::JackHostSettings{}, error)) return fail(error.c_str());
    // 64 held notes (4 per channel) from the start; from 3 s on, 960 more, 120 a cycle,
    // until 1024 sound (64 per channel).
    std::vector<TimedMidi> script;
    for (int ch = 0; ch < 16; ++ch)
        for (int k = 0; k < 4; ++k) script.push_back(noteOn(256 + ch * 4 + k, ch, 30 + k, 100));
    int sent = 0;
    for (int ch = 0; ch < 16; ++ch)
        for (int k = 4; k < 64; ++k, ++sent)
            script.push_back(noteOn(3 * kRate + (sent / 120) * 256 + sent % 120, ch, 30 + k, 100));
    std::sort(script.begin(), script.end(),
              [](const TimedMidi& a, const TimedMidi& b) { return a.frame < b.frame; });
    JackTestClients clients;
    if (!clients.open(script, {"left"}, 6 * kRate) ||
        !clients.connect(kClient + "midi in", {kClient + "out 1 L"}))
        return fail("the test clients would not open or connect");
    clients.start();
    bool ok = serve(host, 1.0);
    host.takeLoad();
    ok = ok && serve(host, 1.5);
    const tools::JackLoad few = host.takeLoad();
    ok = ok && serve(host, 1.0);
    host.takeLoad();
    ok = ok && serve(host, 2.0);
    const tools::JackLoad many = host.takeLoad();
    clients.waitDone(10.0);
    host.close();
    if (!ok) return 1;
    std::printf("callback load at %u frames, 48000 Hz\n", 256u);
    std::printf("  64 voices   %6.2f %% average  %6.2f %% peak  %lld xruns\n", few.average * 100.0,
                few.peak * 100.0, static_cast<long long>(few.xruns));
    std::printf("  1024 voices %6.2f %% average  %6.2f %% peak  %lld xruns\n", many.average * 100.0,
                many.peak * 100.0, static_cast<long long>(many.xruns));
    return 0;
}
