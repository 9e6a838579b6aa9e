#include "tools/toolkit/render_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/command_run.h"
#include "tests/tools/tool_test_support.h"

namespace velt::corvane::tools {
namespace {

using tooltest::Bytes;
using tooltest::smf;
using tooltest::TrackBuilder;

using tooltest::CommandRun;

// The engine path: these cases need no plug-in bundle.
CommandRun render(const std::vector<std::string>& args) {
    return tooltest::runRender(args, {"--engine"});
}

float peakOf(const tooltest::FloatWav& w, size_t fromFrame, size_t toFrame) {
    float peak = 0.0f;
    for (size_t i = 2 * fromFrame; i < std::min(w.samples.size(), 2 * toFrame); ++i)
        peak = std::max(peak, std::fabs(w.samples[i]));
    return peak;
}

/// A scratch directory holding a one-second 440 Hz sine (16-bit mono, 44100 Hz),
/// a sample-data text giving slot 0 its pitch, and songs.
class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        std::vector<int16_t> sine(44100);
        for (size_t i = 0; i < sine.size(); ++i)
            sine[i] = static_cast<int16_t>(
                std::lround(16384.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / 44100.0)));
        ASSERT_TRUE(tooltest::writeBytes(dir.file("sine.wav"), tooltest::wav16(sine, 1, 44100)));
        ASSERT_TRUE(tooltest::writeText(dir.file("samples.txt"),
                                        "# slot start end loopStart loopEnd pitch\n"
                                        "@:0 0 44100 0 44100 440.0\n"
                                        "@:5,0,44100,0,44100,440.0\n"));
        // One note: 120 BPM, 480 ticks = 0.5 s = 22050 frames.
        TrackBuilder t;
        t.event(0, {0x90, 0x45, 0x7F}).event(480, {0x80, 0x45, 0x00}).end();
        ASSERT_TRUE(tooltest::writeBytes(dir.file("note.mid"), smf(0, 480, {t.bytes()})));
    }

    /// Files in the directory other than the inputs the fixture and test wrote.
    std::vector<std::string> outputsLeft(const std::vector<std::string>& inputs) const {
        std::vector<std::string> left;
        for (const std::string& name : dir.entries())
            if (std::find(inputs.begin(), inputs.end(), name) == inputs.end()) left.push_back(name);
        return left;
    }

    tooltest::ScratchDir dir;
};

TEST_F(RenderFixture, ToneWithImportedSampleRendersSongPlusTail) {
    const CommandRun r = render({"--wav", "0=" + dir.file("sine.wav"), "--samples", dir.file("samples.txt"),
                                 "--tail", "1", dir.file("note.mid"), dir.file("out.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    const tooltest::FloatWav w = tooltest::parseFloatWav(tooltest::readBytes(dir.file("out.wav")));
    ASSERT_TRUE(w.valid);
    EXPECT_EQ(w.channels, 2u);
    EXPECT_EQ(w.rate, 44100u);
    EXPECT_EQ(w.frames, 22050u + 44100u);
    EXPECT_GT(peakOf(w, 0, 22050), 0.05f);
    EXPECT_NE(r.out.find("rendered 66150 frames"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("out 1: peak "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("out 2:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("most voices sounding at once: 1"), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(outputsLeft({"sine.wav", "samples.txt", "note.mid"}), std::vector<std::string>{"out.wav"});

    // The same song at another rate and block size: frames follow the rate.
    const CommandRun r48 = render({"--wav", "0=" + dir.file("sine.wav") + ":adpcm", "--samples",
                                   dir.file("samples.txt"), "--rate", "48000", "--block=37", "--tail", "0.5",
                                   dir.file("note.mid"), dir.file("out48.wav")});
    ASSERT_EQ(r48.status, 0) << r48.err;
    const tooltest::FloatWav w48 = tooltest::parseFloatWav(tooltest::readBytes(dir.file("out48.wav")));
    ASSERT_TRUE(w48.valid);
    EXPECT_EQ(w48.rate, 48000u);
    EXPECT_EQ(w48.frames, 24000u + 24000u);
    EXPECT_GT(peakOf(w48, 0, 24000), 0.05f);
}

TEST_F(RenderFixture, BlockSizeDoesNotChangeTheRender) {
    const std::vector<std::string> common = {
        "--wav", "0=" + dir.file("sine.wav"), "--samples", dir.file("samples.txt"), "--tail", "0.25"};
    std::vector<std::string> a = common, b = common;
    a.insert(a.end(), {"--block", "512", dir.file("note.mid"), dir.file("a.wav")});
    b.insert(b.end(), {"--block", "7", dir.file("note.mid"), dir.file("b.wav")});
    ASSERT_EQ(render(a).status, 0);
    ASSERT_EQ(render(b).status, 0);
    const tooltest::FloatWav wa = tooltest::parseFloatWav(tooltest::readBytes(dir.file("a.wav")));
    const tooltest::FloatWav wb = tooltest::parseFloatWav(tooltest::readBytes(dir.file("b.wav")));
    ASSERT_TRUE(wa.valid && wb.valid);
    ASSERT_EQ(wa.samples.size(), wb.samples.size());
    // Events land on their exact frames whatever the block size: the renders are identical.
    for (size_t i = 0; i < wa.samples.size(); ++i) ASSERT_EQ(wa.samples[i], wb.samples[i]) << i;
}

TEST_F(RenderFixture, SamplerModeThroughSysExPartModeWrite) {
    // Part 1 to Sampler mode (F0 7D 10 23 02 00 01 03 F7), then key 60 plays
    // sampler preset 60, which the sampler text points at slot 5. Tone 0 would
    // play the empty slot 0, so only the Sampler path can sound.
    TrackBuilder t;
    t.sysEx(0, 0xF0, {0x7D, 0x10, 0x23, 0x02, 0x00, 0x01, 0x03, 0xF7})
        .event(0, {0x90, 0x3C, 0x64})
        .event(480, {0x80, 0x3C, 0x00})
        .end();
    ASSERT_TRUE(tooltest::writeBytes(dir.file("sampler.mid"), smf(0, 480, {t.bytes()})));
    ASSERT_TRUE(tooltest::writeText(dir.file("samplers.txt"),
                                    "@S:60 \"Sine slot five  \" 5 64 8 8192 0 127 0 127 120\n"));
    const std::vector<std::string> common = {"--wav",      "5=" + dir.file("sine.wav") + ":pcm",
                                             "--samplers", dir.file("samplers.txt"),
                                             "--tail",     "0.5"};
    std::vector<std::string> with = common, without = common;
    with.insert(with.end(), {"--sysex", dir.file("sampler.mid"), dir.file("with.wav")});
    without.insert(without.end(), {dir.file("sampler.mid"), dir.file("without.wav")});

    const CommandRun on = render(with);
    ASSERT_EQ(on.status, 0) << on.err;
    const tooltest::FloatWav won = tooltest::parseFloatWav(tooltest::readBytes(dir.file("with.wav")));
    ASSERT_TRUE(won.valid);
    EXPECT_EQ(won.frames, 22050u + 22050u);
    EXPECT_GT(peakOf(won, 0, 22050), 0.05f);

    const CommandRun off = render(without);
    ASSERT_EQ(off.status, 0) << off.err;
    const tooltest::FloatWav woff = tooltest::parseFloatWav(tooltest::readBytes(dir.file("without.wav")));
    ASSERT_TRUE(woff.valid);
    EXPECT_EQ(woff.frames, 44100u);
    EXPECT_EQ(peakOf(woff, 0, woff.frames), 0.0f);
    EXPECT_NE(off.out.find("no output carries sound"), std::string::npos) << off.out;
}

TEST_F(RenderFixture, AllOutputsWritesOnlyTheBusesWithSound) {
    // Parts 1 and 2 from frame 0, part 3 from 0.25 s (frame 11025), all to 0.5 s.
    TrackBuilder t;
    t.event(0, {0x90, 0x45, 0x7F})
        .event(0, {0x91, 0x39, 0x7F})
        .event(240, {0x92, 0x40, 0x7F})
        .event(240, {0x80, 0x45, 0x00})
        .event(0, {0x81, 0x39, 0x00})
        .event(0, {0x82, 0x40, 0x00})
        .end();
    ASSERT_TRUE(tooltest::writeBytes(dir.file("three.mid"), smf(0, 480, {t.bytes()})));
    const CommandRun r = render({"--wav", "0=" + dir.file("sine.wav"), "--samples", dir.file("samples.txt"),
                                 "--route", "2=5", "--route=3=9", "--outputs", "all", "--tail", "0.5",
                                 dir.file("three.mid"), dir.file("Song.WAV")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(outputsLeft({"sine.wav", "samples.txt", "note.mid", "three.mid"}),
              (std::vector<std::string>{"Song-01.wav", "Song-05.wav", "Song-09.wav"}));
    std::vector<tooltest::FloatWav> files;
    for (const char* name : {"Song-01.wav", "Song-05.wav", "Song-09.wav"}) {
        SCOPED_TRACE(name);
        files.push_back(tooltest::parseFloatWav(tooltest::readBytes(dir.file(name))));
        ASSERT_TRUE(files.back().valid);
        EXPECT_EQ(files.back().frames, 44100u);
        EXPECT_GT(peakOf(files.back(), 11025, 22050), 0.05f);
    }
    EXPECT_GT(peakOf(files[0], 0, 11025), 0.05f);
    // The late bus's file holds silence up to its first note, then the note.
    EXPECT_EQ(peakOf(files[2], 0, 11025), 0.0f);
    EXPECT_NE(r.out.find("out 1: peak"), std::string::npos);
    EXPECT_NE(r.out.find("out 5: peak"), std::string::npos);
    EXPECT_NE(r.out.find("out 9: peak"), std::string::npos);
    EXPECT_NE(r.out.find("most voices sounding at once: 3"), std::string::npos) << r.out;
}

TEST_F(RenderFixture, BadOptionsAndFilesExitTwoAndWriteNothing) {
    const std::string song = dir.file("note.mid");
    const std::string out = dir.file("bad.wav");
    ASSERT_TRUE(tooltest::writeBytes(dir.file("format2.mid"), smf(2, 96, {TrackBuilder().end().bytes()})));
    ASSERT_TRUE(tooltest::writeText(dir.file("junk.wav"), "this is not a RIFF file at all"));
    struct Case {
        std::vector<std::string> args;
        std::string named;  // the option or file the message must name
    };
    const std::vector<Case> cases = {
        {{"--rate", "7999", song, out}, "--rate"},
        {{"--rate", "44.1k", song, out}, "--rate"},
        {{"--block", "0", song, out}, "--block"},
        {{"--block", "8193", song, out}, "--block"},
        {{"--polyphony", "0", song, out}, "--polyphony"},
        {{"--polyphony", "1025", song, out}, "--polyphony"},
        {{"--tail", "-1", song, out}, "--tail"},
        {{"--outputs", "some", song, out}, "--outputs"},
        {{"--wav", "128=" + dir.file("sine.wav"), song, out}, "--wav"},
        {{"--wav", dir.file("sine.wav"), song, out}, "--wav"},
        {{"--route", "17=1", song, out}, "--route"},
        {{"--frobnicate", song, out}, "--frobnicate"},
        {{song, out, "--rate"}, "--rate"},
        {{song}, "SONG.mid"},
        {{song, out, dir.file("third.wav")}, "SONG.mid"},
        {{dir.file("missing.mid"), out}, "missing.mid"},
        {{dir.file("format2.mid"), out}, "format2.mid"},
        {{"--wav", "0=" + dir.file("junk.wav"), song, out}, "junk.wav"},
        {{"--wav", "0=" + dir.file("absent.wav"), song, out}, "absent.wav"},
        {{"--tones", dir.file("absent.txt"), song, out}, "absent.txt"},
        {{"--samples", dir.file("nothing.txt"), song, out}, "nothing.txt"},
        {{song, dir.file("no/such/dir/out.wav")}, "out.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " ... " + c.named);
        const CommandRun r = render(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind("corvane-render: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(outputsLeft({"sine.wav", "samples.txt", "note.mid", "format2.mid", "junk.wav"}),
              std::vector<std::string>{});
}

TEST_F(RenderFixture, HelpAndSamplesWithoutConvertibleDepthWarn) {
    const CommandRun help = render({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: corvane-render"), std::string::npos);
    EXPECT_NE(help.out.find("--outputs mix|all"), std::string::npos);

    // A 12-bit file is accepted but cannot be converted: a warning, not an error.
    Bytes twelve = tooltest::wav16(std::vector<int16_t>(100, 1000), 1, 44100);
    twelve[34] = 12;
    ASSERT_TRUE(tooltest::writeBytes(dir.file("twelve.wav"), twelve));
    const CommandRun r = render(
        {"--wav", "3=" + dir.file("twelve.wav"), "--tail", "0", dir.file("note.mid"), dir.file("quiet.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("warning"), std::string::npos);
    EXPECT_NE(r.err.find("twelve.wav"), std::string::npos);
    const tooltest::FloatWav w = tooltest::parseFloatWav(tooltest::readBytes(dir.file("quiet.wav")));
    ASSERT_TRUE(w.valid);
    EXPECT_EQ(w.frames, 22050u);
}

}  // namespace
}  // namespace velt::corvane::tools
