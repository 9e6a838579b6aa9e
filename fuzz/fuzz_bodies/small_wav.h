// Small WAV files built in memory, for the fuzzers' fixtures and their seeds.
#pragma once

#include <cstdint>
#include <vector>

namespace velt::corvane::fuzz {

struct WavShape {
    int32_t channels = 1;
    int32_t bits = 16;  ///< 8, 16, 24 or 32
    int32_t frames = 64;
    uint32_t sampleRate = 44100;
    uint16_t formatTag = 1;
    bool oddChunkBefore = false;  ///< an odd-sized chunk (with its pad byte) before "fmt "
    bool oddChunkAfter = false;   ///< ... and one between "fmt " and "data"
    bool trailingChunk = false;   ///< a chunk after "data"
    int32_t fmtExtra = 0;         ///< extra bytes in the "fmt " chunk (cbSize and more)
};

/// A RIFF/WAVE file holding a sine-like ramp of the given shape.
std::vector<uint8_t> makeWav(const WavShape& shape);

/// The common case: integer PCM at 44.1 kHz.
std::vector<uint8_t> smallWav(int32_t channels, int32_t bits, int32_t frames);

}  // namespace velt::corvane::fuzz
