#include "synth/pcm/shared_tables.h"

#include <algorithm>
#include <cmath>

namespace velt::corvane::synth {

void SharedTables::build() {
    for (int32_t i = 0; i < 128; ++i) {
        const float x = static_cast<float>(i + 1) / 128.0f;
        levelCurve[i] = x * x;
    }

    const float halfPi = 1.5707964f;
    for (int32_t i = 0; i <= 64; ++i) panCurve[i] = 1.0f;
    for (int32_t n = 0; n < 128; ++n)
        panCurve[64 + n] = std::sin(static_cast<float>(128 - n) * halfPi / 128.0f);
    for (int32_t i = 192; i <= 256; ++i) panCurve[i] = 0.0f;

    for (int32_t i = 0; i < 4096; ++i) {
        const float v = static_cast<float>(std::pow(2.0f, 16.0f - static_cast<float>(i) / 256.0f) / 65536.0f);
        expTable[2 * i] = v;
        expTable[2 * i + 1] = -v;
    }
    for (int32_t i = 8192; i < kExpTableSize; ++i) expTable[i] = 0.0f;

    for (int32_t i = 0; i < 8192; ++i)
        pitchExpTable[i] = static_cast<int32_t>(std::trunc(std::pow(2.0, 30.0 + i / 8192.0) + 0.5));
    for (int32_t k = 0; k < 128; ++k) {
        pitchShiftTable[k] = k < 30 ? 30 - k : 0;
        rateShiftTable[k] = k < 30 ? 30 - k : 1;
        noteLogTable[k] = static_cast<int32_t>(std::trunc(k * 8192.0 / 12.0 + 0.5));
    }
    for (int32_t i = 0; i < 256; ++i) tlTable[i] = i < 128 ? 64 * i : 8192;

    for (int32_t i = 0; i < kEnvTableSize; ++i) {
        const double x = i / 4096.0;
        linToLogTable[i] =
            x > 1.0 / 65536.0 ? 2 * static_cast<int32_t>(std::trunc(0.5 - 256.0 * std::log2(x))) : 8192;
        logRampTable[i] = 2 * i;
    }

    for (int32_t i = 0; i < 128; ++i) keyFollowTable[i] = 0;
    for (int32_t k = 1; k <= 128; ++k)
        keyFollowTable[127 + k] = static_cast<int32_t>(std::trunc(k / 48.0 * 8192.0));

    for (int32_t i = 0; i <= 128; ++i) levelLimitTable[i] = std::min(i, 104) * (1 << 23);

    for (int32_t k = 0; k < 128; ++k) {
        int32_t pitch;
        if (k < 32)
            pitch = 256 * k;
        else if (k < 64)
            pitch = 8192 - 256 * (k - 32);
        else if (k < 96)
            pitch = -256 * (k - 64);
        else
            pitch = 256 * (k - 96) - 8192;
        const int32_t amplitude = k < 64 ? 128 * k : 8192 - 128 * (k - 64);
        lfoTable[2 * k] = pitch;
        lfoTable[2 * k + 1] = amplitude;
    }
}

}  // namespace velt::corvane::synth
