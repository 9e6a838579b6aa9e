// The engine holder: imports with their recorded paths, the hand-off of edits to a
// running audio thread, the state restore with its re-imports and the search for
// moved WAV files.
#include "host/engine_host.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

#include "host/editor_requests.h"
#include "host/state_chunk.h"
#include "tests/plugin/test_files.h"

namespace velt::corvane::host {
namespace {

using synth::EditKind;
using synth::EngineEdit;
using test::TempFolder;
using test::writeRampWav;

/// One block as the processor renders it.
void runBlock(EngineHost& host, int32_t frames = 64) {
    static float buffers[kChannelCount][256];
    float* channels[kChannelCount];
    for (int32_t i = 0; i < kChannelCount; ++i) channels[i] = buffers[i];
    host.applyQueuedEdits();
    const bool events = host.midiIn().count() > 0;
    host.rack().processBlock(channels, frames);
    host.endBlock(events);
}

EngineEdit toneEdit(int32_t index, int32_t tl) {
    EngineEdit e{};
    e.kind = EditKind::TonePreset;
    e.index = index;
    resetTonePreset(e.tone);
    e.tone.tl = tl;
    return e;
}

std::vector<uint8_t> saved(EngineHost& host) {
    return state::stateChunkBytes(host.captureState());
}

bool restore(EngineHost& host, const std::vector<uint8_t>& bytes) {
    state::MemorySource source(bytes.data(), bytes.size());
    return host.restoreState(source);
}

/// Sets a slot's points and loop the way a restore does.
void setPoints(EngineHost& host, int32_t slot, int32_t start, int32_t end, int32_t loopStart,
               int32_t loopEnd) {
    EngineEdit e{};
    e.kind = EditKind::SlotRestore;
    e.index = slot;
    e.restore.stage = 4;
    e.restore.sampleRate = host.view().slots[slot].sampleRate;
    e.restore.Pitch = 261.6f;
    e.restore.start = start;
    e.restore.end = end;
    e.restore.loopStart = loopStart;
    e.restore.loopEnd = loopEnd;
    host.submit(e);
}

TEST(EngineHost, ImportsRecordPathsAndEncodingsOnlyForAcceptedFiles) {
    TempFolder dir;
    EngineHost host;
    ASSERT_TRUE(host.valid());
    const std::string wav = writeRampWav(dir.file("ramp.wav"), 1000, 22050);

    EXPECT_TRUE(host.importSample(3, wav.c_str(), 2));
    EXPECT_EQ(host.samplePath(3), wav);
    EXPECT_EQ(host.sampleEncoding(3), 2);
    const SlotView& s = host.view().slots[3];
    EXPECT_TRUE(s.hasData);
    EXPECT_EQ(s.frameCount, 1000);
    EXPECT_EQ(s.PlayBackEndPoint, 1000);
    EXPECT_EQ(s.rateLog, 118198);
    EXPECT_EQ(host.flags(), 0);
    EXPECT_FALSE(host.rack().isSlotSuspended(1));

    // A missing file fails and changes nothing; a malformed one succeeds and changes nothing.
    EXPECT_FALSE(host.importSample(3, dir.file("absent.wav").c_str(), 0));
    test::writeBytes(dir.file("garbage.wav"),
                     {'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'A', 'V', 'E', 0, 0, 0, 0});
    EXPECT_TRUE(host.importSample(3, dir.file("garbage.wav").c_str(), 0));
    EXPECT_EQ(host.samplePath(3), wav);
    EXPECT_EQ(host.view().slots[3].frameCount, 1000);

    // An unknown encoding records path and code and leaves the samples alone.
    EXPECT_TRUE(host.importSample(3, wav.c_str(), 7));
    EXPECT_EQ(host.sampleEncoding(3), 7);
    EXPECT_EQ(host.view().slots[3].frameCount, 1000);

    EXPECT_FALSE(host.importSample(128, wav.c_str(), 0));
    EXPECT_FALSE(host.importSample(-1, wav.c_str(), 0));
}

TEST(EngineHost, EditsReachTheAudioThreadInOrderNoneIsLostAndTheViewHasThemAtOnce) {
    TempFolder dir;
    EngineHost host;
    host.startAudio();
    // Far more than the queue holds, with no block in between: the rest waits, in order.
    for (int32_t i = 0; i < 3000; ++i) host.submit(toneEdit(i % 128, i % 100));
    EXPECT_EQ(host.synth().tonePreset(5).tl, 0) << "the main thread must not write while audio runs";
    // What the main thread reads already has them, with no block run.
    for (int32_t n = 0; n < 128; ++n) {
        const int32_t last = n < 3000 - 2944 ? 2944 + n : 2816 + n;
        ASSERT_EQ(host.view().tones[n].tl, last % 100) << n;
    }
    EXPECT_FALSE(host.audioCaughtUp());
    for (int32_t i = 0; i < 8; ++i) {
        host.service();
        runBlock(host);
    }
    EXPECT_TRUE(host.audioCaughtUp());
    // Tone n last received edit 2944 + n (for n < 56) or 2816 + n.
    for (int32_t n = 0; n < 128; ++n) {
        const int32_t last = n < 3000 - 2944 ? 2944 + n : 2816 + n;
        EXPECT_EQ(host.view().tones[n].tl, last % 100) << n;
    }

    // An import while running: the old array comes back to the main thread to be freed
    // (the leak checker of the sanitizer build sees it otherwise).
    const std::string wav = writeRampWav(dir.file("a.wav"), 500);
    ASSERT_TRUE(host.importSample(0, wav.c_str(), 0));
    ASSERT_TRUE(host.importSample(0, wav.c_str(), 1));
    EXPECT_FALSE(host.synth().sampleSlot(0).hasData);
    EXPECT_TRUE(host.view().slots[0].hasData);
    EXPECT_EQ(host.view().slots[0].frameCount, 500);
    runBlock(host);
    host.service();
    EXPECT_EQ(host.view().slots[0].frameCount, 500);
    EXPECT_FALSE(host.rack().isSlotSuspended(1));

    // Stopping applies what is still queued.
    host.submit(toneEdit(9, 77));
    host.stopAudio();
    EXPECT_EQ(host.view().tones[9].tl, 77);
    host.submit(toneEdit(9, 78));
    EXPECT_EQ(host.view().tones[9].tl, 78) << "stopped: edits apply at once";
}

TEST(EngineHost, AConcurrentAudioThreadSeesEveryEditOnce) {
    EngineHost host;
    host.startAudio();
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        while (!stop.load()) runBlock(host, 32);
    });
    for (int32_t i = 0; i < 20000; ++i) {
        host.submit(toneEdit(i % 128, i % 101));
        if (i % 1000 == 0) host.changePolyphony(i % 2000 == 0 ? 64 : 256);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!host.audioCaughtUp() && std::chrono::steady_clock::now() < deadline) {
        host.service();  // what waits for room in the ring
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(host.audioCaughtUp());
    EXPECT_EQ(host.view().tones[127].tl, 19967 % 101);
    stop = true;
    audio.join();
    host.stopAudio();
    EXPECT_EQ(host.view().tones[127].tl, 19967 % 101);
    EXPECT_EQ(host.view().voiceCount, 256);
    EXPECT_EQ(host.flags(), 0);
    EXPECT_FALSE(host.rack().isSlotSuspended(1));
}

TEST(EngineHost, PolyphonyAndPartModeFollowTheirRules) {
    EngineHost host;
    host.changePolyphony(100);
    EXPECT_EQ(host.view().voiceCount, 128);
    host.changePolyphony(3000);
    EXPECT_EQ(host.view().voiceCount, 1024);
    host.changePolyphony(0);
    EXPECT_EQ(host.view().voiceCount, 1024);
    host.changePolyphony(5);
    EXPECT_EQ(host.view().voiceCount, 8);
    EXPECT_EQ(host.voiceCount(), 8);

    EngineEdit program{};
    program.kind = EditKind::ProgramChange;
    program.index = 4;
    program.a = 9;
    host.submit(program);
    EngineEdit tone = toneEdit(9, 0);
    tone.tone.wave = 33;
    host.submit(tone);
    EditorRequests editor(host);
    editor.setSelectedPart(4);
    editor.setSelectedSampler(2);
    editor.setSelectedPartMode(2);
    EXPECT_EQ(host.view().parts[4].mode, 2);
    EXPECT_EQ(editor.selectedTone(), 9);
    EXPECT_EQ(editor.selectedSample(), 33);
    editor.setSelectedPartMode(99);
    EXPECT_EQ(host.view().parts[4].mode, 3);
    EXPECT_EQ(editor.selectedSample(), host.view().samplers[2].smplNum);
    editor.setSelectedPartMode(-4);
    EXPECT_EQ(host.view().parts[4].mode, 0);
}

/// ((v + 1) / 128)^2 in single precision: the level curve of volume, expression and velocity.
float curve(int32_t v) {
    const float x = static_cast<float>(v + 1) / 128.0f;
    return x * x;
}

TEST(EngineHost, PartCommandsResetWhatTheySayAndStopVoicesTheirWay) {
    TempFolder dir;
    EngineHost host;
    ASSERT_TRUE(host.importSample(0, writeRampWav(dir.file("ramp.wav"), 20000).c_str(), 0));
    setPoints(host, 0, 0, 20000, 0, 0);  // Pitch 261.6: the notes play about one frame per frame
    synth::SynthesizerPCM& synth = host.synth();
    // Parts 3 and 4 far from their reset values, with notes sounding on parts 3, 4 and 0.
    const auto dial = [&synth](int32_t ch) {
        synth.setPartOutput(ch, 5);
        synth.setPartDefaultMode(ch, 2);
        synth.setPartMode(ch, 2);
        synth.sendProgramChange(ch, 9);
        const std::pair<int32_t, int32_t> values[] = {{1, 70},  {5, 33},  {7, 90},
                                                      {10, 20}, {11, 50}, {64, 127}};
        for (const auto& [number, value] : values) synth.sendControlChange(ch, number, value);
        synth.sendControlChange(ch, 101, 0);
        synth.sendControlChange(ch, 100, 0);
        synth.sendControlChange(ch, 6, 12);  // bend range 12
        synth.sendControlChange(ch, 101, 5);
        synth.sendPitchBend14(ch, 1000);
        synth.sendChannelPressure(ch, 40);
    };
    const auto sound = [&synth] {
        for (int32_t ch : {3, 4, 0}) synth.sendNoteOn(ch, 60 + ch, 100);
        ASSERT_EQ(synth.countActiveVoices(), 3);
    };
    const auto voiceOf = [&synth](int32_t ch) -> synth::SynthesizerPCM::VoiceUnitPCM* {
        for (int32_t i = 0; i < synth.getVoiceCount(); ++i)
            if (synth.voice(i).part == ch) return &synth.pcmVoice(i);
        return nullptr;
    };
    dial(3), dial(4);
    const PartState dialled = synth.part(4);
    const auto unchanged = [&](int32_t ch) {
        const PartState& p = synth.part(ch);
        return std::memcmp(&p, &dialled, sizeof p) == 0;
    };
    EditorRequests editor(host);
    editor.setSelectedPart(3);
    float echo = -1.0f;

    // Reset All Controller: bend, modulation, expression, pressure and the selections of the
    // selected part; its volume, pan, pedal, other controllers, program and bend range stay,
    // and its notes go on with the new values.
    sound();
    ASSERT_TRUE(editor.applyValueChange(0x0182, 0.0, echo));
    EXPECT_EQ(echo, 0.0f);
    PartState expected = dialled;
    expected.pitchBend = 8192, expected.controllers[1] = 0, expected.controllers[11] = 127;
    expected.channelPressure = 0, expected.rpnSelect = 0, expected.nrpnSelect = 0,
    expected.parameterIndex = 256;
    EXPECT_EQ(std::memcmp(&synth.part(3), &expected, sizeof expected), 0);
    EXPECT_EQ(synth.part(3).controllers[64], 127);
    EXPECT_EQ(synth.part(3).pitchBendRange, 12);
    EXPECT_TRUE(unchanged(4));
    EXPECT_EQ(synth.countActiveVoices(), 3);
    ASSERT_NE(voiceOf(3), nullptr);
    EXPECT_EQ(voiceOf(3)->state, 0x11);
    EXPECT_EQ(voiceOf(3)->expressionGain, 1.0f);
    EXPECT_EQ(voiceOf(3)->volumeGain, curve(90));
    EXPECT_EQ(voiceOf(3)->bendValue, 0);
    EXPECT_EQ(voiceOf(3)->lfoDepth, 0);
    EXPECT_EQ(voiceOf(4)->expressionGain, curve(50));
    EXPECT_EQ(voiceOf(4)->bendValue, 1000 - 8192);

    // All Sound Off: every voice of every part fades out fast (96 dB in 1/512 s, under 90
    // frames at 44.1 kHz); no part record changes. (A voice still at the very start of its
    // attack would have nothing to fade and stop at once: the notes play past it first.)
    synth.killVoices(-1);
    dial(3);
    sound();
    runBlock(host, 256);
    ASSERT_EQ(synth.countActiveVoices(), 3);
    ASSERT_TRUE(editor.applyValueChange(0x0183, 0.0, echo));
    EXPECT_EQ(echo, 0.0f);
    for (int32_t i = 0; i < synth.getVoiceCount(); ++i) {
        const int32_t state = synth.voice(i).state;
        EXPECT_TRUE(state == 0 || state == 0x41) << i;
        EXPECT_EQ(synth.voice(i).part, -1) << i;
    }
    EXPECT_EQ(synth.countActiveVoices(), 3);  // still fading
    EXPECT_TRUE(unchanged(3));
    EXPECT_TRUE(unchanged(4));
    runBlock(host, 128);
    EXPECT_EQ(synth.countActiveVoices(), 0);

    // Reset Part: every voice of every part stops at once; the selected part gets the part
    // reset and Instrument mode, keeping its output and default mode; the others keep all.
    sound();
    ASSERT_TRUE(editor.applyValueChange(0x0181, 0.0, echo));
    EXPECT_EQ(echo, 0.0f);
    EXPECT_EQ(synth.countActiveVoices(), 0);
    const PartState& p = synth.part(3);
    EXPECT_EQ(p.outputBus, 5);
    EXPECT_EQ(p.defaultMode, 2);
    EXPECT_EQ(p.mode, kModeInstrument);
    EXPECT_EQ(p.program, 0);
    EXPECT_EQ(p.channelPressure, 0);
    EXPECT_EQ(p.pitchBend, 8192);
    EXPECT_EQ(p.pitchBendRange, 2);
    EXPECT_EQ(p.rpnSelect, 0);
    EXPECT_EQ(p.nrpnSelect, 0);
    EXPECT_EQ(p.parameterIndex, 256);
    for (int32_t c = 0; c < kStoredControllerCount; ++c)
        EXPECT_EQ(p.controllers[c], c == 7 ? 100 : c == 10 ? 64 : c == 11 ? 127 : 0) << c;
    EXPECT_TRUE(unchanged(4));
    EXPECT_EQ(editor.selectedTone(), 0);
    // A note on the reset part plays program 0 at volume 100, expression 127, centre pan.
    synth.sendNoteOn(3, 69, 100);
    ASSERT_NE(voiceOf(3), nullptr);
    const float centre = 0.70710677f;  // sin(pi / 4)
    EXPECT_NEAR(voiceOf(3)->gainLeft, curve(100) * curve(127) * curve(100) * 0.8f * centre, 1e-7);
    EXPECT_EQ(voiceOf(3)->gainLeft, voiceOf(3)->gainRight);
    EXPECT_EQ(voiceOf(3)->outputChannel, 10);
}

TEST(EngineHostState, RestoreReimportsFilesWithPointsAndLoops) {
    TempFolder dir;
    EngineHost a;
    const std::string first = writeRampWav(dir.file("first.wav"), 1000);
    const std::string second = writeRampWav(dir.file("second.wav"), 800, 22050);
    ASSERT_TRUE(a.importSample(0, first.c_str(), 0));
    ASSERT_TRUE(a.importSample(5, second.c_str(), 1));
    setPoints(a, 0, 100, 900, 400, 900);  // loop to the end: release loop kept
    setPoints(a, 5, 0, 800, 10, 700);     // loop ending early: no release loop
    const std::vector<uint8_t> bytes = saved(a);

    EngineHost b;
    ASSERT_TRUE(restore(b, bytes));
    const SlotView& s0 = b.view().slots[0];
    EXPECT_EQ(b.samplePath(0), first);
    EXPECT_EQ(s0.frameCount, 1000);
    EXPECT_EQ(s0.PlayBackStartPoint, 100);
    EXPECT_EQ(s0.PlayBackEndPoint, 900);
    EXPECT_EQ(s0.LoopEndPoint, 900);
    EXPECT_EQ(s0.loopLength, 500);
    EXPECT_EQ(s0.releaseLoopLength, 500);
    EXPECT_FLOAT_EQ(s0.Pitch, 261.6f);
    const SlotView& s5 = b.view().slots[5];
    EXPECT_EQ(b.sampleEncoding(5), 1);
    EXPECT_EQ(s5.loopLength, 690);
    EXPECT_EQ(s5.releaseLoopLength, 0);
    EXPECT_EQ(s5.rateLog, 118198);
    EXPECT_EQ(saved(b), bytes);

    // Points that do not fit the file are not taken; a loop that does not fit is cleared.
    state::StateChunk c = a.captureState();
    c.slots[0].end = 5000;
    c.slots[0].loopStart = 2000;
    c.slots[0].loopEnd = 0xFFFFFFFF;
    EngineHost d;
    ASSERT_TRUE(restore(d, state::stateChunkBytes(c)));
    EXPECT_EQ(d.view().slots[0].PlayBackStartPoint, 0);
    EXPECT_EQ(d.view().slots[0].PlayBackEndPoint, 1000);
    EXPECT_EQ(d.view().slots[0].loopLength, 0);
    EXPECT_EQ(d.view().slots[0].LoopEndPoint, 1000);
}

TEST(EngineHostState, MovedFilesAreFoundBesideTheOthersThenOnTheSearchPath) {
    TempFolder dir;
    const std::string old = dir.folder("old");
    EngineHost a;
    for (int32_t slot : {1, 2, 3}) {
        const std::string path = writeRampWav(old + "/s" + std::to_string(slot) + ".wav", 300 + slot);
        ASSERT_TRUE(a.importSample(slot, path.c_str(), 0));
    }
    setPoints(a, 3, 10, 200, 50, 200);
    const std::vector<uint8_t> bytes = saved(a);

    // Slot 1's file stays; slot 2's moves beside a file that another slot finds; slot 3's
    // is only on the search path; "old" goes away.
    const std::string kept = dir.folder("kept");
    const std::string elsewhere = dir.folder("elsewhere");
    state::StateChunk c;
    {
        std::vector<uint8_t> copy = bytes;
        state::MemorySource source(copy.data(), copy.size());
        ASSERT_TRUE(state::readStateChunk(source, c).complete);
    }
    std::filesystem::rename(old + "/s1.wav", kept + "/s1.wav");
    std::filesystem::rename(old + "/s2.wav", kept + "/s2.wav");
    std::filesystem::rename(old + "/s3.wav", elsewhere + "/s3.wav");
    c.slots[1].path = kept + "/s1.wav";
    const std::vector<uint8_t> moved = state::stateChunkBytes(c);

    ASSERT_EQ(setenv("CORVANE_SAMPLE_PATH", ("/nonexistent:" + elsewhere).c_str(), 1), 0);
    EngineHost b;
    ASSERT_TRUE(restore(b, moved));
    unsetenv("CORVANE_SAMPLE_PATH");
    EXPECT_EQ(b.samplePath(2), kept + "/s2.wav");
    EXPECT_EQ(b.view().slots[2].frameCount, 302);
    EXPECT_EQ(b.samplePath(3), elsewhere + "/s3.wav");
    EXPECT_EQ(b.view().slots[3].PlayBackStartPoint, 10);
    EXPECT_EQ(b.view().slots[3].loopLength, 150);

    // Found nowhere: empty, but the saved entry survives another save unchanged.
    EngineHost e;
    ASSERT_TRUE(restore(e, bytes));
    EXPECT_FALSE(e.view().slots[3].hasData);
    EXPECT_EQ(e.samplePath(3), old + "/s3.wav");
    EXPECT_EQ(saved(e), bytes);
    // A later import into that slot replaces the kept entry.
    ASSERT_TRUE(e.importSample(3, (kept + "/s1.wav").c_str(), 0));
    EXPECT_EQ(e.captureState().slots[3].path, kept + "/s1.wav");
}

}  // namespace
}  // namespace velt::corvane::host
