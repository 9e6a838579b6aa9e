// The block renderer: events at their frames, skipping rules, program change paths.
#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

/// Output of a flat tone on the ramp slot, started at frame `start`, with gain g.
float flatFrame(int32_t i, int32_t start, float g) {
    if (i < start) return 0.0f;
    const int32_t pos = i - start;
    return static_cast<float>(decode(static_cast<uint32_t>(2 * (pos % 4000) + (pos & 1)))) * g;
}

void setUpFlat(SynthesizerPCM& synth) {
    fillSlot(synth.sampleSlot(0), rampCodes(4000), 1, 44100.0f, 440.0f);
    flatTone(synth.tonePreset(0));
}

TEST(BlockRenderer, EventsAtTheSameFrameApplyTogetherAtThatFrame) {
    Rig r;
    setUpFlat(r.synth);
    r.noteOn(0, 0, 69, 127);
    r.cc(64, 0, 7, 50);
    r.cc(64, 0, 11, 60);
    r.render(128, 128);
    const float g0 = toneGain(100, 127, 127, 0.8f, 128);
    const float g1 = toneGain(50, 60, 127, 0.8f, 128);
    std::vector<float> expected(128);
    for (int32_t i = 0; i < 128; ++i) expected[i] = flatFrame(i, 0, i < 64 ? g0 : g1);
    EXPECT_TRUE(samplesMatch(r.out[0], expected));
    EXPECT_TRUE(samplesMatch(r.out[1], expected));

    // Velocity 0 ends the note like a note off; the release starts at its frame.
    r.noteOn(200, 0, 69, 0);
    r.render(72);
    EXPECT_EQ(r.soleVoice().state, 0x11);
    r.render(1);
    EXPECT_EQ(r.soleVoice().state, 0x21);
}

TEST(BlockRenderer, SkippedEventsDoNotMoveTheRenderPosition) {
    SynthesizerPCM synth(440.0f, 0.8f);
    setUpFlat(synth);
    synth.setPartMode(1, 0);
    std::vector<float> buffers[kChannelCount];
    float* channels[kChannelCount];
    for (int32_t c = 0; c < kChannelCount; ++c) buffers[c].assign(128, 0.0f), channels[c] = buffers[c].data();

    // Every event at 64 must be skipped; the note at 10 behind them still starts at 10.
    MidiEvent head, muted, foreign, folded, clock, sysex, note;
    auto set = [](MidiEvent& e, int32_t status, int32_t ch, int32_t d1, int32_t d2, int32_t offset) {
        e.status = status, e.channel = ch, e.data1 = d1, e.data2 = d2, e.offset = offset;
    };
    set(muted, 144, 1, 60, 100, 64);
    set(foreign, 176, 0, 7, 5, 64);
    foreign.portMask = 0;
    set(folded, 145, 0, 61, 100, 64);
    set(clock, 248, 0, 0, 0, 64);
    const uint8_t volumeFull[] = {0x7D, 0x10, 0x23, 0x00, 0x00, 0x00, 0x7F, 0xF7};
    set(sysex, 240, 0, 0, 0, 64);
    std::copy(std::begin(volumeFull), std::end(volumeFull), sysex.sysExData);
    sysex.sysExLength = 8;
    set(note, 144, 0, 69, 127, 10);
    head.next = &muted, muted.next = &foreign, foreign.next = &folded, folded.next = &clock;
    clock.next = &sysex, sysex.next = &note;

    BlockContext context;
    context.channels = channels;
    context.events = &head;
    context.frameCount = 128;
    synth.process(context);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    std::vector<float> expected(128);
    for (int32_t i = 0; i < 128; ++i) expected[i] = flatFrame(i, 10, g);
    EXPECT_TRUE(samplesMatch(buffers[0], expected));
    EXPECT_EQ(synth.countActiveVoices(), 1);
    EXPECT_EQ(synth.part(0).controllers[7], 100);
    EXPECT_EQ(synth.getMasterVolume(), 0.8f);

    // With reception on, the SysEx event reaches the receiver; a matching port mask passes.
    synth.setAcceptSysEx(true);
    synth.setReceivePortMask(0x0002);
    foreign.portMask = 0x0003;
    head.next = &sysex, sysex.next = &foreign, foreign.next = nullptr;
    synth.process(context);
    EXPECT_EQ(synth.getMasterVolume(), 1.0f);
    EXPECT_EQ(synth.part(0).controllers[7], 5);
    foreign.data2 = 9;
    foreign.portMask = 0x0001;
    synth.process(context);
    EXPECT_EQ(synth.part(0).controllers[7], 5);
}

TEST(BlockRenderer, ProgramChangeFromTheChainKeepsNotesSendProgramChangeDamps) {
    Rig r;
    setUpFlat(r.synth);
    r.noteOn(0, 0, 69, 127);
    r.program(10, 0, 5);
    r.render(256);
    Voice& v = r.soleVoice();
    EXPECT_EQ(r.synth.part(0).program, 5);
    EXPECT_EQ(v.state, 0x11);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    std::vector<float> expected(256);
    for (int32_t i = 0; i < 256; ++i) expected[i] = flatFrame(i, 0, g);
    EXPECT_TRUE(samplesMatch(r.out[0], expected));

    // Through the entry point the part's voices are damped: 96 dB in about 1/512 s.
    r.synth.sendProgramChange(0, 7);
    EXPECT_EQ(r.synth.part(0).program, 7);
    EXPECT_EQ(v.state, 0x41);
    EXPECT_EQ(v.part, -1);
    r.synth.sendNoteOff(0, 69);
    EXPECT_EQ(v.state, 0x41);
    const int32_t dampFrames = static_cast<int32_t>((104LL << 23) / 12466118) + 1;  // envPos 0 to endPos
    EXPECT_EQ(dampFrames, 70);
    r.render(dampFrames);  // the last of these frames still sounds
    EXPECT_EQ(v.state, 0x41);
    EXPECT_NE(r.out[0].back(), 0.0f);
    r.render(1);
    EXPECT_EQ(v.state, 0);
    EXPECT_EQ(r.out[0].back(), 0.0f);

    // All sound off (CC 120) damps as well, at its frame.
    r.noteOn(r.now, 0, 69, 127);
    r.cc(r.now + 5, 0, 120, 0);
    r.render(5);
    EXPECT_EQ(r.soleVoice().state, 0x11);
    r.render(1);
    EXPECT_EQ(r.soleVoice().state, 0x41);
    EXPECT_EQ(r.synth.part(0).controllers[7], 100);
}

}  // namespace
}  // namespace velt::corvane::enginetest
