// The two lossy 4-bit sample codecs offered on import: DPCM on 8-bit samples and
// ADPCM (the ADPCM-B scheme) on 16-bit samples. Two codes per byte, the earlier
// sample in the low nibble; for stereo the low nibble is the left channel and the
// high nibble the right, each with its own predictor.
#pragma once

#include <cstdint>

namespace velt::corvane {

/// Encodes n interleaved samples into outBytes bytes, stopping when either runs out
/// (an odd last sample is left out). Does nothing unless channels is 1 or 2.
void encodeDpcm(const int8_t* samples, int32_t n, int32_t channels, uint8_t* out, int32_t outBytes);

/// Decodes up to n samples from inBytes bytes; samples past the input keep their values.
/// Does nothing unless channels is 1 or 2.
void decodeDpcm(const uint8_t* in, int32_t inBytes, int32_t channels, int8_t* samples, int32_t n);

/// Encodes n interleaved samples into outBytes bytes, stopping when either runs out
/// (an odd last sample is left out). Does nothing unless channels is 1 or 2.
void encodeAdpcm(const int16_t* samples, int32_t n, int32_t channels, uint8_t* out, int32_t outBytes);

/// Decodes up to n samples from inBytes bytes; samples past the input keep their values.
/// Does nothing unless channels is 1 or 2.
void decodeAdpcm(const uint8_t* in, int32_t inBytes, int32_t channels, int16_t* samples, int32_t n);

}  // namespace velt::corvane
