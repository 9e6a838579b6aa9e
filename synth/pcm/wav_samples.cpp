#include "synth/pcm/wav_samples.h"

#include <cstddef>

#include "synth/pcm/sound_records.h"

namespace velt::corvane {
namespace {

bool supportedDepth(const WavInfo& info) {
    const uint16_t bits = info.bitsPerSample;
    return isAcceptedWav(info) && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

size_t sampleCount(const WavInfo& info) {
    return static_cast<size_t>(info.frameCount) * info.channels;
}

// The sample's top byte taken as signed; 8-bit files are unsigned around 128.
int32_t topByte(const uint8_t* p, uint16_t bits) {
    if (bits == 8) return static_cast<int32_t>(p[0]) - 128;
    return static_cast<int8_t>(p[bits / 8 - 1]);
}

// The sample's top two bytes as a signed 16-bit value.
int32_t topWord(const uint8_t* p, uint16_t bits) {
    if (bits == 8) return (static_cast<int32_t>(p[0]) - 128) * 256;
    const size_t hi = bits / 8 - 1;
    return static_cast<int16_t>(static_cast<uint16_t>(p[hi - 1] | (p[hi] << 8)));
}

// The whole sample as a signed integer sign-extended from its width.
int64_t fullSample(const uint8_t* p, uint16_t bits) {
    if (bits == 8) return static_cast<int64_t>(p[0]) - 128;
    const size_t bytes = bits / 8;
    uint64_t u = 0;
    for (size_t i = 0; i < bytes; ++i) u |= static_cast<uint64_t>(p[i]) << (8 * i);
    const uint64_t signBit = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>(u ^ signBit) - static_cast<int64_t>(signBit);
}

}  // namespace

bool pcmToLog(const WavInfo& info, uint32_t* codes) {
    if (codes == nullptr || !supportedDepth(info)) return false;
    const uint16_t bits = info.bitsPerSample;
    const size_t stride = bits / 8;
    const double scale = 1.0 / static_cast<double>(uint64_t{1} << (bits - 1));
    const size_t n = sampleCount(info);
    for (size_t i = 0; i < n; ++i) {
        codes[i] = linearToLogCode(static_cast<double>(fullSample(info.data + i * stride, bits)) * scale);
    }
    return true;
}

bool reduceTo8Bit(const WavInfo& info, int8_t* out) {
    if (out == nullptr || !supportedDepth(info)) return false;
    const uint16_t bits = info.bitsPerSample;
    const size_t stride = bits / 8;
    const size_t n = sampleCount(info);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<int8_t>(topByte(info.data + i * stride, bits));
    return true;
}

bool reduceTo16Bit(const WavInfo& info, int16_t* out) {
    if (out == nullptr || !supportedDepth(info)) return false;
    const uint16_t bits = info.bitsPerSample;
    const size_t stride = bits / 8;
    const size_t n = sampleCount(info);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<int16_t>(topWord(info.data + i * stride, bits));
    return true;
}

}  // namespace velt::corvane
