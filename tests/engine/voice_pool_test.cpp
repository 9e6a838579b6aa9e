// Voice allocation order, stealing, release rules, polyphony and output routing.
#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

struct Pool {
    SynthesizerPCM synth{440.0f, 0.8f};
    Pool() {
        fillSlot(synth.sampleSlot(0), rampCodes(2000), 1, 44100.0f, 440.0f);
        flatTone(synth.tonePreset(0));
    }
    /// Starts a note and returns the index of the voice it took (the cursor).
    int32_t on(int32_t ch, int32_t key) {
        synth.sendNoteOn(ch, key, 100);
        return synth.voiceCursor();
    }
    const auto& v(int32_t i) { return synth.voice(i); }
};

TEST(VoicePool, RoundRobinAllocationAndStealing) {
    Pool p;
    EXPECT_EQ(p.synth.setPolyphony(4), 4);
    EXPECT_EQ(p.synth.voiceCursor(), 0);
    EXPECT_EQ(p.on(0, 60), 1);
    EXPECT_EQ(p.on(0, 61), 2);
    EXPECT_EQ(p.on(0, 62), 3);
    EXPECT_EQ(p.on(0, 63), 0);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p.v(i).state, 0x11);
        EXPECT_EQ(p.v(i).part, 0);
        EXPECT_EQ(p.v(i).key, i == 0 ? 63 : 59 + i);
    }
    // All held: the voice behind the cursor (the oldest) is restarted directly.
    auto& stolen = p.synth.pcmVoice(1);
    stolen.envPos = 12345;
    EXPECT_EQ(p.on(2, 70), 1);
    EXPECT_EQ(stolen.state, 0x11);
    EXPECT_EQ(stolen.part, 2);
    EXPECT_EQ(stolen.key, 70);
    EXPECT_EQ(stolen.envPos, 0u);
    // A released voice beats a held one that comes first in cursor order.
    p.synth.sendNoteOff(0, 62);  // voice 3
    ASSERT_EQ(p.v(3).state, 0x21);
    EXPECT_EQ(p.on(0, 80), 3);
    // A damped voice counts as releasing too.
    p.synth.sendControlChange(2, 120, 0);  // damps voice 1 (part 2)
    ASSERT_EQ(p.v(1).state, 0x41);
    EXPECT_EQ(p.on(0, 81), 1);
    // The voice at the cursor is never examined, even when it is the only idle one.
    p.synth.pcmVoice(1).kill();
    EXPECT_EQ(p.on(0, 82), 2);
    EXPECT_EQ(p.v(1).state, 0);

    // One voice: no note can start.
    EXPECT_EQ(p.synth.setPolyphony(1), 1);
    EXPECT_EQ(p.synth.voiceMask(), 0);
    p.synth.sendNoteOn(0, 60, 100);
    EXPECT_EQ(p.synth.countActiveVoices(), 0);
    EXPECT_EQ(p.synth.voiceCursor(), 0);

    // 128 voices all held: the next note steals c + 1.
    EXPECT_EQ(p.synth.setPolyphony(128), 128);
    for (int32_t i = 0; i < 128; ++i) p.on(i & 15, i % 100);
    EXPECT_EQ(p.synth.countActiveVoices(), 128);
    const int32_t c = p.synth.voiceCursor();
    EXPECT_EQ(c, 0);
    EXPECT_EQ(p.on(9, 120), 1);
    for (int32_t i = 0; i < 40; ++i) p.on(3, i);
    EXPECT_EQ(p.synth.voiceCursor(), 41);
    EXPECT_EQ(p.v(41).key, 39);
}

TEST(VoicePool, ReleaseRulesFollowPartAndKey) {
    Pool p;
    const int32_t a = p.on(1, 60), b = p.on(1, 60), other = p.on(2, 60);
    EXPECT_NE(a, b);
    EXPECT_EQ(p.synth.countActiveVoices(), 3);
    p.synth.sendNoteOff(1, 60);  // both voices of key 60 on part 1
    EXPECT_EQ(p.v(a).state, 0x21);
    EXPECT_EQ(p.v(b).state, 0x21);
    EXPECT_EQ(p.v(other).state, 0x11);
    p.synth.sendNoteOff(2, 61);  // no such note
    p.synth.sendNoteOff(3, 60);
    EXPECT_EQ(p.v(other).state, 0x11);
    // Velocity 0 is a note off.
    p.synth.sendNoteOn(2, 60, 0);
    EXPECT_EQ(p.v(other).state, 0x21);
    EXPECT_EQ(p.synth.countActiveVoices(), 3);

    // After a damp the voice no longer belongs to the part.
    const int32_t d = p.on(4, 64);
    p.synth.dampVoices(4);
    EXPECT_EQ(p.v(d).state, 0x41);
    EXPECT_EQ(p.v(d).part, -1);
    p.synth.sendNoteOff(4, 64);
    EXPECT_EQ(p.v(d).state, 0x41);
    // Released voices can be damped, damped ones not again; kill goes to idle from anywhere.
    p.synth.dampVoices(1);
    EXPECT_EQ(p.v(a).state, 0x41);
    p.synth.killVoices(2);
    EXPECT_EQ(p.v(other).state, 0);
    EXPECT_EQ(p.v(other).part, -1);
    EXPECT_EQ(p.v(d).state, 0x41);
    p.synth.killVoices(-1);
    EXPECT_EQ(p.synth.countActiveVoices(), 0);
    // A muted part takes no note, from the editor either.
    p.synth.setPartMode(5, 0);
    p.synth.sendNoteOn(5, 60, 100);
    EXPECT_EQ(p.synth.countActiveVoices(), 0);
    // Changing a part's mode stops its voices; setting the same mode does not.
    p.on(6, 60);
    p.synth.setPartMode(6, 1);
    EXPECT_EQ(p.synth.countActiveVoices(), 1);
    p.synth.setPartMode(6, 2);
    EXPECT_EQ(p.synth.countActiveVoices(), 0);
}

TEST(VoicePool, PolyphonyIsAPowerOfTwoUpTo1024) {
    Pool p;
    p.on(0, 60);
    EXPECT_EQ(p.synth.setPolyphony(0), 128);
    EXPECT_EQ(p.synth.setPolyphony(-3), 128);
    EXPECT_EQ(p.synth.setPolyphony(128), 128);
    EXPECT_EQ(p.synth.countActiveVoices(), 1);  // unchanged pool keeps its notes
    EXPECT_EQ(p.synth.setPolyphony(100), 128);
    EXPECT_EQ(p.synth.countActiveVoices(), 0);
    EXPECT_EQ(p.synth.setPolyphony(600), 1024);
    EXPECT_EQ(p.synth.voiceMask(), 1023);
    EXPECT_EQ(p.synth.setPolyphony(2000), 1024);
    EXPECT_EQ(p.synth.getVoiceCount(), 1024);
    EXPECT_EQ(p.synth.setPolyphony(5), 8);
    EXPECT_EQ(p.synth.voiceMask(), 7);
    EXPECT_EQ(p.synth.voiceCursor(), 0);
    for (int32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(p.v(i).state, 0);
        EXPECT_EQ(p.v(i).part, -1);
    }
    // New voices carry the rate constants and the master volume.
    p.synth.setMasterVolume(0.5f);
    EXPECT_EQ(p.synth.setPolyphony(16), 16);
    p.on(0, 69);
    const Voice& v = p.synth.pcmVoice(1);
    EXPECT_EQ(v.rates.toneRateOffset, 45899);
    EXPECT_EQ(v.pitchStep, 1 << 18);
    EXPECT_EQ(v.masterGain, 0.5f);
}

TEST(OutputRouting, VoicesWriteOnlyTheirPartsOutputPair) {
    Rig r;
    fillSlot(r.synth.sampleSlot(0), rampCodes(2000), 1, 44100.0f, 440.0f);
    flatTone(r.synth.tonePreset(0));
    r.synth.setPartOutput(1, 2);  // part 1 to output 3
    EXPECT_EQ(r.synth.part(1).outputBus, 2);
    // Channels start with a value the voices must leave alone.
    for (int32_t c = 0; c < kChannelCount; ++c) std::fill(r.buffers[c].begin(), r.buffers[c].end(), 0.25f);
    r.midi.queueNoteOn(0, 0, 69, 100);
    r.midi.queueNoteOn(3, 1, 69, 100);
    r.rack.processBlock(r.channels, 256);
    const float g = toneGain(100, 127, 100, 0.8f, 128);
    for (int32_t c = 0; c < kChannelCount; ++c) {
        for (int32_t i = 0; i < 256; ++i) {
            float e = 0.25f;
            if (c < 2) e += static_cast<float>(decode(static_cast<uint32_t>(2 * (i % 4000) + (i & 1)))) * g;
            if ((c == 4 || c == 5) && i >= 3)
                e += static_cast<float>(decode(static_cast<uint32_t>(2 * ((i - 3) % 4000) + ((i - 3) & 1)))) *
                     g;
            ASSERT_NEAR(r.buffers[c][i], e, 1e-6 * std::fabs(e)) << "channel " << c << " frame " << i;
        }
    }
    const Voice& v1 = r.synth.pcmVoice(2);
    EXPECT_EQ(v1.part, 1);
    EXPECT_EQ(v1.outputChannel, 4);
    // Moving the part moves its sounding voice.
    r.synth.setPartOutput(1, 15);
    EXPECT_EQ(v1.outputChannel, 30);
    EXPECT_EQ(r.synth.pcmVoice(1).outputChannel, 0);
}

TEST(OutputRouting, AStolenVoiceLeavesItsOldBusForTheNewPartsBus) {
    Rig r;
    const std::vector<uint32_t> codes = rampCodes(2000);
    fillSlot(r.synth.sampleSlot(0), codes, 1, 44100.0f, 440.0f);
    flatTone(r.synth.tonePreset(0));
    ASSERT_EQ(r.synth.setPolyphony(2), 2);
    r.synth.setPartOutput(2, 3);
    r.synth.setPartOutput(1, 5);
    // Part 0 (output 1) takes voice 1, part 2 (output 4) voice 0; with both held, part 1's
    // note at frame 100 steals voice 1 and restarts it on output 6.
    r.noteOn(0, 0, 69, 100);
    r.noteOn(0, 2, 69, 100);
    r.noteOn(100, 1, 69, 127);
    r.render(300, 256);
    EXPECT_EQ(r.synth.voiceCursor(), 1);
    EXPECT_EQ(r.synth.voice(1).part, 1);
    EXPECT_EQ(r.synth.pcmVoice(1).outputChannel, 10);
    const float g = toneGain(100, 127, 100, 0.8f, 128), stolenGain = toneGain(100, 127, 127, 0.8f, 128);
    for (int32_t c = 0; c < kChannelCount; ++c) {
        std::vector<float> e(300, 0.0f);
        for (int32_t i = 0; i < 300; ++i) {
            if ((c < 2 && i < 100) || c == 6 || c == 7) e[i] = static_cast<float>(decode(codes[i])) * g;
            if ((c == 10 || c == 11) && i >= 100)
                e[i] = static_cast<float>(decode(codes[i - 100])) * stolenGain;
        }
        EXPECT_TRUE(samplesMatch(r.out[c], e, 1e-6)) << "channel " << c;
    }
}

}  // namespace
}  // namespace velt::corvane::enginetest
