// Differential renders of a busy pseudo-random MIDI sequence: the optimised render
// routines against the per-frame reference, and block size 32 against 512.
#include <cstring>
#include <random>

#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

constexpr int32_t kFrames = 48 * 512;

/// Sound data with loops, release loops, stereo and mono slots, LFO tones and sampler keys.
void loadSounds(SynthesizerPCM& synth) {
    SampleData* s = synth.sampleData();
    fillSlot(s[0], rampCodes(3000), 1, 44100.0f, 440.0f);
    setLoopPoints(s[0], 500, 1500);
    std::vector<uint32_t> stereo;
    for (int32_t i = 0; i < 2500; ++i)
        stereo.push_back(2 * ((i * 7) % 3000)), stereo.push_back(2 * (i % 2000) + 1);
    fillSlot(s[1], stereo, 2, 48000.0f, 261.63f);
    setLoopPoints(s[1], 1200, 2500);                        // also the release loop
    fillSlot(s[2], rampCodes(800, 33), 1, 22050.0f, 0.0f);  // no loop, Pitch unset
    fillSlot(s[3], stereo, 2, 32000.0f, 110.0f);
    setPlaybackPoints(s[3], 100, 2400);
    setLoopPoints(s[3], 900, 2000);  // held loop only
    fillSlot(s[4], rampCodes(4000, 5), 1, 44100.0f, 880.0f);
    setLoopPoints(s[4], 3990, 4000);  // a tiny release loop

    struct ToneSpec {
        int32_t wave, strc, lms, lfoFreq, ar, dr, sl, rr, tl, kf, tune;
    };
    const ToneSpec tones[] = {
        {0, 0, 0, 2048, 127, 100, 0, 120, 0, 0, 8192},   {1, 1, 15, 16383, 110, 90, 20, 100, 4, 1, 8000},
        {2, 2, 9, 9000, 127, 60, 40, 80, 10, 2, 8192},   {3, 3, 4, 3000, 90, 100, 10, 110, 0, 3, 8500},
        {4, 1, 7, 700, 127, 127, 127, 127, 30, 0, 8192}, {0, 2, 15, 16000, 100, 70, 5, 60, 0, 1, 7000},
        {1, 0, 0, 0, 127, 110, 8, 90, 2, 2, 8192},       {3, 1, 12, 12000, 120, 80, 30, 127, 20, 3, 9000},
    };
    for (int32_t p = 0; p < 8; ++p) {
        const ToneSpec& t = tones[p];
        TonePreset& tp = synth.tonePreset(p);
        tp.wave = t.wave, tp.strc = t.strc, tp.lms = t.lms, tp.lfoFreq = t.lfoFreq, tp.ar = t.ar,
        tp.dr = t.dr;
        tp.sl = t.sl, tp.rr = t.rr, tp.tl = t.tl, tp.kf = t.kf, tp.tune = t.tune;
    }
    for (int32_t k = 0; k < 128; ++k) {
        SamplerPreset& q = synth.samplerPreset(k);
        q.smplNum = k % 5, q.octv = 7 + k % 3, q.pan = (k * 37) % 128, q.tune = 8192 + (k % 7 - 3) * 300;
        q.ar = k % 4 ? 127 : 100, q.dr = k % 3 ? 0 : 90, q.sl = 20, q.rr = 100 + k % 20, q.tl = k % 9;
    }
    for (int32_t ch = 0; ch < 16; ++ch) synth.setPartOutput(ch, ch % 5);
    synth.setPartMode(12, kModePercussion);
    synth.setPartMode(13, kModeSampler);
    synth.setPartMode(14, kModeSampler);
    synth.setPartMode(15, kModeMute);
}

/// A fixed busy sequence: notes and releases, controllers 1/7/10/11, bend, program changes
/// (chain and entry point), all sound off and velocity-0 note offs.
void schedule(Rig& r) {
    std::mt19937 rng(20240611u);
    auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    std::vector<std::pair<int32_t, int32_t>> held;  // (channel, key)
    for (int32_t frame = 0; frame < kFrames - 64; frame += pick(0, 40)) {
        const int32_t ch = pick(0, 15), what = pick(0, 99);
        if (what < 35) {
            const int32_t key = pick(24, 108);
            r.noteOn(frame, ch, key, pick(1, 127));
            held.push_back({ch, key});
        } else if (what < 60 && !held.empty()) {
            const size_t i = static_cast<size_t>(pick(0, static_cast<int32_t>(held.size()) - 1));
            if (pick(0, 3) == 0)
                r.noteOn(frame, held[i].first, held[i].second, 0);
            else
                r.noteOff(frame, held[i].first, held[i].second);
            held.erase(held.begin() + static_cast<long>(i));
        } else if (what < 80) {
            const int32_t numbers[] = {1, 7, 10, 11};
            r.cc(frame, ch, numbers[pick(0, 3)], pick(0, 127));
        } else if (what < 90) {
            r.bend(frame, ch, pick(0, 127), pick(0, 127));
        } else if (what < 95) {
            r.program(frame, ch, pick(0, 7));
        } else if (what < 97) {
            r.cc(frame, ch, 120, 0);
        } else {
            r.cc(frame, ch, 121, 0);
        }
    }
    for (int32_t frame = 2048; frame < kFrames; frame += 2048) {
        const int32_t ch = pick(0, 15), prog = pick(0, 7);
        r.at(frame, [&r, ch, prog] { r.synth.sendProgramChange(ch, prog); });
    }
}

struct Result {
    std::vector<float> out[kChannelCount];
    int32_t peakVoices = 0;
};

Result renderSequence(SynthesizerPCM::RenderPath path, int32_t blockSize) {
    auto r = std::make_unique<Rig>();
    r->synth.setRenderPath(path);
    EXPECT_EQ(r->synth.setPolyphony(8), 8);
    loadSounds(r->synth);
    schedule(*r);
    Result result;
    while (r->now < kFrames) {
        r->render(std::min(blockSize, kFrames - r->now), blockSize);
        result.peakVoices = std::max(result.peakVoices, r->synth.countActiveVoices());
    }
    for (int32_t c = 0; c < kChannelCount; ++c) result.out[c] = std::move(r->out[c]);
    return result;
}

bool bitIdentical(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(Differential, OptimisedMatchesReferenceAndBlockSizeDoesNotMatter) {
    using Path = SynthesizerPCM::RenderPath;
    const Result reference = renderSequence(Path::Reference, 512);
    const Result optimised = renderSequence(Path::Optimised, 512);
    const Result small = renderSequence(Path::Optimised, 32);
    const Result smallReference = renderSequence(Path::Reference, 32);

    // The sequence really exercises the engine: every used output sounds, voices run out.
    EXPECT_EQ(reference.peakVoices, 8);
    for (int32_t c = 0; c < 10; ++c) {
        double energy = 0.0;
        for (float x : reference.out[c]) energy += static_cast<double>(x) * x;
        EXPECT_GT(energy, 1.0) << "channel " << c;
    }
    for (int32_t c = 0; c < kChannelCount; ++c) {
        ASSERT_EQ(reference.out[c].size(), static_cast<size_t>(kFrames));
        EXPECT_TRUE(bitIdentical(reference.out[c], optimised.out[c])) << "optimised, channel " << c;
        EXPECT_TRUE(bitIdentical(optimised.out[c], small.out[c])) << "block 32, channel " << c;
        EXPECT_TRUE(bitIdentical(reference.out[c], smallReference.out[c])) << "reference 32, channel " << c;
    }
    for (int32_t c = 10; c < kChannelCount; ++c)
        for (float x : reference.out[c]) ASSERT_EQ(x, 0.0f) << "channel " << c;
}

/// One note whose envelope phases or LFO ticks end exactly on frame boundaries.
std::vector<float> renderExact(SynthesizerPCM::RenderPath path, float fs, bool lfo,
                               int32_t* lfoIndexAt65 = nullptr) {
    Rig r;
    r.synth.setRenderPath(path);
    r.rack.setSampleRate(fs);
    // Full level for the envelope case, so the frame after the end would be audible.
    fillSlot(r.synth.sampleSlot(0), lfo ? rampCodes(4000) : std::vector<uint32_t>(4000, 0u), 1, fs, 440.0f);
    setLoopPoints(r.synth.sampleSlot(0), 0, 4000);
    TonePreset& t = r.synth.tonePreset(0);
    flatTone(t);
    if (lfo) {
        t.strc = 1, t.lms = 15, t.lfoFreq = 4096;
        r.synth.sendControlChange(0, 1, 127);
    } else {
        t.ar = 120, t.dr = 96, t.sl = 8, t.rr = 96;
    }
    r.noteOn(0, 0, 69, 127);
    r.noteOff(1000, 0, 69);
    r.render(65);
    if (lfoIndexAt65) *lfoIndexAt65 = r.soleVoice().lfoIndex;
    r.render(2935);
    return r.out[0];
}

TEST(Differential, PhaseEndsAndLfoTicksExactlyOnAFrame) {
    using Path = SynthesizerPCM::RenderPath;
    // At 32768 Hz the rates of parameters that are multiples of 8 are powers of two:
    // attack 2^22 (256 frames), decay and release 2^19 (128 and 1536 frames).
    EXPECT_EQ(logOf(1073741824.0 / (256.0 * 32768.0)), 7 * 8192);
    EXPECT_EQ(rateOf(120, 0, 7 * 8192), 1 << 22);
    EXPECT_EQ(rateOf(96, 0, 7 * 8192), 1 << 19);
    const std::vector<float> reference = renderExact(Path::Reference, 32768.0f, false);
    const std::vector<float> optimised = renderExact(Path::Optimised, 32768.0f, false);
    EXPECT_TRUE(bitIdentical(reference, optimised));
    EXPECT_EQ(reference[0], 0.0f);
    EXPECT_NE(reference[1000 + 1535], 0.0f);
    EXPECT_EQ(reference[1000 + 1536], 0.0f);  // endPos reached exactly: the voice ends there

    // At 65540 Hz lfoRateUnit is 4096, so lfoFreq 4096 ticks every 64 frames exactly.
    EXPECT_EQ(static_cast<int32_t>(std::trunc(65540.00024415553 / (65540.0 / 4096.0) + 0.5)), 4096);
    int32_t indexReference = -1, indexOptimised = -1;
    const std::vector<float> lfoReference = renderExact(Path::Reference, 65540.0f, true, &indexReference);
    const std::vector<float> lfoOptimised = renderExact(Path::Optimised, 65540.0f, true, &indexOptimised);
    EXPECT_EQ(indexReference, 2);  // lfoPhase reaches 0 at frame 64: the first tick
    EXPECT_EQ(indexOptimised, 2);
    EXPECT_TRUE(bitIdentical(lfoReference, lfoOptimised));
}

}  // namespace
}  // namespace velt::corvane::enginetest
