// Absurd records and rates: notes start and render without reading outside any
// array (the sanitizer build checks the reads) and the output stays finite.
#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

bool allFinite(const Rig& r) {
    for (const auto& o : r.out)
        for (float x : o)
            if (!std::isfinite(x)) return false;
    return true;
}

/// Notes on every part mode with pitch bends both ways, rendered for a while.
void playAround(Rig& r, int32_t frames) {
    for (int32_t i = 0; i < 24; ++i) {
        const int32_t f = r.now + i * 7;
        r.noteOn(f, i % 4, (i * 29) % 128, 1 + (i * 37) % 127);
        if (i % 5 == 0) r.bend(f + 3, i % 4, 0, i % 2 ? 127 : 0);
        if (i % 6 == 0) r.noteOff(f + 50, i % 4, (i * 29) % 128);
    }
    r.render(frames, 256);
}

TEST(Robustness, AbsurdPresetAndSlotValuesStayInsideTheArrays) {
    Rig r;
    r.synth.setPartMode(2, kModeSampler);
    r.synth.setPartMode(3, kModeSampler);
    SampleData* s = r.synth.sampleData();
    fillSlot(s[0], rampCodes(500), 1, 44100.0f, 440.0f);
    s[0].PlayBackStartPoint = 1000000, s[0].PlayBackEndPoint = 600, s[0].LoopEndPoint = 700;
    s[0].loopLength = 5000, s[0].releaseLoopLength = 9000;  // loop longer than its end point
    std::vector<uint32_t> stereo = rampCodes(600);
    fillSlot(s[1], stereo, 2, 44100.0f, 440.0f);
    s[1].LoopEndPoint = 299, s[1].loopLength = 299, s[1].PlayBackEndPoint = 1 << 20,
    s[1].releaseLoopLength = 1 << 20;
    fillSlot(s[2], rampCodes(100), 1, 44100.0f, 440.0f);
    s[2].PlayBackStartPoint = -50, s[2].PlayBackEndPoint = -1, s[2].LoopEndPoint = -7, s[2].loopLength = -3;
    fillSlot(s[3], rampCodes(64), 1, 44100.0f, 440.0f);
    s[3].loopLength = 64, s[3].releaseLoopLength = 64;  // loop over the whole sample

    struct Absurd {
        int32_t wave, tl, sl, ar, dr, rr, lms, lfoFreq, kfStart, kf, strc, tune;
    };
    const Absurd tones[] = {
        {300, 0, 0, 127, 0, 0, 0, 0, 0, 0, 0, 8192},
        {0, 500, 200, 200, 500, 500, 99, 1000000, -5, 40, 7, 1 << 30},
        {1, -20, -3, -9, -99, -1, -4, -70, 300, -1, -6, -(1 << 30)},
        {2, 127, 127, 0, 127, 127, 15, 16383, 0, 3, 1, 0},
        {3, 0, 200, 127, 127, 0, 15, 16383, -5, 3, 2, 16383},
        {-4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {1, 128, 0, 126, 3, 0, 15, 16383, 127, 3, 3, 8192},
        {0, 255, 128, 127, 0, 0, 15, 500, 48, 2, 1, 8192},
    };
    for (int32_t p = 0; p < 8; ++p) {
        const Absurd& a = tones[p];
        TonePreset& t = r.synth.tonePreset(p);
        t.wave = a.wave, t.tl = a.tl, t.sl = a.sl, t.ar = a.ar, t.dr = a.dr, t.rr = a.rr, t.lms = a.lms;
        t.lfoFreq = a.lfoFreq, t.kfStart = a.kfStart, t.kf = a.kf, t.strc = a.strc, t.tune = a.tune;
    }
    for (int32_t k = 0; k < 128; ++k) {
        SamplerPreset& q = r.synth.samplerPreset(k);
        q.smplNum = k % 3 == 0 ? 200 : k % 3 == 1 ? -1 - k : k % 4;
        q.octv = k % 2 ? 99 : -40, q.pan = k % 2 ? 300 : -300, q.tune = k * 100000 - 5000000;
        q.tl = k % 5 ? 500 : -9, q.sl = 200, q.ar = k % 7 ? 127 : -1, q.dr = 1000, q.rr = -1000;
    }
    r.synth.sendControlChange(1, 101, 0);
    r.synth.sendControlChange(1, 100, 0);
    r.synth.sendControlChange(1, 6, 127);  // the widest bend range
    r.synth.sendControlChange(0, 1, 127);
    for (int32_t p = 0; p < 8; ++p) {
        r.at(r.now, [&r, p] { r.synth.sendProgramChange(0, p), r.synth.sendProgramChange(1, p); });
        r.synth.sendControlChange(p % 4, 7, 300);  // out-of-range values from a careless caller
        r.synth.sendControlChange(p % 4, 10, -40);
        r.synth.sendControlChange(p % 4, 11, 1000);
        r.synth.sendNoteOn(p % 4, 300 + p, 500);
        r.synth.sendNoteOn(p % 4, -3 - p, 64);
        playAround(r, 3000);
        r.synth.sendControlChange(p % 4, 120, 0);
        r.render(600);
    }
    EXPECT_TRUE(allFinite(r));
    EXPECT_EQ(r.synth.tonePreset(0).wave, 300);  // records are not rewritten by playing them
}

TEST(Robustness, ExtremeBendsAndSampleRates) {
    Rig r;
    SampleData& slow = r.synth.sampleSlot(0);
    fillSlot(slow, rampCodes(1000), 1, 2.0f, 0.0f);
    setLoopPoints(slow, 10, 1000);
    flatTone(r.synth.tonePreset(0));
    r.synth.tonePreset(0).tune = 0;
    r.synth.tonePreset(0).strc = 1, r.synth.tonePreset(0).lms = 15;
    r.synth.samplerPreset(0).octv = 0, r.synth.samplerPreset(0).tune = 0;
    r.synth.setPartMode(1, kModeSampler);
    for (int32_t ch = 0; ch < 2; ++ch) {
        r.synth.setPartBendRange(ch, 127);
        r.synth.sendControlChange(ch, 1, 127);
        r.synth.sendPitchBend14(ch, 0);  // fully down: a negative pitch value
    }
    r.noteOn(0, 0, 0, 127);
    r.noteOn(0, 1, 0, 127);
    r.render(2000);
    EXPECT_EQ(r.synth.countActiveVoices(), 2);
    for (int32_t i = 0; i < r.synth.getVoiceCount(); ++i) EXPECT_GE(r.synth.pcmVoice(i).pitchStep, 0);
    r.synth.sendPitchBend14(0, 16383);
    r.synth.sendPitchBend14(1, 16383);
    r.render(2000);

    // At 8000 and 192000 Hz a sampler key on a slot recorded at that rate plays one frame per frame.
    for (float fs : {8000.0f, 192000.0f, 1.0f}) {
        r.rack.setSampleRate(fs);
        EXPECT_EQ(r.synth.getSampleRate(), fs);
        fillSlot(r.synth.sampleSlot(1), rampCodes(3000), 1, fs, 440.0f);
        setLoopPoints(r.synth.sampleSlot(1), 100, 3000);
        r.synth.samplerPreset(5).smplNum = 1;
        r.synth.sendPitchBend14(1, 8192);
        r.synth.sendNoteOn(1, 5, 100);
        if (fs > 1.0f) {
            EXPECT_EQ(r.synth.pcmVoice(r.synth.voiceCursor()).pitchStep, 1 << 18) << fs;
        }
        TonePreset& t = r.synth.tonePreset(0);
        flatTone(t, 1);
        t.ar = 60, t.strc = 2, t.lms = 15, t.lfoFreq = 16383, t.kf = 3, t.kfStart = 0;
        r.synth.setPartBendRange(0, 2);
        playAround(r, 4000);
        r.synth.dampVoices(-1);
        r.render(4000);
        if (fs > 1.0f) {
            EXPECT_EQ(r.synth.countActiveVoices(), 0) << fs;
        }
    }
    EXPECT_EQ(r.synth.rates().sampleRateOffset, 147456);
    EXPECT_GT(r.synth.rates().dampRate, 0);
    EXPECT_TRUE(allFinite(r));
}

}  // namespace
}  // namespace velt::corvane::enginetest
