// Small signal tools of the demo generator: a fixed-seed noise source, a biquad,
// exactly periodic sines and level shaping. Everything is deterministic.
#pragma once

#include <cstdint>
#include <vector>

namespace velt::corvane::tools {

/// White noise from a 32-bit xorshift with a fixed seed: the same sequence on every run.
class FixedNoise {
public:
    explicit FixedNoise(uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}
    /// Next raw 32-bit value.
    uint32_t next();
    /// Next value, uniform in -1.0 to +1.0.
    double white();
    /// Next value, uniform in 0.0 to 1.0.
    double unit();

private:
    uint32_t state_;
};

/// A second-order filter in direct form I, coefficients after the audio-EQ cookbook.
class Biquad {
public:
    /// Filters with cutoff or centre frequency hz at rate fs and quality q.
    static Biquad lowpass(double hz, double q, double fs);
    static Biquad highpass(double hz, double q, double fs);
    static Biquad bandpass(double hz, double q, double fs);  ///< 0 dB at the centre

    /// One filtered sample.
    double process(double x);

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

/// sin(2π · cycles · frame / period + phase), taken from the exact phase
/// (cycles · frame mod period), so the result repeats after period frames to the last bit.
double periodicSine(int64_t cycles, int64_t frame, int64_t period, double phase = 0.0);

/// (1 − t / length)^power while t < length, then 0: a fade that lands with zero slope.
double settle(double t, double length, double power);

/// Magnitude of a second-order Butterworth low-pass at hz with cutoff fc.
double lowpassGain(double hz, double fc);

/// Raised-cosine fade over the first frames samples.
void fadeIn(std::vector<float>& samples, int32_t frames);
/// Raised-cosine fade over the last frames samples.
void fadeOut(std::vector<float>& samples, int32_t frames);
/// Scales the samples so that their largest magnitude is peak (nothing when all are 0).
void normalizePeak(std::vector<float>& samples, double peak);

}  // namespace velt::corvane::tools
