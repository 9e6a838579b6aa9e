#include "synth/pcm/sample_codecs.h"

#include <algorithm>
#include <cstdlib>

namespace velt::corvane {
namespace {

constexpr int32_t kDpcmDelta[16] = {0, 1, 2, 3, 4, 5, 6, 7, 0, -1, -2, -3, -4, -5, -6, -7};
constexpr int32_t kAdpcmDiff[16] = {1, 3, 5, 7, 9, 11, 13, 15, -1, -3, -5, -7, -9, -11, -13, -15};
constexpr int32_t kAdpcmStep[16] = {57, 57, 57, 57, 77, 102, 128, 153, 57, 57, 57, 57, 77, 102, 128, 153};
constexpr int32_t kAdpcmMinStep = 127;
constexpr int32_t kAdpcmMaxStep = 24576;

struct AdpcmState {
    int32_t predictor = 0;
    int32_t step = kAdpcmMinStep;
};

// Number of samples the codec touches: both the sample and the byte budget bound it.
int32_t codedCount(int32_t n, int32_t bytes) {
    if (n <= 0 || bytes <= 0) return 0;
    return static_cast<int32_t>(std::min<int64_t>(n, int64_t{bytes} * 2));
}

bool codableChannels(int32_t channels) {
    return channels == 1 || channels == 2;
}

// The high nibble of a stereo byte belongs to the right channel.
int32_t stateIndex(int32_t i, int32_t channels) {
    return (i & 1) != 0 && channels == 2 ? 1 : 0;
}

void putNibble(uint8_t* out, int32_t i, uint32_t code) {
    uint8_t& byte = out[i >> 1];
    byte = (i & 1) == 0 ? static_cast<uint8_t>(code) : static_cast<uint8_t>(byte | (code << 4));
}

uint32_t getNibble(const uint8_t* in, int32_t i) {
    return (in[i >> 1] >> ((i & 1) * 4)) & 0x0Fu;
}

uint32_t signedCode(int32_t magnitude, bool negative) {
    return static_cast<uint32_t>(std::min(magnitude, 7)) + (negative ? 8u : 0u);
}

// Arithmetic shift: a negative product rounds toward minus infinity.
int32_t adpcmDelta(int32_t step, uint32_t code) {
    return (step * kAdpcmDiff[code]) >> 3;
}

int32_t nextStep(int32_t step, uint32_t code) {
    return std::clamp((step * kAdpcmStep[code]) >> 6, kAdpcmMinStep, kAdpcmMaxStep);
}

}  // namespace

void encodeDpcm(const int8_t* samples, int32_t n, int32_t channels, uint8_t* out, int32_t outBytes) {
    if (samples == nullptr || out == nullptr || !codableChannels(channels)) return;
    int32_t predictor[2] = {0, 0};
    const int32_t count = codedCount(n, outBytes) & ~1;
    for (int32_t i = 0; i < count; ++i) {
        int32_t& p = predictor[stateIndex(i, channels)];
        const int32_t d = samples[i] - p;
        const uint32_t code = signedCode(std::abs(d), d < 0);
        p += kDpcmDelta[code];
        putNibble(out, i, code);
    }
}

void decodeDpcm(const uint8_t* in, int32_t inBytes, int32_t channels, int8_t* samples, int32_t n) {
    if (in == nullptr || samples == nullptr || !codableChannels(channels)) return;
    int32_t predictor[2] = {0, 0};
    const int32_t count = codedCount(n, inBytes);
    for (int32_t i = 0; i < count; ++i) {
        int32_t& p = predictor[stateIndex(i, channels)];
        p = std::clamp(p + kDpcmDelta[getNibble(in, i)], -128, 127);
        samples[i] = static_cast<int8_t>(p);
    }
}

void encodeAdpcm(const int16_t* samples, int32_t n, int32_t channels, uint8_t* out, int32_t outBytes) {
    if (samples == nullptr || out == nullptr || !codableChannels(channels)) return;
    AdpcmState state[2];
    const int32_t count = codedCount(n, outBytes) & ~1;
    for (int32_t i = 0; i < count; ++i) {
        AdpcmState& s = state[stateIndex(i, channels)];
        // The predictor is left unbounded here; it overshoots a sample by little more than step / 8.
        const int32_t d = samples[i] - s.predictor;
        const uint32_t code = signedCode((4 * std::abs(d)) / s.step, d < 0);
        s.predictor += adpcmDelta(s.step, code);
        s.step = nextStep(s.step, code);
        putNibble(out, i, code);
    }
}

void decodeAdpcm(const uint8_t* in, int32_t inBytes, int32_t channels, int16_t* samples, int32_t n) {
    if (in == nullptr || samples == nullptr || !codableChannels(channels)) return;
    AdpcmState state[2];
    const int32_t count = codedCount(n, inBytes);
    for (int32_t i = 0; i < count; ++i) {
        AdpcmState& s = state[stateIndex(i, channels)];
        const uint32_t code = getNibble(in, i);
        s.predictor = std::clamp(s.predictor + adpcmDelta(s.step, code), -32768, 32767);
        s.step = nextStep(s.step, code);
        samples[i] = static_cast<int16_t>(s.predictor);
    }
}

}  // namespace velt::corvane
