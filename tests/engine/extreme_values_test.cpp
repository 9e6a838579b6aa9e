// Every public entry point of the engine fed with int32 extremes: nothing may overflow
// (the sanitizer build aborts on signed overflow) and the stored values stay usable.
// And a note that cannot sound leaves the voice pool alone.
#include <climits>
#include <cmath>
#include <cstring>

#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

const int32_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, -16384,   -129,  -1,    0,     1,
                             63,        127,           128,      16383, 16384, 86699, 12791808,
                             33554432,  INT32_MAX - 1, INT32_MAX};

/// A sounding slot in slot 0 and every preset pointing at it.
void prepare(SynthesizerPCM& synth) {
    fillSlot(synth.sampleSlot(0), rampCodes(4000), 1, 44100.0f, 440.0f);
    synth.sampleSlot(0).loopLength = 3000;
    for (int32_t i = 0; i < 128; ++i) flatTone(synth.tonePreset(i), 0);
}

/// Renders one block through the event chain with these events.
void renderEvents(SynthesizerPCM& synth, std::vector<MidiEvent>& events, int32_t frames = 64) {
    static std::vector<float> buffers[kChannelCount];
    float* channels[kChannelCount];
    for (int32_t c = 0; c < kChannelCount; ++c) {
        buffers[c].assign(256, 0.0f);
        channels[c] = buffers[c].data();
    }
    MidiEvent head;
    MidiEvent* last = &head;
    for (MidiEvent& e : events) {
        e.next = nullptr;
        last->next = &e;
        last = &e;
    }
    BlockContext context;
    context.channels = channels;
    context.events = &head;
    context.frameCount = frames;
    synth.process(context);
    for (int32_t c = 0; c < kChannelCount; ++c)
        for (int32_t i = 0; i < frames; ++i) ASSERT_TRUE(std::isfinite(buffers[c][i])) << c << " " << i;
}

MidiEvent event(int32_t status, int32_t channel, int32_t d1, int32_t d2, int32_t offset = 0) {
    MidiEvent e;
    e.status = status;
    e.channel = channel;
    e.data1 = d1;
    e.data2 = d2;
    e.offset = offset;
    return e;
}

void expectPartUsable(const PartState& p) {
    EXPECT_GE(p.pitchBend, 0);
    EXPECT_LE(p.pitchBend, 16383);
    EXPECT_GE(p.pitchBendRange, 0);
    EXPECT_LE(p.pitchBendRange, 127);
    for (int32_t c : {1, 6, 7, 10, 11, 38}) {
        EXPECT_GE(p.controllers[c], 0) << c;
        EXPECT_LE(p.controllers[c], 127) << c;
    }
    EXPECT_GE(p.program, 0);
    EXPECT_LE(p.program, 127);
}

TEST(ExtremeValues, ConvenienceEntryPoints) {
    SynthesizerPCM synth(440.0f, 0.8f);
    prepare(synth);
    synth.setNrpnEnabled(true);
    for (int32_t v : kExtremes) {
        SCOPED_TRACE(v);
        const int32_t ch = 3;
        synth.sendNoteOn(ch, 60, 100);
        // Bend and its range, reaching the sounding voice and the next note start.
        synth.sendPitchBend(ch, v, v);
        synth.sendPitchBend(ch, 0, v);
        synth.sendPitchBend14(ch, v);
        synth.sendControlChange(ch, 101, 0);
        synth.sendControlChange(ch, 100, 0);
        for (int32_t c : {6, 38, 96, 97, 6}) synth.sendControlChange(ch, c, v);
        synth.sendControlChange(ch, 99, 0);
        for (int32_t lsb : {0, 32, 33}) {
            synth.sendControlChange(ch, 98, lsb);
            synth.sendControlChange(ch, 6, v);
        }
        synth.setPartMode(ch, 1);
        for (int32_t c = 0; c < 128; ++c) synth.sendControlChange(ch, c, v);
        synth.sendControlChange(ch, v, v);
        synth.sendNoteOn(ch, v, v);
        synth.sendNoteOn(v, 60, 127);
        synth.sendNoteOff(ch, v);
        synth.sendNoteOff(v, v);
        synth.sendPolyPressure(ch, v, v);
        synth.sendProgramChange(ch, v);
        synth.sendChannelPressure(ch, v);
        synth.setPartOutput(ch, v);
        synth.setPartOutput(v, 1);
        synth.setPartBendRange(ch, v);
        synth.setPartMode(v, v);
        synth.setPartDefaultMode(v, v);
        synth.setPartMode(ch, 1);
        synth.killVoices(v);
        synth.dampVoices(v);
        synth.sendNoteOn(ch, 64, 90);
        std::vector<MidiEvent> none;
        renderEvents(synth, none);
        expectPartUsable(synth.part(ch));
    }
    synth.setPolyphony(INT32_MIN);
    synth.setPolyphony(INT32_MAX);
    EXPECT_EQ(synth.getVoiceCount(), 1024);
    const uint8_t bytes[4] = {0x7D, 0x10, 0x23, 0xF7};
    synth.setAcceptSysEx(true);
    synth.sendSysEx(bytes, INT32_MIN);
    synth.sendSysEx(bytes, 4);
    synth.sendSysEx(nullptr, INT32_MAX);
}

TEST(ExtremeValues, EventChain) {
    SynthesizerPCM synth(440.0f, 0.8f);
    prepare(synth);
    synth.setNrpnEnabled(true);
    for (int32_t v : kExtremes) {
        SCOPED_TRACE(v);
        std::vector<MidiEvent> events = {
            event(kNoteOn, 2, 60, 100),          event(kPitchBend, 2, v, v, 1),
            event(kControlChange, 2, 101, 0, 2), event(kControlChange, 2, 100, 0, 2),
            event(kControlChange, 2, 6, v, 3),   event(kControlChange, 2, 38, v, 3),
            event(kControlChange, 2, 96, v, 3),  event(kControlChange, 2, 99, 0, 4),
            event(kControlChange, 2, 98, 0, 4),  event(kControlChange, 2, 6, v, 5),
            event(kControlChange, 2, 1, v, 6),   event(kControlChange, 2, 7, v, 6),
            event(kControlChange, 2, 10, v, 6),  event(kControlChange, 2, 11, v, 6),
            event(kControlChange, 2, v, v, 7),   event(kProgramChange, 2, v, 0, 8),
            event(kChannelPressure, 2, v, 0, 8), event(kPolyPressure, 2, v, v, 8),
            event(kNoteOn, 2, v, v, 9),          event(kNoteOn, 2, 61, 100, v),
            event(kNoteOff, 2, v, v, 10),        event(kNoteOn, v, 60, 100, 10),
            event(kPitchBend, 2, 0, v, 11),      event(kNoteOn, 2, 62, 100, 12),
        };
        renderEvents(synth, events);
        expectPartUsable(synth.part(2));
    }
}

TEST(ExtremeValues, RecordFieldsAtNoteStart) {
    for (int32_t v : kExtremes) {
        SCOPED_TRACE(v);
        SynthesizerPCM synth(440.0f, 0.8f);
        prepare(synth);
        TonePreset& t = synth.tonePreset(0);
        t.lfoFreq = t.strc = t.tune = t.lms = t.tl = t.ar = t.dr = t.sl = t.rr = t.kf = t.kfStart = v;
        SamplerPreset& q = synth.samplerPreset(60);
        q.pan = q.octv = q.tune = q.tl = q.ar = q.dr = q.sl = q.rr = v;
        SampleData& s = synth.sampleSlot(0);
        s.rateLog = s.pitchOffset = v;
        // Part words as a damaged restore or a direct edit may leave them.
        for (int32_t part : {0, 1}) {
            PartState& p = synth.part(part);
            p.pitchBend = p.pitchBendRange = p.program = v;
            p.controllers[1] = p.controllers[7] = p.controllers[10] = p.controllers[11] = v;
            p.program = 0;
        }
        synth.setPartMode(1, kModeSampler);
        synth.sendNoteOn(0, 60, 100);
        synth.sendNoteOn(1, 60, 100);
        std::vector<MidiEvent> events = {event(kPitchBend, 0, 127, 127, 5),
                                         event(kControlChange, 1, 10, 127, 6),
                                         event(kControlChange, 0, 1, 127, 7), event(kNoteOff, 0, 60, 0, 9)};
        renderEvents(synth, events, 200);
        // Every voice operation, straight on the voices, with the extreme as its value.
        for (int32_t i = 0; i < synth.getVoiceCount(); ++i) {
            auto& voice = synth.voice(i);
            if (voice.state == 0) continue;
            voice.setBendRange(v);
            voice.setBend(v);
            voice.setModulation(v);
            voice.setVolume(v);
            voice.setExpression(v);
            voice.setPan(v);
        }
        std::vector<MidiEvent> none;
        renderEvents(synth, none, 200);
        // Slot points at the limits.
        s.PlayBackStartPoint = s.PlayBackEndPoint = s.LoopEndPoint = s.loopLength = s.releaseLoopLength = v;
        synth.part(0).program = 0;
        synth.sendNoteOn(0, 61, 100);
        synth.sendNoteOn(1, 61, 100);
        renderEvents(synth, none, 200);
    }
}

TEST(ExtremeValues, MasterSettingsAndBlockBounds) {
    SynthesizerPCM synth(440.0f, 0.8f);
    prepare(synth);
    for (float f : {0.0f, -1.0f, 1e-30f, 1e30f, -1e30f, INFINITY, -INFINITY, NAN}) {
        synth.setMasterTune(f);
        synth.setSampleRate(f);
        synth.sendNoteOn(0, 60, 100);
        std::vector<MidiEvent> none;
        renderEvents(synth, none);
    }
    synth.setSampleRate(44100.0f);
    synth.setMasterTune(440.0f);
    // A block whose start lies near the top of the range does not overflow its end.
    BlockContext context;
    float* channels[kChannelCount] = {};
    context.channels = channels;
    context.startOffset = INT32_MAX - 10;
    context.frameCount = INT32_MAX;
    synth.killVoices(-1);
    synth.process(context);
}

TEST(NoteThatCannotSound, TakesNoVoice) {
    SynthesizerPCM synth(440.0f, 0.8f);
    prepare(synth);
    synth.setPolyphony(4);
    synth.tonePreset(1).wave = 5;    // an empty slot
    synth.tonePreset(2).wave = 200;  // no slot at all
    synth.tonePreset(3).wave = -1;
    synth.samplerPreset(70).smplNum = 9;
    synth.samplerPreset(71).smplNum = 0;
    synth.setPartMode(5, kModeSampler);

    // With voices free: the cursor does not move.
    synth.sendProgramChange(1, 1);
    synth.sendNoteOn(1, 60, 100);
    EXPECT_EQ(synth.voiceCursor(), 0);
    EXPECT_EQ(synth.countActiveVoices(), 0);

    // A full pool of held notes: notes on empty slots steal none of them.
    std::vector<MidiEvent> chords = {event(kNoteOn, 0, 60, 100), event(kNoteOn, 0, 62, 100),
                                     event(kNoteOn, 0, 64, 100), event(kNoteOn, 0, 65, 100)};
    renderEvents(synth, chords);
    ASSERT_EQ(synth.countActiveVoices(), 4);
    const int32_t cursor = synth.voiceCursor();
    int32_t keys[4];
    for (int32_t i = 0; i < 4; ++i) keys[i] = synth.voice(i).key;

    synth.sendProgramChange(2, 2);
    synth.sendProgramChange(3, 3);
    std::vector<MidiEvent> silent = {event(kNoteOn, 1, 70, 100, 1), event(kNoteOn, 2, 71, 100, 2),
                                     event(kNoteOn, 3, 72, 100, 3), event(kNoteOn, 5, 70, 100, 4)};
    renderEvents(synth, silent);
    synth.sendNoteOn(1, 73, 100);
    synth.sendNoteOn(5, 70, 100);
    EXPECT_EQ(synth.voiceCursor(), cursor);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(synth.voice(i).state, 0x11) << i;
        EXPECT_EQ(synth.voice(i).part, 0) << i;
        EXPECT_EQ(synth.voice(i).key, keys[i]) << i;
    }

    // A sampler key whose slot sounds still steals, as before.
    synth.sendNoteOn(5, 71, 100);
    EXPECT_EQ(synth.voiceCursor(), (cursor + 1) & 3);
    EXPECT_EQ(synth.voice(synth.voiceCursor()).part, 5);
    EXPECT_EQ(synth.voice(synth.voiceCursor()).key, 71);
    EXPECT_TRUE(synth.noteCanSound(event(kNoteOn, 5, 71, 1)));
    EXPECT_FALSE(synth.noteCanSound(event(kNoteOn, 5, 70, 1)));
}

}  // namespace
}  // namespace velt::corvane::enginetest
