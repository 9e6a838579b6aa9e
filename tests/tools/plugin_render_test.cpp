// corvane-render through the built bundle: the same song rendered through the plug-in,
// as a host drives it, and through the engine directly gives the same samples; saved
// states render again to the same samples; a bundle or state that cannot be used fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/command_run.h"
#include "tests/tools/tool_test_support.h"
#include "tools/toolkit/render_command.h"

namespace velt::corvane::tools {
namespace {

using tooltest::Bytes;
using tooltest::smf;
using tooltest::TrackBuilder;

using tooltest::CommandRun;

CommandRun run(const std::vector<std::string>& args) {
    return tooltest::runRender(args, {});
}

std::vector<std::string> plus(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

/// Two tracks that need every part of the host translation: RPN selection and data entry
/// at one frame, a controller changed twice at one frame, pitch-bend sweeps of a few frames,
/// program changes with notes at the same frame, SysEx between notes, two buses.
Bytes busySong() {
    // Each track first sets what the song changes later, so that a state saved at its end
    // renders the song again from the same start.
    TrackBuilder a;
    a.event(0, {0xC0, 0}).event(0, {0xB0, 1, 0}).event(0, {0xB0, 10, 64}).event(0, {0xB0, 11, 127});
    a.event(0, {0xE0, 0, 64})
        .event(0, {0xB0, 101, 0})
        .event(0, {0xB0, 100, 0})
        .event(0, {0xB0, 6, 12});  // bend range 12
    a.event(0, {0xB0, 7, 30}).event(0, {0xB0, 7, 110}).event(0, {0x90, 69, 100});
    for (int i = 0; i < 64; ++i) {
        const auto v = static_cast<uint8_t>(64 + (i * 7) % 60);
        a.event(3, {0xE0, static_cast<uint8_t>((i * 37) & 127), v});
        if (i % 8 == 0) a.event(0, {0xB0, 10, static_cast<uint8_t>(i * 2)});
    }
    a.event(0, {0xC0, 3}).event(0, {0x90, 72, 90}).event(0, {0xB0, 11, 60});
    a.event(120, {0x80, 69, 0}).event(0, {0x90, 76, 80}).event(0, {0xE0, 0, 64});
    a.event(240, {0x80, 72, 0}).event(0, {0x80, 76, 0}).end();

    TrackBuilder b;
    b.event(0, {0xC1, 0}).event(0, {0xB1, 1, 0}).event(0, {0xB1, 7, 100}).event(0, {0xB1, 10, 64});
    // Part 2 to Sampler mode, then keys that play sampler presets.
    b.sysEx(10, 0xF0, {0x7D, 0x10, 0x23, 0x02, 0x01, 0x01, 0x03, 0xF7});
    b.event(0, {0x91, 60, 127}).event(0, {0xB1, 1, 100});
    for (int i = 0; i < 16; ++i)
        b.event(17, {0x91, static_cast<uint8_t>(40 + i), static_cast<uint8_t>(30 + i)});
    b.event(200, {0xB1, 123, 0}).event(0, {0x91, 61, 100}).event(0, {0xB1, 121, 0});
    b.event(100, {0x81, 61, 0}).end();
    return smf(1, 480, {a.bytes(), b.bytes()});
}

class PluginRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        std::vector<int16_t> saw(22050);
        for (size_t i = 0; i < saw.size(); ++i)
            saw[i] = static_cast<int16_t>(static_cast<int32_t>((i * 1201) % 40000) - 20000);
        ASSERT_TRUE(tooltest::writeBytes(dir.file("saw.wav"), tooltest::wav16(saw, 1, 22050)));
        std::vector<int16_t> stereo(2 * 11025);
        for (size_t i = 0; i < stereo.size(); ++i)
            stereo[i] = static_cast<int16_t>(std::lround(12000.0 * std::sin(0.01 * static_cast<double>(i))));
        ASSERT_TRUE(tooltest::writeBytes(dir.file("tone.wav"), tooltest::wav16(stereo, 2, 44100)));
        ASSERT_TRUE(tooltest::writeText(dir.file("samples.txt"),
                                        "@:0 100 22000 2000 20000 261.6\n"
                                        "@:1 0 11025 0 0 440.0\n"));
        ASSERT_TRUE(tooltest::writeText(dir.file("samplers.txt"),
                                        "@S:60 \"Sampled one     \" 1 64 8 8192 0 127 0 127 120\n"
                                        "@S:61 \"Sampled zero    \" 0 20 7 8000 0 127 0 127 110\n"));
        ASSERT_TRUE(tooltest::writeBytes(dir.file("busy.mid"), busySong()));
        sound = {"--wav",      "0=" + dir.file("saw.wav") + ":dpcm",
                 "--wav",      "1=" + dir.file("tone.wav") + ":adpcm",
                 "--samples",  dir.file("samples.txt"),
                 "--samplers", dir.file("samplers.txt"),
                 "--sysex",    "--route",
                 "2=4",        "--polyphony",
                 "8",          "--tail",
                 "0.5",        "--outputs",
                 "all"};
    }

    Bytes file(const std::string& name) const { return tooltest::readBytes(dir.file(name)); }

    const std::string plugin = CORVANE_BUNDLE_PATH;
    tooltest::ScratchDir dir;
    std::vector<std::string> sound;
};

TEST_F(PluginRenderTest, PluginAndEngineRenderTheSameSamples) {
    for (const char* block : {"512", "37"}) {
        SCOPED_TRACE(block);
        const CommandRun viaPlugin =
            run(plus(sound, {"--plugin", plugin, "--block", block, dir.file("busy.mid"), dir.file("p.wav")}));
        ASSERT_EQ(viaPlugin.status, 0) << viaPlugin.err;
        const CommandRun viaEngine =
            run(plus(sound, {"--engine", "--block", block, dir.file("busy.mid"), dir.file("e.wav")}));
        ASSERT_EQ(viaEngine.status, 0) << viaEngine.err;
        // Part 1 plays on bus 1, part 2 (routed) on bus 4; nothing else sounds.
        for (const char* bus : {"p-01.wav", "p-04.wav", "e-01.wav", "e-04.wav"})
            EXPECT_TRUE(tooltest::fileExists(dir.file(bus))) << bus;
        EXPECT_FALSE(tooltest::fileExists(dir.file("p-02.wav")));
        for (const char* n : {"01", "04"}) {
            const Bytes p = file(std::string("p-") + n + ".wav");
            const Bytes e = file(std::string("e-") + n + ".wav");
            const tooltest::FloatWav w = tooltest::parseFloatWav(p);
            ASSERT_TRUE(w.valid);
            float peak = 0.0f;
            for (float s : w.samples) peak = std::max(peak, std::fabs(s));
            EXPECT_GT(peak, 0.01f) << n;
            EXPECT_TRUE(p == e) << "bus " << n << " differs between plug-in and engine";
        }
        for (const char* name : {"p-01.wav", "p-04.wav", "e-01.wav", "e-04.wav"})
            std::remove(dir.file(name).c_str());
    }
}

TEST_F(PluginRenderTest, ASavedStateRendersTheSameSoundAgain) {
    const std::string song = dir.file("busy.mid");
    ASSERT_EQ(
        run(plus(sound, {"--plugin", plugin, "--state-out", dir.file("a.state"), song, dir.file("a.wav")}))
            .status,
        0);
    const Bytes saved = file("a.state");
    // A state restores what the options set: samples with their points, presets changed by
    // the song's SysEx, routing, voices and SysEx reception.
    ASSERT_GT(saved.size(), 7485u);
    const std::vector<std::string> again = {
        "--plugin",          plugin,   "--state-in", dir.file("a.state"), "--state-out",
        dir.file("b.state"), "--tail", "0.5",        "--outputs",         "all"};
    const CommandRun r = run(plus(again, {song, dir.file("b.wav")}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(file("a-01.wav") == file("b-01.wav"));
    EXPECT_TRUE(file("a-04.wav") == file("b-04.wav"));
    EXPECT_TRUE(saved == file("b.state"));

    // Options still apply on top of a loaded state: reception off leaves part 2 in its
    // saved Sampler mode, so the same sound comes out of the same state.
    const CommandRun routed = run({"--plugin", plugin, "--state-in", dir.file("a.state"), "--route", "2=1",
                                   "--tail", "0.5", "--outputs", "all", song, dir.file("c.wav")});
    ASSERT_EQ(routed.status, 0) << routed.err;
    EXPECT_TRUE(tooltest::fileExists(dir.file("c-01.wav")));
    EXPECT_FALSE(tooltest::fileExists(dir.file("c-04.wav")));
}

TEST_F(PluginRenderTest, UnusableBundlesAndStatesExitTwoAndWriteNothing) {
    const std::string song = dir.file("busy.mid");
    ASSERT_TRUE(tooltest::writeText(dir.file("junk.state"), "not a chunk"));
    Bytes truncated;
    {
        ASSERT_EQ(run({"--plugin", plugin, "--state-out", dir.file("full.state"), "--tail", "0", song,
                       dir.file("full.wav")})
                      .status,
                  0);
        truncated = file("full.state");
        ASSERT_EQ(truncated.size(), 7485u);  // a new instance's state
        truncated.resize(truncated.size() / 2);
        ASSERT_TRUE(tooltest::writeBytes(dir.file("half.state"), truncated));
    }
    struct Case {
        std::vector<std::string> args;
        std::string named;
    };
    const std::vector<Case> cases = {
        {{"--plugin", dir.file("nowhere.vst3")}, "nowhere.vst3"},
        {{"--plugin", dir.file("saw.wav")}, "saw.wav"},
        {{"--plugin", plugin, "--state-in", dir.file("junk.state")}, "junk.state"},
        {{"--plugin", plugin, "--state-in", dir.file("half.state")}, "half.state"},
        {{"--plugin", plugin, "--state-in", dir.file("absent.state")}, "absent.state"},
        {{"--plugin", plugin, "--state-out", dir.file("no/dir/x.state")}, "x.state"},
        {{"--engine", "--plugin", plugin}, "--plugin"},
        {{"--engine", "--state-in", dir.file("full.state")}, "--state-in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        const CommandRun r = run(plus(c.args, {song, dir.file("bad.wav")}));
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind("corvane-render: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_FALSE(tooltest::fileExists(dir.file("bad.wav")));
    }
}

std::vector<std::string> textLines(const Bytes& bytes) {
    std::vector<std::string> out;
    std::string line;
    for (uint8_t b : bytes) {
        if (b == '\n') {
            out.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(b);
        }
    }
    return out;
}

TEST_F(PluginRenderTest, ExportWritesWhatAStateHolds) {
    ASSERT_EQ(run(plus(sound, {"--plugin", plugin, "--state-out", dir.file("a.state"), "--tail", "0",
                               dir.file("busy.mid"), dir.file("a.wav")}))
                  .status,
              0);
    const std::vector<std::string> from = {"--plugin", plugin, "--state-in", dir.file("a.state")};
    const CommandRun samples = run(plus({"export", "samples", dir.file("samples-out.txt")}, from));
    ASSERT_EQ(samples.status, 0) << samples.err;
    const std::vector<std::string> s = textLines(file("samples-out.txt"));
    ASSERT_EQ(s.size(), 130u);
    EXPECT_EQ(s[2], "@:0 100 22000 2000 20000 261.600006");
    EXPECT_EQ(s[3], "@:1 0 11025 0 0 440.000000");

    ASSERT_EQ(run(plus({"export", "samplers", dir.file("samplers-out.txt")}, from)).status, 0);
    const std::vector<std::string> samplers = textLines(file("samplers-out.txt"));
    ASSERT_EQ(samplers.size(), 129u);
    EXPECT_EQ(samplers[61].substr(0, 27), "@S:60 \"Sampled one     \" 1 ");

    // A new instance's tones, and its SysEx listing: 128 messages after the header.
    ASSERT_EQ(run({"export", "tones", dir.file("tones-out.txt"), "--plugin", plugin}).status, 0);
    EXPECT_EQ(textLines(file("tones-out.txt"))[1],
              "@I:0 \"                \" 2048 0 8192 0 0 0 126 100 0 120 0 48");
    ASSERT_EQ(run({"export", "tones-sysex", dir.file("tones.syx.txt"), "--plugin", plugin}).status, 0);
    const std::vector<std::string> sysex = textLines(file("tones.syx.txt"));
    ASSERT_EQ(sysex.size(), 132u);
    EXPECT_EQ(sysex[14], "F0 7D 10 23 04 0a 12 00 10 00 00 40 00 00 00 7e 64 00 78 00 30 F7");

    // Failures: exit 2, one line, and an older file at OUT is left as it was.
    ASSERT_TRUE(tooltest::writeText(dir.file("old.txt"), "keep me"));
    const std::vector<std::vector<std::string>> bad = {
        {"export", "presets", dir.file("old.txt"), "--plugin", plugin},
        {"export", "tones", "--plugin", plugin},
        {"export", "tones", dir.file("old.txt"), "--plugin", dir.file("none.vst3")},
        {"export", "tones", dir.file("old.txt"), "--plugin", plugin, "--state-in", dir.file("busy.mid")},
        {"export", "tones", dir.file("no/dir/x.txt"), "--plugin", plugin},
        {"export", "tones", dir.file("old.txt"), "--plugin", plugin, "--frobnicate"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args[1] + " " + args[2]);
        const CommandRun r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(file("old.txt"), Bytes({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    }
    EXPECT_FALSE(tooltest::fileExists(dir.file("old.txt.part")));
}

}  // namespace
}  // namespace velt::corvane::tools
