// The tables every PCM voice reads; built once per synthesizer, never changed.
#pragma once

#include <cstdint>

namespace velt::corvane::synth {

struct SharedTables {
    static constexpr int32_t kExpTableSize = 32776;
    static constexpr int32_t kEnvTableSize = 4096;

    float levelCurve[128];          ///< ((i + 1) / 128)^2: volume, expression, velocity
    float panCurve[257];            ///< 1 up to 64, then a quarter sine down to 0 at 192
    float expTable[kExpTableSize];  ///< log-amplitude code -> linear value
    int32_t pitchExpTable[8192];    ///< 2^(30 + i / 8192)
    int32_t pitchShiftTable[128];
    int32_t rateShiftTable[128];
    int32_t noteLogTable[128];  ///< semitones in 1/8192 octave
    int32_t tlTable[256];
    int32_t linToLogTable[kEnvTableSize];
    int32_t logRampTable[kEnvTableSize];
    int32_t keyFollowTable[256];
    int32_t levelLimitTable[129];
    int32_t lfoTable[256];  ///< 128 pairs (pitch value, amplitude value)

    /// Fills every table.
    void build();
};

}  // namespace velt::corvane::synth
