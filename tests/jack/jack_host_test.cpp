// corvane-host --jack against a JACK server of the test's own: what it plays, on which
// ports, at which frames, and how it ends.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/state_chunk.h"
#include "tests/host/child_process.h"
#include "tests/jack/jack_midi_script.h"
#include "tests/jack/jack_test_clients.h"
#include "tests/jack/jack_test_server.h"
#include "tests/jack/test_sound.h"

namespace velt::corvane::testing {
namespace {

const std::string kBinary = CORVANE_BINARY_DIR;
const std::string kClient = "Corvane Synth PCM:";

class JackHost : public ::testing::Test {
protected:
    void SetUp() override {
        if (JackTestServer::program().empty()) GTEST_SKIP() << "jackd (package jackd2) is not installed";
        std::string error;
        ASSERT_TRUE(writeTestSound(CORVANE_BUNDLE_PATH, kBinary, 128, chunk_, error)) << error;
        ASSERT_TRUE(server_.start()) << "jackd would not start";
    }

    /// corvane-host --jack --no-editor with the test sound and extra options; waits for its ports.
    void startHost(const std::vector<std::string>& extra) {
        std::vector<std::string> argv = {CORVANE_HOST_PATH,   "--jack",     "--no-editor", "--plugin",
                                         CORVANE_BUNDLE_PATH, "--state-in", chunk_};
        argv.insert(argv.end(), extra.begin(), extra.end());
        ASSERT_TRUE(host_.start(argv, "", log_));
        ASSERT_TRUE(waitForPort(kClient + "midi in", 20.0)) << readWholeFile(log_);
    }

    const std::string chunk_ = kBinary + "/jack-test.chunk";
    const std::string log_ = kBinary + "/jack-test-host.log";
    JackTestServer server_;
    ChildProcess host_;
};

constexpr int64_t kRate = 48000;

TEST_F(JackHost, PlaysNotesAtTheirFramesPitchLevelAndTone) {
    startHost({"--mix"});
    JackTestClients clients;
    const std::vector<TimedMidi> script = {
        noteOn(4800, 0, kA4),        noteOff(14400, 0, kA4),          noteOn(19200, 0, kA4 + 12),
        noteOff(28800, 0, kA4 + 12), noteOn(33600, 0, kA4),           controlChange(43200, 0, 7, 32),
        noteOff(52800, 0, kA4),      controlChange(56000, 0, 7, 100), programChange(57600, 0, 1),
        noteOn(62400, 0, kA4),       noteOff(72000, 0, kA4),
    };
    ASSERT_TRUE(clients.open(script, {"left", "right"}, 80000));
    ASSERT_TRUE(clients.connect(kClient + "midi in", {kClient + "out L", kClient + "out R"}));
    clients.start();
    ASSERT_TRUE(clients.waitDone(20.0));
    ASSERT_EQ(clients.sampleRate(), kRate);
    const std::vector<float>& left = clients.recording(0);
    SCOPED_TRACE("xruns during the recording: " + std::to_string(clients.xruns()));

    // Silence until the first note, which starts at its frame: the host renders in the cycle
    // the note arrives in, at its offset.
    EXPECT_EQ(rms(left, 0, 4800), 0.0);
    const size_t first = onset(left, 0);
    EXPECT_GE(first, 4800u);
    EXPECT_LE(first, 4804u);
    EXPECT_NEAR(measureHz(left, 5800, 14000, kRate), 440.0, 1.0);
    const size_t second = onset(left, 15000, 0.001f);
    EXPECT_NEAR(static_cast<double>(second), 19200.0, 4.0) << "the first note's release still sounds";
    EXPECT_NEAR(measureHz(left, 20200, 28400, kRate), 880.0, 2.0);

    const double loud = rms(left, 34600, 43000);
    const double soft = rms(left, 43600, 52600);
    EXPECT_GT(loud, 0.01);
    EXPECT_GT(soft, 0.0);
    EXPECT_LT(soft, loud * 0.5) << "CC 7 at 32 did not lower the level";

    // Program 1 plays the square: the same pitch, a much brighter tone.
    EXPECT_NEAR(measureHz(left, 63400, 71600, kRate), 440.0, 1.0);
    EXPECT_GT(brightness(left, 63400, 71600), 3.0 * brightness(left, 5800, 14000));
    EXPECT_NEAR(rms(clients.recording(1), 5800, 14000), rms(left, 5800, 14000), 1e-3);
}

TEST_F(JackHost, ThirtyTwoPortsCarryEachOutputBus) {
    startHost({});
    JackTestClients clients;
    ASSERT_TRUE(clients.open(
        {noteOn(4800, 0, kA4), noteOff(14400, 0, kA4), noteOn(24000, 1, kA4), noteOff(33600, 1, kA4)},
        {"1L", "1R", "2L", "2R"}, 40000));
    for (int bus = 1; bus <= 16; ++bus)
        for (const char* side : {" L", " R"})
            EXPECT_TRUE(waitForPort(kClient + "out " + std::to_string(bus) + side, 1.0)) << bus << side;
    ASSERT_TRUE(clients.connect(kClient + "midi in", {kClient + "out 1 L", kClient + "out 1 R",
                                                      kClient + "out 2 L", kClient + "out 2 R"}));
    clients.start();
    ASSERT_TRUE(clients.waitDone(20.0));
    // Part 1 goes to output 1, part 2 (set so in the state) to output 2.
    EXPECT_GT(rms(clients.recording(0), 5000, 14000), 0.01);
    EXPECT_GT(rms(clients.recording(1), 5000, 14000), 0.01);
    EXPECT_EQ(rms(clients.recording(2), 0, 24000), 0.0);
    EXPECT_GT(rms(clients.recording(2), 24200, 33400), 0.01);
    EXPECT_GT(rms(clients.recording(3), 24200, 33400), 0.01);
    EXPECT_LT(rms(clients.recording(0), 30000, 33400), 1e-4);
}

TEST_F(JackHost, KeepsSoundingThroughABufferSizeChange) {
    const std::string bufsize = findProgram("jack_bufsize");
    if (bufsize.empty()) GTEST_SKIP() << "jack_bufsize is not installed";
    startHost({"--mix", "--verbose"});
    // A note every quarter second for six seconds, each held for 0.15 s.
    std::vector<TimedMidi> script;
    for (int64_t at = 2400; at < 6 * kRate; at += kRate / 4) {
        script.push_back(noteOn(at, 0, kA4));
        script.push_back(noteOff(at + 7200, 0, kA4));
    }
    JackTestClients clients;
    ASSERT_TRUE(clients.open(script, {"left"}, 6 * kRate));
    ASSERT_TRUE(clients.connect(kClient + "midi in", {kClient + "out L"}));
    clients.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    EXPECT_EQ(runProgram({bufsize, "1024"}, "", 10.0), 0);
    ASSERT_TRUE(clients.waitDone(30.0));
    EXPECT_TRUE(host_.running()) << readWholeFile(log_);
    const std::vector<float>& x = clients.recording(0);
    SCOPED_TRACE("xruns during the recording: " + std::to_string(clients.xruns()));
    // Every note of the last two seconds, well after the change, sounds at its pitch.
    int sounding = 0;
    for (int64_t at = 2400; at + 7200 < 6 * kRate; at += kRate / 4) {
        if (at < 4 * kRate) continue;
        const auto from = static_cast<size_t>(at + 1000), to = static_cast<size_t>(at + 7000);
        EXPECT_GT(rms(x, from, to), 0.01) << "note at frame " << at;
        EXPECT_NEAR(measureHz(x, from, to, kRate), 440.0, 1.5) << "note at frame " << at;
        ++sounding;
    }
    EXPECT_GE(sounding, 7);
    host_.stop();
    EXPECT_NE(readWholeFile(log_).find("48000 Hz, 1024 frames"), std::string::npos) << readWholeFile(log_);
}

TEST_F(JackHost, EndsWithOneLineAndStatusTwoWhenTheServerDies) {
    startHost({});
    // Connected once it is active: a server killed sooner ends the start-up instead, with a
    // message of its own.
    {
        JackTestClients clients;
        ASSERT_TRUE(clients.open({}, {}, 0));
        ASSERT_TRUE(clients.connect(kClient + "midi in", {}));
    }
    server_.stop(true);
    EXPECT_EQ(host_.wait(15.0), 2);
    const std::string log = readWholeFile(log_);
    EXPECT_EQ(log.rfind("corvane-host: the JACK server went away", 0), 0u) << log;
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find('\n'), log.size() - 1) << log;
}

TEST_F(JackHost, CtrlCSavesTheStateWithTheControllersReceived) {
    const std::string out = kBinary + "/jack-test-out.chunk";
    std::remove(out.c_str());
    startHost({"--state-out", out});
    JackTestClients clients;
    ASSERT_TRUE(clients.open({controlChange(256, 2, 7, 23), controlChange(512, 2, 10, 99)}, {}, 4800));
    ASSERT_TRUE(clients.connect(kClient + "midi in", {}));
    clients.start();
    ASSERT_TRUE(clients.waitDone(20.0));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(host_.pid(), SIGINT);
    EXPECT_EQ(host_.wait(15.0), 0) << readWholeFile(log_);
    const std::string bytes = readWholeFile(out);
    ASSERT_FALSE(bytes.empty());
    state::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    state::StateChunk chunk;
    ASSERT_TRUE(state::readStateChunk(source, chunk).complete);
    EXPECT_EQ(chunk.parts[2].volume, 23);
    EXPECT_EQ(chunk.parts[2].pan, 99);
    EXPECT_EQ(chunk.slots[0].path, kBinary + "/jack-sine.wav");
}

}  // namespace
}  // namespace velt::corvane::testing
