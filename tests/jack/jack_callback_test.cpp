// The JACK process callback in the test's own process, under the real-time guard while MIDI
// of every kind, editor edits and a period change arrive.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "audio_thread_guard.h"
#include "tests/host/child_process.h"
#include "tests/jack/jack_midi_script.h"
#include "tests/jack/jack_test_clients.h"
#include "tests/jack/jack_test_server.h"
#include "tests/jack/test_sound.h"
#include "tools/corvane-host/jack_host.h"
#include "tools/toolkit/plugin_session.h"

namespace velt::corvane::testing {
namespace {

const std::string kBinary = CORVANE_BINARY_DIR;
const std::string kClient = "Corvane Synth PCM:";
constexpr int64_t kRate = 48000;

class JackCallback : public ::testing::Test {
protected:
    void SetUp() override {
        if (JackTestServer::program().empty()) GTEST_SKIP() << "jackd (package jackd2) is not installed";
        std::string error;
        const std::string chunk = kBinary + "/jack-callback-test.chunk";
        ASSERT_TRUE(writeTestSound(CORVANE_BUNDLE_PATH, kBinary, 1024, chunk, error)) << error;
        ASSERT_TRUE(server_.start()) << "jackd would not start";
        std::ifstream f(chunk, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                                         std::istreambuf_iterator<char>());
        ASSERT_TRUE(session_.open(CORVANE_BUNDLE_PATH, error)) << error;
        ASSERT_TRUE(session_.applyState(bytes, error)) << error;
    }

    /// The main thread's share for seconds: follows period changes, as the host's loop does.
    void serve(tools::JackHost& host, double seconds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        std::string error;
        while (std::chrono::steady_clock::now() < until) {
            EXPECT_TRUE(host.service(error)) << error;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    JackTestServer server_;
    tools::PluginSession session_;
};

TEST_F(JackCallback, AllocatesLocksAndWaitsOnNothing) {
    tools::JackHost::setCallbackProbe(rtguard::begin, rtguard::end);
    tools::JackHost host(session_);
    std::string error;
    ASSERT_TRUE(host.open(tools::JackHostSettings{}, error)) << error;

    // Every cycle for four seconds: notes struck and released on all 16 channels, controllers
    // 1, 7, 10 and 11, pitch bend, program change and a SysEx message.
    std::vector<TimedMidi> script;
    for (int64_t cycle = 0; cycle < 4 * kRate / 256; ++cycle) {
        const int64_t at = cycle * 256;
        for (int ch = 0; ch < 16; ++ch) {
            const int key = 36 + static_cast<int>((cycle * 7 + ch * 3) % 60);
            script.push_back(noteOn(at + ch, ch, key, 90));
            script.push_back(noteOff(at + 128 + ch, ch, key));
            script.push_back(
                controlChange(at + 16 + ch, ch, 1 + 6 * (cycle % 2), static_cast<int>(cycle % 128)));
            script.push_back(
                controlChange(at + 32 + ch, ch, 10 + cycle % 2, static_cast<int>((cycle * 5) % 128)));
            script.push_back(midi3(at + 48 + ch, 0xE0 | ch, static_cast<int>(cycle % 128), 64));
            if (cycle % 8 == 0)
                script.push_back(programChange(at + 64 + ch, ch, static_cast<int>(cycle / 8 % 2)));
        }
        script.push_back(TimedMidi{at + 200, {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x01, 0x02, 0xF7}});
    }
    std::sort(script.begin(), script.end(),
              [](const TimedMidi& a, const TimedMidi& b) { return a.frame < b.frame; });
    JackTestClients clients;
    ASSERT_TRUE(clients.open(script, {"left"}, 4 * kRate));
    ASSERT_TRUE(clients.connect(kClient + "midi in", {kClient + "out 1 L"}));
    rtguard::reset();
    clients.start();
    // Editor edits meanwhile, then a period change in the middle.
    for (int i = 0; i < 200; ++i) {
        host.queueEdit(
            tools::ParameterEdit{0x10000u + static_cast<uint32_t>(i % 16) * 256u + 7u, (i % 128) / 127.0});
        serve(host, 0.005);
    }
    const std::string bufsize = findProgram("jack_bufsize");
    if (!bufsize.empty()) {
        EXPECT_EQ(runProgram({bufsize, "512"}, "", 10.0), 0);
    }
    serve(host, 1.0);
    EXPECT_TRUE(clients.waitDone(20.0));
    const tools::JackLoad load = host.takeLoad();
    host.close();
    tools::JackHost::setCallbackProbe(nullptr, nullptr);

    const rtguard::Counts counts = rtguard::counts();
    EXPECT_EQ(counts.allocations, 0) << counts.first;
    EXPECT_EQ(counts.frees, 0) << counts.first;
    EXPECT_EQ(counts.locks, 0) << counts.first;
    EXPECT_EQ(counts.blockingCalls, 0) << counts.first;
    EXPECT_GT(load.cycles, 300);
    if (!bufsize.empty()) {
        EXPECT_EQ(host.periodFrames(), 512u);
    }
    EXPECT_EQ(host.droppedMessages(), 0);
    EXPECT_GT(rms(clients.recording(0), 0, clients.recording(0).size()), 0.001);
}

}  // namespace
}  // namespace velt::corvane::testing
