// Sound records, sample points, log codes and rate constants.
#include <cfloat>
#include <cmath>
#include <cstring>

#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

void expectToneDefaults(const TonePreset& t) {
    EXPECT_EQ(std::string(t.presetName), std::string(16, ' '));
    EXPECT_EQ(t.lfoFreq, 2048);
    EXPECT_EQ(t.strc, 0);
    EXPECT_EQ(t.tune, 8192);
    EXPECT_EQ(t.lms, 0);
    EXPECT_EQ(t.wave, 0);
    EXPECT_EQ(t.tl, 0);
    EXPECT_EQ(t.ar, 126);
    EXPECT_EQ(t.dr, 100);
    EXPECT_EQ(t.sl, 0);
    EXPECT_EQ(t.rr, 120);
    EXPECT_EQ(t.kf, 0);
    EXPECT_EQ(t.kfStart, 48);
}

void expectSamplerDefaults(const SamplerPreset& s) {
    EXPECT_EQ(std::string(s.presetName), std::string(16, ' '));
    EXPECT_EQ(s.smplNum, 0);
    EXPECT_EQ(s.pan, 64);
    EXPECT_EQ(s.octv, 8);
    EXPECT_EQ(s.tune, 8192);
    EXPECT_EQ(s.tl, 0);
    EXPECT_EQ(s.ar, 127);
    EXPECT_EQ(s.dr, 0);
    EXPECT_EQ(s.sl, 127);
    EXPECT_EQ(s.rr, 120);
}

void expectEmpty(const SampleData& s) {
    EXPECT_FALSE(s.hasData);
    EXPECT_EQ(s.samples, nullptr);
    EXPECT_EQ(s.sampleRate, 0.0f);
    EXPECT_EQ(s.Pitch, 0.0f);
    EXPECT_EQ(s.frameCount + s.channels + s.rateLog + s.pitchLog + s.pitchOffset, 0);
    EXPECT_EQ(s.PlayBackStartPoint + s.PlayBackEndPoint + s.LoopEndPoint + s.loopLength + s.releaseLoopLength,
              0);
}

TEST(SoundRecords, DefaultsAfterConstructionAndAfterReset) {
    SynthesizerPCM synth(440.0f, 0.8f);
    for (int32_t i = 0; i < 128; ++i) {
        expectToneDefaults(synth.tonePresets()[i]);
        expectSamplerDefaults(synth.samplerPresets()[i]);
        expectEmpty(synth.sampleData()[i]);
    }
    // Scribble over everything, start a note, then reset.
    for (int32_t i = 0; i < 128; ++i) {
        TonePreset& t = synth.tonePreset(i);
        std::memcpy(t.presetName, "ABCDEFGHIJKLMNOP", 16);
        t.lfoFreq = t.strc = t.tune = t.lms = t.tl = t.ar = t.dr = t.sl = t.rr = t.kf = t.kfStart = 3;
        t.wave = i;
        SamplerPreset& s = synth.samplerPreset(i);
        s.smplNum = s.pan = s.octv = s.tune = s.tl = s.ar = s.dr = s.sl = s.rr = 5;
        fillSlot(synth.sampleSlot(i), rampCodes(64), 1, 44100.0f, 440.0f);
    }
    synth.tonePreset(0).ar = 127;
    synth.sendNoteOn(0, 60, 100);
    ASSERT_EQ(synth.countActiveVoices(), 1);
    synth.resetPresets();
    EXPECT_EQ(synth.countActiveVoices(), 0);
    for (int32_t i = 0; i < 128; ++i) {
        expectToneDefaults(synth.tonePresets()[i]);
        expectSamplerDefaults(synth.samplerPresets()[i]);
        expectEmpty(synth.sampleData()[i]);
    }
    // An empty slot makes no sound: the note start leaves the voice idle.
    synth.sendNoteOn(0, 60, 100);
    EXPECT_EQ(synth.countActiveVoices(), 0);
}

TEST(SoundRecords, PlaybackAndLoopPointRules) {
    SampleData s;
    fillSlot(s, rampCodes(5000), 1, 44100.0f, 440.0f);
    setPlaybackPoints(s, 100, 4000);
    EXPECT_EQ(s.PlayBackStartPoint, 100);
    EXPECT_EQ(s.PlayBackEndPoint, 4000);
    EXPECT_EQ(s.LoopEndPoint, 4000);
    EXPECT_EQ(s.loopLength, 0);
    setPlaybackPoints(s, 100, 50);  // start above end: kept
    setPlaybackPoints(s, 0, 5001);  // end beyond the sample: kept
    setPlaybackPoints(s, 300, 300);
    EXPECT_EQ(s.PlayBackStartPoint, 100);
    EXPECT_EQ(s.PlayBackEndPoint, 4000);

    setLoopPoints(s, 1000, 4000);  // loop up to the playback end: also the release loop
    EXPECT_EQ(s.LoopEndPoint, 4000);
    EXPECT_EQ(s.loopLength, 3000);
    EXPECT_EQ(s.releaseLoopLength, 3000);
    EXPECT_EQ(s.loopStartPoint(), 1000);
    setLoopPoints(s, 1000, 3000);  // ending earlier: no release loop
    EXPECT_EQ(s.LoopEndPoint, 3000);
    EXPECT_EQ(s.loopLength, 2000);
    EXPECT_EQ(s.releaseLoopLength, 0);

    const int32_t rejected[][2] = {{1000, 4001}, {50, 3000}, {2000, 2000}, {2500, 2000}};
    for (const auto& r : rejected) {
        setLoopPoints(s, 1000, 3000);
        setLoopPoints(s, r[0], r[1]);
        EXPECT_EQ(s.LoopEndPoint, 4000) << r[0] << ".." << r[1];
        EXPECT_EQ(s.loopLength, 0);
        EXPECT_EQ(s.releaseLoopLength, 0);
        EXPECT_EQ(s.loopStartPoint(), 0);
    }
    // New playback points clear the loop.
    setLoopPoints(s, 1000, 3000);
    setPlaybackPoints(s, 0, 5000);
    EXPECT_EQ(s.LoopEndPoint, 5000);
    EXPECT_EQ(s.loopLength + s.releaseLoopLength, 0);
}

TEST(SoundRecords, LogCodesAndPitchLogs) {
    EXPECT_EQ(linearToLogCode(1.0), 0u);
    EXPECT_EQ(linearToLogCode(-1.0), 1u);
    EXPECT_EQ(linearToLogCode(0.5), 512u);
    EXPECT_EQ(linearToLogCode(-0.5), 513u);
    EXPECT_EQ(linearToLogCode(0.25), 1024u);
    EXPECT_EQ(linearToLogCode(0.00001), 8192u);
    EXPECT_EQ(linearToLogCode(-0.00001), 8192u);
    EXPECT_EQ(linearToLogCode(0.0), 8192u);
    EXPECT_EQ(linearToLogCode(1.0 / 65536.0), 8192u);  // not above 2^-16
    EXPECT_EQ(linearToLogCode(0.3), 2u * 445u);        // 0.5 - 256 log2(0.3) = 445.17
    EXPECT_EQ(linearToLogCode(-0.3), 2u * 445u + 1u);

    SampleData s;
    setSampleRateFields(s, 44100.0f);
    setSamplePitch(s, 440.0f);
    EXPECT_EQ(s.pitchLog, 71937);
    EXPECT_EQ(s.rateLog, 126390);
    EXPECT_EQ(s.pitchOffset, 54453);
    setSamplePitch(s, 0.0f);  // not set: treated as 1 Hz
    EXPECT_EQ(s.pitchLog, 0);
    EXPECT_EQ(s.pitchOffset, 126390);
    setSamplePitch(s, 1.0f);
    EXPECT_EQ(s.pitchLog, 0);
    setSampleRateFields(s, 1.0f);
    EXPECT_EQ(s.rateLog, 0);
    setSampleRateFields(s, 48000.0f);
    setSamplePitch(s, 261.63f);
    EXPECT_EQ(s.rateLog, 127392);
    EXPECT_EQ(s.pitchOffset, 127392 - s.pitchLog);

    // A pitch is never negative (the text files could not carry it back): negatives,
    // -0 and NaN are stored as 0, infinity as the largest float.
    for (const float bad : {-261.63f, -0.0f, -INFINITY, NAN}) {
        setSamplePitch(s, bad);
        EXPECT_EQ(s.Pitch, 0.0f) << bad;
        EXPECT_FALSE(std::signbit(s.Pitch)) << bad;
        EXPECT_EQ(s.pitchLog, 0);
        EXPECT_EQ(s.pitchOffset, 127392);
    }
    setSamplePitch(s, INFINITY);
    EXPECT_EQ(s.Pitch, FLT_MAX);
}

TEST(RateConstants, At44100And48000AndAfterTuneChange) {
    Rig r;
    const synth::RateConstants& c = r.synth.rates();
    EXPECT_EQ(c.sampleRateOffset, 21066);
    EXPECT_EQ(c.toneRateOffset, 45899);
    EXPECT_EQ(c.envRateOffset, 53834);
    EXPECT_EQ(c.dampRate, 12466118);
    EXPECT_EQ(c.lfoRateUnit, 6087);

    // Every voice carries them; a rate change through the rack stops all voices.
    fillSlot(r.synth.sampleSlot(0), rampCodes(4000), 1, 44100.0f, 440.0f);
    flatTone(r.synth.tonePreset(0));
    r.synth.sendNoteOn(0, 69, 100);
    ASSERT_EQ(r.synth.countActiveVoices(), 1);
    EXPECT_EQ(r.rack.setSampleRate(48000.0f), 48000.0f);
    EXPECT_EQ(r.synth.getSampleRate(), 48000.0f);
    EXPECT_EQ(r.synth.countActiveVoices(), 0);
    const double fs = 48000.0;
    const int32_t sro = 147456 - logOf(fs);
    EXPECT_EQ(sro, 20064);
    EXPECT_EQ(c.sampleRateOffset, 20064);
    EXPECT_EQ(c.toneRateOffset, sro + logOf(440.0 * std::pow(2.0, -5.75)));
    EXPECT_EQ(c.envRateOffset, logOf(1073741824.0 / (256.0 * fs)));
    EXPECT_EQ(c.dampRate, static_cast<int32_t>(std::trunc(1073741824.0 / (fs / 512.0) + 0.5)));
    EXPECT_EQ(c.lfoRateUnit, static_cast<int32_t>(std::trunc(65540.00024415553 / (fs / 4096.0) + 0.5)));
    for (int32_t i = 0; i < r.synth.getVoiceCount(); ++i) {
        const Voice& v = r.synth.pcmVoice(i);
        ASSERT_EQ(v.rates.sampleRateOffset, 20064);
        ASSERT_EQ(v.rates.dampRate, c.dampRate);
        ASSERT_EQ(v.rates.lfoRateUnit, c.lfoRateUnit);
    }
    // A sampler note at 48000 on a 48000 Hz slot plays one frame per frame.
    fillSlot(r.synth.sampleSlot(0), rampCodes(4000), 1, 48000.0f, 440.0f);
    r.synth.setPartMode(0, kModeSampler);
    r.synth.sendNoteOn(0, 30, 100);
    EXPECT_EQ(r.soleVoice().pitchStep, 1 << 18);

    // The master tune moves only the tone offset, and stops every voice.
    r.synth.setMasterTune(466.1638f);
    EXPECT_EQ(r.synth.countActiveVoices(), 0);
    EXPECT_EQ(c.toneRateOffset, sro + logOf(static_cast<double>(466.1638f) * std::pow(2.0, -5.75)));
    EXPECT_EQ(c.toneRateOffset - (sro + logOf(440.0 * std::pow(2.0, -5.75))), 683);  // one semitone
    EXPECT_EQ(c.sampleRateOffset, 20064);
}

}  // namespace
}  // namespace velt::corvane::enginetest
