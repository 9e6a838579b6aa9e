// Constants that depend on the sample rate and the master tune, stored in every voice.
#pragma once

#include <cstdint>

namespace velt::corvane::synth {

struct RateConstants {
    int32_t sampleRateOffset = 0;
    int32_t toneRateOffset = 0;
    int32_t envRateOffset = 0;
    int32_t dampRate = 0;
    int32_t lfoRateUnit = 0;
};

/// trunc(log2(v) * 8192 + 0.5) in double precision when v > 1, else 0.
int32_t pitchLog(double v);

/// The five constants for sample rate fs (Hz) and the A4 frequency masterTune (Hz).
RateConstants computeRateConstants(float fs, float masterTune);

}  // namespace velt::corvane::synth
