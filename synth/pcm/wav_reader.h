// Parsing of RIFF/WAVE files held in memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velt::corvane {

/// What a WAV file holds; every field 0 or null when the file was rejected.
struct WavInfo {
    uint16_t formatTag = 0;  ///< 1 = integer PCM
    uint16_t channels = 0;
    uint32_t sampleRate = 0;  ///< Hz
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint32_t frameCount = 0;        ///< dataSize / (bitsPerSample / 8) / channels
    uint32_t dataSize = 0;          ///< bytes in the "data" chunk
    const uint8_t* file = nullptr;  ///< the parsed bytes (not owned)
    const uint8_t* data = nullptr;  ///< first sample byte, null when no usable "data" chunk
};

/// Parses size bytes of a WAV file. Never reads outside the buffer; the result points
/// into bytes. A malformed or truncated file gives an all-zero WavInfo.
WavInfo parseWav(const uint8_t* bytes, size_t size);

/// True for a parse result that can be imported: a data chunk lying wholly inside the
/// file, 1 or 2 channels, integer PCM (format tag 1), at least 8 bits per sample.
bool isAcceptedWav(const WavInfo& info);

}  // namespace velt::corvane
