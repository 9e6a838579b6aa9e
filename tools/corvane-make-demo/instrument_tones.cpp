#include "tools/corvane-make-demo/instrument_tones.h"

#include <cmath>

#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/synth_helpers.h"

namespace velt::corvane::tools {

namespace {

constexpr double kPi = 3.14159265358979323846;

/// A harmonic whose level glides from onset to steady by the loop start.
struct Harmonic {
    int32_t number;
    double steady;
    double onset;
    double power;  ///< higher: the onset level falls away sooner
};

DemoSample looped(int32_t slot, const char* file, const char* title, uint32_t rate, int32_t attack,
                  int32_t loop, double pitch) {
    DemoSample s;
    s.slot = slot;
    s.fileName = file;
    s.title = title;
    s.sampleRate = rate;
    s.frames.assign(static_cast<size_t>(attack + loop), 0.0f);
    s.loopStart = attack;
    s.loopEnd = attack + loop;
    s.pitch = pitch;
    return s;
}

}  // namespace

DemoSample makeElectricPiano() {
    constexpr int32_t kRate = 44100;
    constexpr int32_t kPeriod = 168;
    constexpr int32_t kAttack = kPeriod * 80;
    constexpr int32_t kLoop = kPeriod * 24;
    constexpr double kFundamental = static_cast<double>(kRate) / kPeriod;
    DemoSample s = looped(kEPianoSlot, "epiano.wav", "electric piano, 262.5 Hz, attack then loop", kRate,
                          kAttack, kLoop, kFundamental);
    static const Harmonic kHarmonics[] = {{1, 1.0, 1.0, 2.0},    {2, 0.30, 0.55, 2.5},  {3, 0.10, 0.35, 3.0},
                                          {4, 0.05, 0.28, 3.5},  {5, 0.025, 0.18, 4.0}, {6, 0.012, 0.12, 4.5},
                                          {7, 0.006, 0.08, 5.0}, {8, 0.0, 0.05, 5.5}};
    FixedNoise noise(0x45503031u);
    Biquad thumpFilter = Biquad::lowpass(1200.0, 0.7, kRate);
    for (int32_t n = 0; n < kAttack + kLoop; ++n) {
        double v = 0.0;
        for (const Harmonic& h : kHarmonics) {
            const double level = h.steady + (h.onset - h.steady) * settle(n, kAttack, h.power);
            v += level * periodicSine(h.number, n, kPeriod);
        }
        // The tine's inharmonic ring and the hammer's thump die out before the loop.
        const double t = static_cast<double>(n) / kRate;
        v += 0.22 * settle(n, kAttack, 8.0) * std::sin(2.0 * kPi * 7.13 * kFundamental * t);
        v += 0.06 * settle(n, kAttack * 0.4, 6.0) * std::sin(2.0 * kPi * 14.31 * kFundamental * t);
        v += 0.15 * settle(n, 260.0, 2.0) * thumpFilter.process(noise.white());
        s.frames[n] = static_cast<float>(v);
    }
    fadeIn(s.frames, 44);
    normalizePeak(s.frames, 0.89);
    return s;
}

DemoSample makeBass() {
    constexpr int32_t kRate = 22050;
    constexpr int32_t kPeriod = 245;
    constexpr int32_t kAttack = kPeriod * 27;
    constexpr int32_t kLoop = kPeriod * 8;
    constexpr double kFundamental = static_cast<double>(kRate) / kPeriod;
    constexpr int32_t kHarmonics = 88;  // below 8 kHz
    DemoSample s = looped(kBassSlot, "bass.wav", "saw bass, 90 Hz, filter sweep then loop", kRate, kAttack,
                          kLoop, kFundamental);
    for (int32_t n = 0; n < kAttack + kLoop; ++n) {
        const double cutoff = 650.0 + 2600.0 * settle(n, kAttack, 3.0);
        double v = 0.0;
        for (int32_t k = 1; k <= kHarmonics; ++k) {
            const double level = (k == 1 ? 1.2 : 1.0) / k * lowpassGain(k * kFundamental, cutoff);
            v += level * periodicSine(k, n, kPeriod);
        }
        s.frames[n] = static_cast<float>(v);
    }
    fadeIn(s.frames, 22);
    normalizePeak(s.frames, 0.89);
    return s;
}

DemoSample makePad() {
    constexpr int32_t kRate = 22050;
    constexpr int32_t kLoop = 2 * kRate;  // 2 s: every partial sits on a 0.5 Hz grid
    constexpr double kFundamental = 220.0;
    constexpr int32_t kHarmonics = 20;
    static const double kDetuneCents[] = {-8.0, 0.0, 8.0};
    DemoSample s = looped(kPadSlot, "pad.wav", "warm pad, 220 Hz, three detuned voices, all loop", kRate, 0,
                          kLoop, kFundamental);
    struct Partial {
        int64_t cycles;
        double level;
        double phase;
    };
    std::vector<Partial> partials;
    FixedNoise noise(0x50414431u);
    for (double cents : kDetuneCents) {
        for (int32_t k = 1; k <= kHarmonics; ++k) {
            const double hz = kFundamental * k * std::pow(2.0, cents / 1200.0);
            Partial p;
            p.cycles = std::lround(hz * kLoop / kRate);
            p.level = 1.0 / k * lowpassGain(k * kFundamental, 1800.0);
            p.phase = noise.unit() * 2.0 * kPi;
            partials.push_back(p);
        }
    }
    for (int32_t n = 0; n < kLoop; ++n) {
        double v = 0.0;
        for (const Partial& p : partials) v += p.level * periodicSine(p.cycles, n, kLoop, p.phase);
        s.frames[n] = static_cast<float>(v);
    }
    normalizePeak(s.frames, 0.89);
    return s;
}

DemoSample makeLead() {
    constexpr int32_t kRate = 44100;
    constexpr int32_t kPeriod = 84;
    constexpr int32_t kAttack = kPeriod * 60;
    constexpr int32_t kLoop = kPeriod * 40;
    constexpr double kFundamental = static_cast<double>(kRate) / kPeriod;
    constexpr int32_t kHarmonics = 17;  // below 9 kHz, so two octaves up stays under the output's Nyquist
    DemoSample s = looped(kLeadSlot, "lead.wav", "saw-square lead, 525 Hz, bright onset then loop", kRate,
                          kAttack, kLoop, kFundamental);
    for (int32_t n = 0; n < kAttack + kLoop; ++n) {
        const double cutoff = 3200.0 + 5000.0 * settle(n, kAttack, 2.0);
        double v = 0.0;
        for (int32_t k = 1; k <= kHarmonics; ++k) {
            const double level = (k % 2 == 1 ? 1.6 : 1.0) / k * lowpassGain(k * kFundamental, cutoff);
            v += level * periodicSine(k, n, kPeriod);
        }
        s.frames[n] = static_cast<float>(v);
    }
    fadeIn(s.frames, 88);
    normalizePeak(s.frames, 0.89);
    return s;
}

}  // namespace velt::corvane::tools
