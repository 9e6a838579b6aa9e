#include "tools/corvane-make-demo/drum_sounds.h"

#include <cmath>

#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/synth_helpers.h"

namespace velt::corvane::tools {

namespace {

constexpr double kPi = 3.14159265358979323846;

DemoSample oneShot(int32_t slot, const char* file, const char* title, uint32_t rate, double seconds) {
    DemoSample s;
    s.slot = slot;
    s.fileName = file;
    s.title = title;
    s.sampleRate = rate;
    s.frames.assign(static_cast<size_t>(std::lround(seconds * rate)), 0.0f);
    return s;
}

/// Common ending: soft onset, silent last frame, peak just below full scale.
void finish(DemoSample& s, double fadeInSeconds, double fadeOutSeconds) {
    fadeIn(s.frames, static_cast<int32_t>(std::lround(fadeInSeconds * s.sampleRate)));
    fadeOut(s.frames, static_cast<int32_t>(std::lround(fadeOutSeconds * s.sampleRate)));
    normalizePeak(s.frames, 0.95);
}

/// The hi-hat's source: six square waves at inharmonic ratios plus noise, both above 7 kHz.
void hatSource(DemoSample& s, double decaySeconds, uint32_t seed) {
    static const double kSquares[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    const double fs = s.sampleRate;
    FixedNoise noise(seed);
    Biquad high1 = Biquad::highpass(7000.0, 0.7, fs);
    Biquad high2 = Biquad::highpass(7000.0, 0.7, fs);
    Biquad band = Biquad::bandpass(10000.0, 0.8, fs);
    for (size_t n = 0; n < s.frames.size(); ++n) {
        const double t = n / fs;
        double metal = 0.0;
        for (double hz : kSquares) metal += std::sin(2.0 * kPi * hz * 2.17 * t) >= 0.0 ? 1.0 : -1.0;
        const double source = 0.4 * band.process(metal / 6.0) + 0.6 * noise.white();
        s.frames[n] = static_cast<float>(high2.process(high1.process(source)) * std::exp(-t / decaySeconds));
    }
}

}  // namespace

DemoSample makeKick() {
    DemoSample s = oneShot(kKickSlot, "kick.wav", "kick drum", 22050, 0.45);
    const double fs = s.sampleRate;
    FixedNoise noise(0x4B49434Bu);
    Biquad clickFilter = Biquad::lowpass(4000.0, 0.7, fs);
    double phase = 0.0;
    for (size_t n = 0; n < s.frames.size(); ++n) {
        const double t = n / fs;
        const double hz = 48.0 + 110.0 * std::exp(-t / 0.03) + 30.0 * std::exp(-t / 0.004);
        const double body = std::sin(phase) * std::exp(-t / 0.22);
        const double click = 0.2 * clickFilter.process(noise.white()) * std::exp(-t / 0.0025);
        s.frames[n] = static_cast<float>(body + click);
        phase += 2.0 * kPi * hz / fs;
    }
    finish(s, 0.001, 0.03);
    return s;
}

DemoSample makeSnare() {
    DemoSample s = oneShot(kSnareSlot, "snare.wav", "snare drum", 44100, 0.35);
    const double fs = s.sampleRate;
    FixedNoise noise(0x534E4152u);
    Biquad high = Biquad::highpass(1500.0, 0.7, fs);
    Biquad sizzle = Biquad::bandpass(5000.0, 0.9, fs);
    double phase1 = 0.0;
    double phase2 = 0.0;
    for (size_t n = 0; n < s.frames.size(); ++n) {
        const double t = n / fs;
        const double tone =
            0.6 * std::sin(phase1) * std::exp(-t / 0.04) + 0.3 * std::sin(phase2) * std::exp(-t / 0.03);
        const double white = noise.white();
        const double rattle = (0.7 * high.process(white) + 0.3 * sizzle.process(white)) * std::exp(-t / 0.09);
        s.frames[n] = static_cast<float>(tone + rattle);
        phase1 += 2.0 * kPi * (180.0 + 40.0 * std::exp(-t / 0.01)) / fs;
        phase2 += 2.0 * kPi * 330.0 / fs;
    }
    finish(s, 0.0005, 0.04);
    return s;
}

DemoSample makeClosedHat() {
    DemoSample s = oneShot(kHatClosedSlot, "hat-closed.wav", "closed hi-hat", 44100, 0.12);
    hatSource(s, 0.02, 0x48415443u);
    finish(s, 0.0003, 0.02);
    return s;
}

DemoSample makeOpenHat() {
    DemoSample s = oneShot(kHatOpenSlot, "hat-open.wav", "open hi-hat", 44100, 0.45);
    hatSource(s, 0.12, 0x4841544Fu);
    finish(s, 0.0003, 0.08);
    return s;
}

DemoSample makeClap() {
    DemoSample s = oneShot(kClapSlot, "clap.wav", "hand clap", 44100, 0.35);
    const double fs = s.sampleRate;
    FixedNoise noise(0x434C4150u);
    Biquad band = Biquad::bandpass(1100.0, 1.2, fs);
    static const double kBursts[] = {0.0, 0.011, 0.022};
    constexpr double kTailStart = 0.031;
    for (size_t n = 0; n < s.frames.size(); ++n) {
        const double t = n / fs;
        double level = 0.0;
        for (double start : kBursts)
            if (t >= start && t < kTailStart) level += std::exp(-(t - start) / 0.004);
        if (t >= kTailStart) level += 0.8 * std::exp(-(t - kTailStart) / 0.09);
        s.frames[n] = static_cast<float>(band.process(noise.white()) * level);
    }
    finish(s, 0.0003, 0.04);
    return s;
}

DemoSample makeTom() {
    DemoSample s = oneShot(kTomSlot, "tom.wav", "tom (low and high key)", 22050, 0.55);
    const double fs = s.sampleRate;
    FixedNoise noise(0x544F4D31u);
    Biquad stick = Biquad::bandpass(2500.0, 1.0, fs);
    double phase = 0.0;
    for (size_t n = 0; n < s.frames.size(); ++n) {
        const double t = n / fs;
        const double body = std::sin(phase) * std::exp(-t / 0.2);
        const double hit = 0.25 * stick.process(noise.white()) * std::exp(-t / 0.006);
        s.frames[n] = static_cast<float>(body + hit);
        phase += 2.0 * kPi * (95.0 + 60.0 * std::exp(-t / 0.05)) / fs;
    }
    finish(s, 0.001, 0.04);
    return s;
}

}  // namespace velt::corvane::tools
