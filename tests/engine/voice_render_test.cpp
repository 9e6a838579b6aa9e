// PCM voice renders checked frame by frame against the documented formulas:
// gains, pitch steps, the envelope level law, loops, stereo, sampler speed, bend and LFO.
#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

constexpr int32_t kTopPos = 1 << 30;

/// The envelope attenuation of each frame by the level law; -1 once the voice has ended.
struct EnvelopeLaw {
    int32_t attackRate = 0;  ///< 0: ar 127, no attack
    int32_t decayRate = 0, releaseRate = 0, sustainPos = 0, endPos = 0, sl = 0;

    std::vector<int32_t> run(int32_t frames, int32_t releaseAt) const {
        std::vector<int32_t> att(static_cast<size_t>(frames), -1);
        uint32_t pos = 0;
        int32_t phase, phaseEnd, rate;
        if (attackRate > 0)
            phase = 1, phaseEnd = kTopPos, rate = attackRate;
        else if (sl < 1)
            phase = 4, phaseEnd = INT32_MAX, rate = 0;
        else
            phase = 2, phaseEnd = sustainPos, rate = decayRate;
        for (int32_t i = 0; i < frames; ++i) {
            if (i == releaseAt) {
                if (phase == 1)
                    pos = pos < static_cast<uint32_t>(kTopPos)
                              ? static_cast<uint32_t>(linToLog(pos >> 18)) << 17
                              : 0;
                if (static_cast<int64_t>(pos) > endPos) return att;
                phaseEnd = endPos, rate = releaseRate, phase = 8;
            }
            if (static_cast<int32_t>(pos) >= phaseEnd) {
                if (phase == 1 && sl > 0)
                    pos = 0, phaseEnd = sustainPos, rate = decayRate, phase = 2;
                else if (phase == 1)
                    pos = 0, phaseEnd = INT32_MAX, rate = 0, phase = 4;
                else if (phase == 2 && sustainPos < endPos)
                    pos = sustainPos, phaseEnd = INT32_MAX, rate = 0, phase = 4;
                else
                    return att;
            }
            att[i] =
                phase == 1 ? linToLog(static_cast<int32_t>(pos >> 18)) : 2 * static_cast<int32_t>(pos >> 18);
            pos += static_cast<uint32_t>(rate);
        }
        return att;
    }
};

/// Expected mono output for one frame per frame from sample position `first`.
std::vector<float> expectedOutput(const std::vector<uint32_t>& codes, const std::vector<int32_t>& att,
                                  int32_t tl, float gain, const std::function<int32_t(int32_t)>& posOf) {
    std::vector<float> e(att.size(), 0.0f);
    for (size_t i = 0; i < att.size(); ++i)
        if (att[i] >= 0)
            e[i] =
                static_cast<float>(decode(codes[posOf(static_cast<int32_t>(i))] + att[i] + 64 * tl)) * gain;
    return e;
}

struct ToneRig : Rig {
    std::vector<uint32_t> codes = rampCodes(8000);
    ToneRig() {
        fillSlot(synth.sampleSlot(0), codes, 1, 44100.0f, 440.0f);
        flatTone(synth.tonePreset(0));
    }
    TonePreset& tone() { return synth.tonePreset(0); }
};

int32_t identity(int32_t i) {
    return i;
}

TEST(VoiceRender, HeldToneIsTheSampleTimesTheGains) {
    ToneRig r;
    r.noteOn(0, 0, 69, 100);
    r.render(1024, 512);
    Voice& v = r.soleVoice();
    EXPECT_EQ(v.pitchStep, 262144);
    EXPECT_EQ(v.basePitch, kUnityPitch);
    const float g = toneGain(100, 127, 100, 0.8f, 128);
    EXPECT_NEAR(v.gainLeft, level(100) * level(100) * 0.8f * 0.70710678f, 1e-7);
    EXPECT_NEAR(v.gainLeft, g, 1e-6 * g);
    EXPECT_EQ(v.gainLeft, v.gainRight);
    const std::vector<int32_t> flat(1024, 0);
    const std::vector<float> e = expectedOutput(r.codes, flat, 0, g, identity);
    EXPECT_TRUE(samplesMatch(r.out[0], e));
    EXPECT_TRUE(samplesMatch(r.out[1], e));
    for (int32_t c = 2; c < kChannelCount; ++c)
        EXPECT_TRUE(samplesMatch(r.out[c], std::vector<float>(1024, 0.0f), 0.0));
    EXPECT_EQ(v.envPos, 0u);  // the level never falls while held

    // A tone's tune moves the pitch in 1/8192 octave: 8192 + 4096 is half an octave up.
    r.tone().tune = 8192 + 4096;
    r.synth.sendNoteOn(1, 69, 100);
    EXPECT_EQ(r.synth.pcmVoice(r.synth.voiceCursor()).pitchStep, stepOf(kUnityPitch + 4096));
    r.synth.killVoices(1);
    r.tone().tune = 8192;

    // Pan 0 and tl 8: exactly half amplitude on the left, nothing on the right.
    r.synth.killVoices(-1);
    r.synth.sendControlChange(0, 10, 0);
    r.tone().tl = 8;
    r.noteOn(r.now, 0, 69, 127);
    const size_t from = r.out[0].size();
    r.render(300);
    Voice& w = r.soleVoice();
    EXPECT_EQ(w.panLeft, 1.0f);
    EXPECT_EQ(w.panRight, 0.0f);
    EXPECT_EQ(w.tlCode, 512);
    const float base = level(127) * level(100) * (level(127) * 0.8f);
    for (int32_t i = 0; i < 300; ++i) {
        const double s = decode(r.codes[i]);
        ASSERT_NEAR(r.out[0][from + i], static_cast<float>(s / 2.0) * base, 1e-6 * std::fabs(s) * base) << i;
        ASSERT_EQ(r.out[1][from + i], 0.0f) << i;
    }
    // Pan changes while the note sounds use the same curve.
    r.synth.sendControlChange(0, 10, 127);
    EXPECT_NEAR(w.panLeft, panAt(191), 1e-6);
    EXPECT_NEAR(w.panRight, panAt(65), 1e-6);
    r.synth.sendControlChange(0, 7, 127);
    EXPECT_EQ(w.volumeGain, 1.0f);
    EXPECT_NEAR(w.gainRight, panAt(65) * level(127) * 0.8f, 1e-7);
}

TEST(VoiceRender, AttackDecaySustainAndReleaseFollowTheLevelLaw) {
    ToneRig r;
    TonePreset& t = r.tone();
    t.ar = 100, t.dr = 110, t.sl = 8, t.rr = 90, t.kf = 1, t.kfStart = 48;
    const int32_t keyOffset = 3584 << 1;  // note 69 is 21 above kfStart 48
    EnvelopeLaw law;
    law.attackRate = rateOf(100, keyOffset, kEnvRateOffset44k);
    law.decayRate = rateOf(110, keyOffset, kEnvRateOffset44k);
    law.releaseRate = rateOf(90, keyOffset, kEnvRateOffset44k);
    law.sustainPos = 8 << 23;
    law.endPos = 104 << 23;
    law.sl = 8;
    const int32_t releaseAt = 2500;
    r.noteOn(0, 0, 69, 127);
    r.noteOff(releaseAt, 0, 69);
    r.render(10);
    Voice& v = r.soleVoice();
    EXPECT_EQ(v.envRate, law.attackRate);
    EXPECT_EQ(v.decayRate, law.decayRate);
    EXPECT_EQ(v.releaseRate, law.releaseRate);
    EXPECT_EQ(v.sustainPos, law.sustainPos);
    EXPECT_EQ(v.endPos, law.endPos);
    EXPECT_EQ(v.envPhase, 1);
    r.render(6990, 512);

    const std::vector<int32_t> att = law.run(7000, releaseAt);
    const int32_t attackEnd = (kTopPos + law.attackRate - 1) / law.attackRate;
    const int32_t releaseFrames = ((104 << 23) - (8 << 23) + law.releaseRate - 1) / law.releaseRate;
    const int32_t endFrame = releaseAt + releaseFrames;
    ASSERT_GT(releaseAt, attackEnd + 200);
    ASSERT_LT(endFrame, 7000);
    EXPECT_EQ(att[0], 8192);
    EXPECT_EQ(att[attackEnd], 0);        // attack over: full level, decay begins
    EXPECT_EQ(att[releaseAt - 1], 512);  // sustain: 8 x 0.75 dB = 6 dB
    EXPECT_EQ(att[endFrame - 1] >= 0 && att[endFrame] < 0, true);
    EXPECT_EQ(r.out[0][0], 0.0f);  // the attack starts silent
    EXPECT_EQ(r.out[1][0], 0.0f);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(r.codes, att, 0, g, identity)));
    EXPECT_TRUE(samplesMatch(r.out[1], expectedOutput(r.codes, att, 0, g, identity)));
    EXPECT_EQ(v.state, 0);
    EXPECT_EQ(v.part, -1);
}

TEST(VoiceRender, ReleaseFromAttackAndLevelLimitsEndTheVoice) {
    ToneRig r;
    r.tone().ar = 10;
    r.synth.sendNoteOn(0, 69, 127);
    Voice& v = r.soleVoice();
    v.envPos = 1u << 29;  // half amplitude in the attack
    r.synth.sendNoteOff(0, 69);
    EXPECT_EQ(v.envPos, 512u << 17);
    EXPECT_EQ(v.envTable, r.synth.tables().logRampTable);
    EXPECT_EQ(v.envPhase, 8);
    EXPECT_EQ(v.state, 0x21);
    EXPECT_EQ(v.phaseEnd, 104 << 23);
    EXPECT_EQ(v.envRate, rateOf(120, 0, kEnvRateOffset44k));
    r.synth.killVoices(-1);

    // Release from the very start of the attack: level 0 lies beyond endPos, the voice stops.
    r.synth.sendNoteOn(0, 69, 127);
    r.synth.sendNoteOff(0, 69);
    EXPECT_EQ(r.synth.countActiveVoices(), 0);

    // tl 127: endPos 2^23, the release lasts 0.75 dB.
    std::vector<uint32_t> zeros(4000, 0u);
    fillSlot(r.synth.sampleSlot(1), zeros, 1, 44100.0f, 440.0f);
    flatTone(r.tone(), 1);
    r.tone().tl = 127;
    r.noteOn(r.now, 0, 69, 127);
    r.noteOff(r.now + 100, 0, 69);
    const size_t from = r.out[0].size();
    r.render(1);
    Voice& w = r.soleVoice();
    EXPECT_EQ(w.endPos, 1 << 23);
    EXPECT_EQ(w.tlCode, 8128);
    r.render(199);
    const int32_t rr = rateOf(120, 0, kEnvRateOffset44k);
    const int32_t last = 100 + ((1 << 23) + rr - 1) / rr;  // first silent frame
    EXPECT_EQ(last, 103);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    for (int32_t i = 0; i < 200; ++i) {
        const int32_t att =
            i < 100 ? 0 : 2 * static_cast<int32_t>((static_cast<int64_t>(i - 100) * rr) >> 18);
        const float e = i < last ? static_cast<float>(decode(static_cast<uint32_t>(8128 + att))) * g : 0.0f;
        ASSERT_NEAR(r.out[0][from + i], e, 1e-6 * e) << i;
    }
    EXPECT_EQ(w.state, 0);

    // sl 10 with tl 120: sustainPos is limited to endPos, so the decay ends the held note.
    r.tone().tl = 120, r.tone().sl = 10, r.tone().dr = 100;
    r.noteOn(r.now, 0, 69, 127);
    r.render(1);
    Voice& d = r.soleVoice();
    EXPECT_EQ(d.endPos, 8 << 23);
    EXPECT_EQ(d.sustainPos, 8 << 23);
    EXPECT_EQ(d.envPhase, 2);
    const int32_t dr = rateOf(100, 0, kEnvRateOffset44k);
    const int32_t decayFrames = ((8 << 23) + dr - 1) / dr;
    r.render(decayFrames - 1);
    EXPECT_EQ(d.state, 0x11);
    r.render(1);
    EXPECT_EQ(d.state, 0);
}

TEST(VoiceRender, LoopsWrapWhileHeldAndPlayOutAfterRelease) {
    ToneRig r;
    SampleData& s = r.synth.sampleSlot(0);
    setPlaybackPoints(s, 0, 3000);
    setLoopPoints(s, 500, 1500);
    ASSERT_EQ(s.releaseLoopLength, 0);
    r.tone().rr = 0;  // a release slow enough to hear the whole play-out
    const int32_t rr = rateOf(0, 0, kEnvRateOffset44k);
    r.noteOn(0, 0, 69, 127);
    r.noteOff(4000, 0, 69);
    r.render(6500, 512);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    // Held: 0..1499, then 500..1499 again and again; from 4000 on: on to 2999, then the end.
    auto pos = [](int32_t i) { return i < 1500 ? i : 500 + (i - 1500) % 1000; };
    std::vector<int32_t> att(6500, -1);
    for (int32_t i = 0; i < 6000; ++i)
        att[i] = i < 4000 ? 0 : 2 * static_cast<int32_t>((int64_t{i - 4000} * rr) >> 18);
    ASSERT_EQ(pos(3999), 999);
    EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(r.codes, att, 0, g, [&](int32_t i) {
                                 return i < 4000 ? pos(i) : std::min(1000 + (i - 4000), 2999);
                             })));
    EXPECT_EQ(r.synth.countActiveVoices(), 0);

    // A loop ending at the playback end is also the release loop.
    setLoopPoints(s, 2000, 3000);
    ASSERT_EQ(s.releaseLoopLength, 1000);
    r.out[0].clear();
    r.noteOn(r.now, 0, 69, 127);
    r.noteOff(r.now + 2500, 0, 69);
    r.render(6000, 512);
    auto loopPos = [](int32_t i) { return i < 3000 ? i : 2000 + (i - 3000) % 1000; };
    for (int32_t i = 0; i < 6000; ++i)
        att[i] = i < 2500 ? 0 : 2 * static_cast<int32_t>((int64_t{i - 2500} * rr) >> 18);
    att.resize(6000);
    EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(r.codes, att, 0, g, loopPos)));
    EXPECT_EQ(r.synth.countActiveVoices(), 1);

    // Release and damp leave the held loop for the release loop and the playback end.
    setLoopPoints(s, 500, 1500);
    r.synth.killVoices(-1);
    r.synth.sendNoteOn(0, 69, 127);
    Voice& looping = r.soleVoice();
    EXPECT_EQ(looping.curEnd, 1500);
    EXPECT_EQ(looping.curLoop, 1000);
    r.synth.dampVoices(0);
    EXPECT_EQ(looping.curEnd, 3000);
    EXPECT_EQ(looping.curLoop, 0);
    EXPECT_EQ(looping.envRate, 12466118);
    EXPECT_EQ(looping.phaseEnd, 104 << 23);
    EXPECT_EQ(looping.envPhase, 0);

    // No loop and LoopEndPoint 1000: the held note ends when the sample position reaches 1000.
    r.synth.killVoices(-1);
    s.LoopEndPoint = 1000, s.loopLength = 0, s.releaseLoopLength = 0;
    r.out[0].clear();
    r.noteOn(r.now, 0, 69, 127);
    r.render(1200);
    std::vector<int32_t> held(1200, -1);
    std::fill(held.begin(), held.begin() + 1000, 0);
    EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(r.codes, held, 0, g, identity)));
    EXPECT_EQ(r.synth.countActiveVoices(), 0);
}

TEST(VoiceRender, StereoSlotsRenderVariantsAndSamplerSpeed) {
    Rig r;
    const std::vector<uint32_t> left = rampCodes(3000), right = rampCodes(3000, 777);
    std::vector<uint32_t> interleaved;
    for (size_t i = 0; i < left.size(); ++i) interleaved.push_back(left[i]), interleaved.push_back(right[i]);
    fillSlot(r.synth.sampleSlot(2), interleaved, 2, 44100.0f, 440.0f);
    fillSlot(r.synth.sampleSlot(1), left, 1, 44100.0f, 440.0f);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    const std::vector<int32_t> flat(600, 0);

    for (int32_t strc : {0, 3}) {
        flatTone(r.synth.tonePreset(0), 2);
        r.synth.tonePreset(0).strc = strc;
        r.synth.killVoices(-1);
        for (auto& o : r.out) o.clear();
        r.noteOn(r.now, 0, 69, 127);
        r.render(600);
        EXPECT_EQ(r.soleVoice().render, Voice::kOptimisedRenderTable[strc == 0 ? 1 : 7]);
        EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(left, flat, 0, g, identity))) << strc;
        EXPECT_TRUE(samplesMatch(r.out[1], expectedOutput(right, flat, 0, g, identity))) << strc;
    }
    // Variant = strc x 2 + stereo.
    for (int32_t wave : {1, 2})
        for (int32_t strc = 0; strc < 4; ++strc) {
            flatTone(r.synth.tonePreset(0), wave);
            r.synth.tonePreset(0).strc = strc;
            r.synth.killVoices(-1);
            r.synth.sendNoteOn(0, 69, 127);
            EXPECT_EQ(r.soleVoice().render, Voice::kOptimisedRenderTable[strc * 2 + (wave == 2)])
                << wave << strc;
        }

    // Sampler part: octv 9 plays the slot at double speed, whatever the key.
    r.synth.killVoices(-1);
    r.synth.setPartMode(0, kModeSampler);
    for (int32_t key : {60, 100}) {
        SamplerPreset& q = r.synth.samplerPreset(key);
        q.smplNum = 1, q.octv = 9;
        r.synth.sendNoteOn(0, key, 127);
        EXPECT_EQ(r.soleVoice().pitchStep, 2 << 18) << key;
        EXPECT_EQ(r.soleVoice().render, Voice::kOptimisedRenderTable[6]);
        r.synth.killVoices(-1);
    }
    for (auto& o : r.out) o.clear();
    r.noteOn(r.now, 0, 60, 127);
    r.render(1600);
    std::vector<int32_t> att(1600, -1);
    std::fill(att.begin(), att.begin() + 1500, 0);
    EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(left, att, 0, g, [](int32_t i) { return 2 * i; })));
    EXPECT_EQ(r.synth.countActiveVoices(), 0);  // ran out at frame 1500

    // octv 8 on a 22050 Hz slot: half speed; a stereo slot uses variant 7; the preset's pan adds.
    fillSlot(r.synth.sampleSlot(2), interleaved, 2, 22050.0f, 0.0f);
    SamplerPreset& q = r.synth.samplerPreset(61);
    q.smplNum = 2, q.pan = 100, q.tune = 8192 + 4096;
    r.synth.sendNoteOn(0, 61, 127);
    Voice& v = r.soleVoice();
    EXPECT_EQ(v.pitchStep, stepOf(17 * 8192 + 4096));
    EXPECT_EQ(v.render, Voice::kOptimisedRenderTable[7]);
    EXPECT_NEAR(v.gainLeft, toneGain(100, 127, 127, 0.8f, 164), 1e-6);
    EXPECT_NEAR(v.gainRight, toneGain(100, 127, 127, 0.8f, 92), 1e-6);
}

/// Pitch value of LFO pair k (a triangle through +8192 and -8192).
int32_t lfoPitchValue(int32_t k) {
    return k < 32   ? 256 * k
           : k < 64 ? 8192 - 256 * (k - 32)
           : k < 96 ? -256 * (k - 64)
                    : 256 * (k - 96) - 8192;
}

TEST(VoiceRender, PitchBendAndLfoChangeTheStepAtPredictedFrames) {
    ToneRig r;
    r.noteOn(0, 0, 69, 127);
    r.bend(100, 0, 127, 127);  // +2 semitones at frame 100
    r.render(500);
    Voice& v = r.soleVoice();
    const int32_t bendPitch = (8191 * 1365) >> 13;
    EXPECT_EQ(bendPitch, 1364);
    EXPECT_EQ(v.bendPitch, bendPitch);
    const int32_t bent = stepOf(kUnityPitch + bendPitch);
    EXPECT_EQ(v.pitchStep, bent);
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    EXPECT_TRUE(
        samplesMatch(r.out[0], expectedOutput(r.codes, std::vector<int32_t>(500, 0), 0, g, [&](int32_t i) {
                         return i < 100 ? i : 100 + static_cast<int32_t>((int64_t{i - 100} * bent) >> 18);
                     })));
    // Bend range 12 through RPN 0 while bent fully up; then fully down.
    r.synth.sendControlChange(0, 101, 0);
    r.synth.sendControlChange(0, 100, 0);
    r.synth.sendControlChange(0, 6, 12);
    EXPECT_EQ(v.pitchStep, stepOf(kUnityPitch + 8191));
    r.synth.sendPitchBend14(0, 0);
    EXPECT_EQ(v.pitchStep, stepOf(kUnityPitch - 8192));
    EXPECT_EQ(v.pitchStep, 1 << 17);

    // Pitch LFO: ticks whenever lfoPhase drops below 1, stepping through the triangle.
    r.synth.killVoices(-1);
    r.synth.resetAllControllers(0);
    r.synth.setPartBendRange(0, 2);
    TonePreset& t = r.tone();
    t.strc = 1, t.lms = 15, t.lfoFreq = 16383;
    r.synth.sendControlChange(0, 1, 127);
    for (auto& o : r.out) o.clear();
    r.noteOn(r.now, 0, 69, 127);
    r.render(22);
    Voice& w = r.soleVoice();
    const int32_t lfoStep = kLfoRateUnit44k * 16383;
    EXPECT_EQ(w.lfoStep, lfoStep);
    EXPECT_EQ(w.lfoDepth, 1905);
    EXPECT_EQ(w.lfoIndex, 2);  // first tick at frame 11 read pair 0, pitch 0
    EXPECT_EQ(w.lfoPitch, 0);
    EXPECT_EQ(w.pitchStep, 1 << 18);
    r.render(1);  // frame 22: the second tick
    EXPECT_EQ(w.lfoIndex, 4);
    EXPECT_EQ(w.lfoPitch, (256 * 1905) >> 11);
    EXPECT_EQ(w.pitchStep, stepOf(kUnityPitch + 238));
    r.render(3977, 512);

    std::vector<float> expected;
    int32_t phase = kTopPos, index = 0, step = 1 << 18, pos = 0;
    uint32_t frac = 0;
    std::vector<int32_t> ticks;
    for (int32_t i = 0; i < 4000; ++i) {
        if (phase < 1) {
            step = stepOf(kUnityPitch + ((lfoPitchValue(index / 2) * 1905) >> 11));
            phase += kTopPos, index = (index + 2) & 255;
            ticks.push_back(i);
        }
        expected.push_back(static_cast<float>(decode(r.codes[pos])) * g);
        phase -= lfoStep;
        const uint32_t sum = static_cast<uint32_t>(step) + frac;
        pos += static_cast<int32_t>(sum >> 18), frac = sum & 0x3FFFF;
    }
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_EQ(ticks[0], 11);
    EXPECT_EQ(ticks[1], 22);
    EXPECT_TRUE(samplesMatch(r.out[0], expected));
    // A bend during the LFO keeps the LFO's offset in the step.
    ASSERT_NE(w.lfoPitch, 0);
    r.synth.sendPitchBend14(0, 16383);
    EXPECT_EQ(w.pitchStep, stepOf(kUnityPitch + w.lfoPitch + 1364));
    r.synth.sendPitchBend14(0, 8192);

    // Amplitude LFO: the odd entries, added to the attenuation as even codes.
    r.synth.killVoices(-1);
    t.strc = 2;
    for (auto& o : r.out) o.clear();
    r.noteOn(r.now, 0, 69, 127);
    r.render(3000, 512);
    expected.clear();
    phase = kTopPos, index = 1;
    int32_t lfoLevel = 0;
    for (int32_t i = 0; i < 3000; ++i) {
        if (phase < 1) {
            const int32_t k = index / 2;
            lfoLevel = ((k < 64 ? 128 * k : 8192 - 128 * (k - 64)) * 1905 >> 11) & ~1;
            phase += kTopPos, index = (index + 2) & 255;
        }
        expected.push_back(static_cast<float>(decode(r.codes[i] + static_cast<uint32_t>(lfoLevel))) * g);
        phase -= lfoStep;
    }
    EXPECT_TRUE(samplesMatch(r.out[0], expected));

    // lfoFreq 0: the LFO never moves.
    r.synth.killVoices(-1);
    t.strc = 1, t.lfoFreq = 0;
    r.noteOn(r.now, 0, 69, 127);
    r.render(5000, 512);
    EXPECT_EQ(r.soleVoice().lfoPitch, 0);
    EXPECT_EQ(r.soleVoice().lfoIndex, 0);
    EXPECT_EQ(r.soleVoice().pitchStep, 1 << 18);
}

TEST(VoiceRender, KeyFollowTwoAndThreeScaleEveryRateAboveKfStart) {
    ToneRig r;
    TonePreset& t = r.tone();
    t.ar = 110, t.dr = 100, t.sl = 8, t.rr = 100, t.kfStart = 60;
    // Key 72 plays the slot at its own speed: the tune takes back the 3 semitones above 69.
    t.tune = 8192 - noteLog(3);
    for (int32_t kf : {2, 3}) {
        t.kf = kf;
        // Below and at kfStart nothing follows; above, the rates grow by 2^(k x 2^kf / 48).
        for (int32_t key : {0, 59, 60, 61, 72, 100, 127}) {
            const int32_t k = key - 60;
            const int32_t keyOffset = k > 0 ? static_cast<int32_t>(std::trunc(k / 48.0 * 8192.0)) << kf : 0;
            r.synth.killVoices(-1);
            r.synth.sendNoteOn(0, key, 127);
            Voice& v = r.soleVoice();
            EXPECT_EQ(v.envRate, rateOf(110, keyOffset, kEnvRateOffset44k)) << kf << " " << key;
            EXPECT_EQ(v.decayRate, rateOf(100, keyOffset, kEnvRateOffset44k)) << kf << " " << key;
            EXPECT_EQ(v.releaseRate, rateOf(100, keyOffset, kEnvRateOffset44k)) << kf << " " << key;
        }
        // An octave above kfStart every rate doubles (kf 2) or quadruples (kf 3); the render
        // follows the level law with those rates frame by frame.
        const int32_t keyOffset = 2048 << kf;
        EXPECT_EQ(keyOffset, 8192 * (kf - 1));
        EnvelopeLaw law;
        law.attackRate = rateOf(110, keyOffset, kEnvRateOffset44k);
        law.decayRate = rateOf(100, keyOffset, kEnvRateOffset44k);
        law.releaseRate = rateOf(100, keyOffset, kEnvRateOffset44k);
        law.sustainPos = 8 << 23;
        law.endPos = 104 << 23;
        law.sl = 8;
        r.synth.killVoices(-1);
        for (auto& o : r.out) o.clear();
        r.noteOn(r.now, 0, 72, 127);
        r.noteOff(r.now + 600, 0, 72);
        r.render(2000, 512);
        EXPECT_EQ(r.synth.countActiveVoices(), 0);
        const std::vector<int32_t> att = law.run(2000, 600);
        ASSERT_LT(att[1999], 0);  // the release ended within the render
        const float g = toneGain(100, 127, 127, 0.8f, 128);
        EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(r.codes, att, 0, g, identity))) << kf;
    }
}

TEST(VoiceRender, StereoLfoVariantsModulateBothChannelsAlike) {
    ToneRig r;
    const std::vector<uint32_t> left = rampCodes(8000), right = rampCodes(8000, 777);
    std::vector<uint32_t> interleaved;
    for (size_t i = 0; i < left.size(); ++i) interleaved.push_back(left[i]), interleaved.push_back(right[i]);
    fillSlot(r.synth.sampleSlot(2), interleaved, 2, 44100.0f, 440.0f);
    TonePreset& t = r.tone();
    t.wave = 2, t.lms = 15, t.lfoFreq = 16383;
    r.synth.sendControlChange(0, 1, 127);
    const int32_t depth = 15 * 127, lfoStep = kLfoRateUnit44k * 16383;
    const float g = toneGain(100, 127, 127, 0.8f, 128);
    for (int32_t strc : {1, 2}) {
        t.strc = strc;
        r.synth.killVoices(-1);
        for (auto& o : r.out) o.clear();
        r.noteOn(r.now, 0, 69, 127);
        r.render(3000, 512);
        EXPECT_EQ(r.soleVoice().render, Voice::kOptimisedRenderTable[strc * 2 + 1]);
        // Pitch LFO: the even entries change the step; amplitude LFO: the odd ones the level.
        std::vector<float> eLeft, eRight;
        int32_t phase = kTopPos, index = strc - 1, step = 1 << 18, pos = 0, lfoLevel = 0;
        uint32_t frac = 0;
        for (int32_t i = 0; i < 3000; ++i) {
            if (phase < 1) {
                const int32_t k = index / 2;
                if (strc == 1)
                    step = stepOf(kUnityPitch + ((lfoPitchValue(k) * depth) >> 11));
                else
                    lfoLevel = ((k < 64 ? 128 * k : 8192 - 128 * (k - 64)) * depth >> 11) & ~1;
                phase += kTopPos, index = (index + 2) & 255;
            }
            const auto level = static_cast<uint32_t>(lfoLevel);
            eLeft.push_back(static_cast<float>(decode(left[pos] + level)) * g);
            eRight.push_back(static_cast<float>(decode(right[pos] + level)) * g);
            phase -= lfoStep;
            const uint32_t sum = static_cast<uint32_t>(step) + frac;
            pos += static_cast<int32_t>(sum >> 18), frac = sum & 0x3FFFF;
        }
        EXPECT_TRUE(samplesMatch(r.out[0], eLeft)) << strc;
        EXPECT_TRUE(samplesMatch(r.out[1], eRight)) << strc;
    }
}

TEST(VoiceRender, VelocityCurveAndPanLawOverTheirWholeRange) {
    ToneRig r;
    const auto fresh = [&r] {
        r.synth.killVoices(-1);
        for (auto& o : r.out) o.clear();
    };
    // Velocity v scales by ((v + 1) / 128)^2; velocity 0 is a note off.
    for (int32_t v = 1; v < 128; ++v) {
        fresh();
        r.noteOn(r.now, 0, 69, v);
        r.render(4);
        EXPECT_EQ(r.soleVoice().velocityGain, level(v)) << v;
        const float g = toneGain(100, 127, v, 0.8f, 128);
        EXPECT_TRUE(
            samplesMatch(r.out[0], expectedOutput(r.codes, std::vector<int32_t>(4, 0), 0, g, identity)))
            << v;
        EXPECT_TRUE(
            samplesMatch(r.out[1], expectedOutput(r.codes, std::vector<int32_t>(4, 0), 0, g, identity)))
            << v;
    }
    r.noteOn(r.now, 0, 69, 0);
    r.render(1);
    EXPECT_EQ(r.synth.countActiveVoices(), 1);
    EXPECT_EQ(r.soleVoice().state, 0x21);

    // Pan p: left sin((128 - n) pi / 256) at index p + 64, right the same at 192 - p.
    for (int32_t pan = 0; pan < 128; ++pan) {
        fresh();
        r.cc(r.now, 0, 10, pan);
        r.noteOn(r.now, 0, 69, 127);
        r.render(4);
        const Voice& v = r.soleVoice();
        EXPECT_NEAR(v.panLeft, panAt(pan + 64), 1e-6) << pan;
        EXPECT_NEAR(v.panRight, panAt(192 - pan), 1e-6) << pan;
        const std::vector<int32_t> flat(4, 0);
        const float gl = toneGain(100, 127, 127, 0.8f, pan + 64),
                    gr = toneGain(100, 127, 127, 0.8f, 192 - pan);
        EXPECT_TRUE(samplesMatch(r.out[0], expectedOutput(r.codes, flat, 0, gl, identity), 1e-6)) << pan;
        EXPECT_TRUE(samplesMatch(r.out[1], expectedOutput(r.codes, flat, 0, gr, identity), 1e-6)) << pan;
    }
}

}  // namespace
}  // namespace velt::corvane::enginetest
