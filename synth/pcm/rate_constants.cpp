#include "synth/pcm/rate_constants.h"

#include <algorithm>
#include <cmath>

namespace velt::corvane::synth {

namespace {
int32_t saturate(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(std::trunc(v));
}
}  // namespace

int32_t pitchLog(double v) {
    return v > 1.0 ? saturate(std::log2(v) * 8192.0 + 0.5) : 0;
}

RateConstants computeRateConstants(float fs, float masterTune) {
    const double rate = fs;
    RateConstants c;
    // In double, so that an absurd rate or tune saturates instead of overflowing.
    c.sampleRateOffset = saturate(147456.0 - pitchLog(rate));
    c.toneRateOffset =
        saturate(static_cast<double>(c.sampleRateOffset) + pitchLog(masterTune * std::pow(2.0, -5.75)));
    c.envRateOffset = pitchLog(1073741824.0 / (256.0 * rate));
    c.dampRate = rate > 0.0 ? saturate(1073741824.0 / (rate * std::pow(2.0, -9.0)) + 0.5) : INT32_MAX;
    c.lfoRateUnit = saturate(65540.00024415553 / std::max(1.0, rate * 0.03125 * 0.0078125) + 0.5);
    return c;
}

}  // namespace velt::corvane::synth
