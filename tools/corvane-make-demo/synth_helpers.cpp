#include "tools/corvane-make-demo/synth_helpers.h"

#include <algorithm>
#include <cmath>

namespace velt::corvane::tools {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

uint32_t FixedNoise::next() {
    uint32_t x = state_;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state_ = x;
    return x;
}

double FixedNoise::white() {
    return unit() * 2.0 - 1.0;
}

double FixedNoise::unit() {
    return static_cast<double>(next()) / 4294967295.0;
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}

Biquad Biquad::lowpass(double hz, double q, double fs) {
    const double w = 2.0 * kPi * hz / fs;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::highpass(double hz, double q, double fs) {
    const double w = 2.0 * kPi * hz / fs;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::bandpass(double hz, double q, double fs) {
    const double w = 2.0 * kPi * hz / fs;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

double Biquad::process(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

double periodicSine(int64_t cycles, int64_t frame, int64_t period, double phase) {
    if (period <= 0) return 0.0;
    const int64_t step = ((cycles % period) * (frame % period)) % period;
    return std::sin(2.0 * kPi * static_cast<double>(step) / static_cast<double>(period) + phase);
}

double settle(double t, double length, double power) {
    if (length <= 0.0 || t >= length) return 0.0;
    return std::pow(1.0 - t / length, power);
}

double lowpassGain(double hz, double fc) {
    const double r = hz / fc;
    return 1.0 / std::sqrt(1.0 + r * r * r * r);
}

void fadeIn(std::vector<float>& samples, int32_t frames) {
    const int32_t n = std::min<int32_t>(frames, static_cast<int32_t>(samples.size()));
    for (int32_t i = 0; i < n; ++i) samples[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / frames));
}

void fadeOut(std::vector<float>& samples, int32_t frames) {
    const int32_t size = static_cast<int32_t>(samples.size());
    const int32_t n = std::min(frames, size);
    for (int32_t i = 0; i < n; ++i)
        samples[size - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / frames));
}

void normalizePeak(std::vector<float>& samples, double peak) {
    double largest = 0.0;
    for (float s : samples) largest = std::max(largest, static_cast<double>(std::fabs(s)));
    if (largest <= 0.0) return;
    const double scale = peak / largest;
    for (float& s : samples) s = static_cast<float>(s * scale);
}

}  // namespace velt::corvane::tools
