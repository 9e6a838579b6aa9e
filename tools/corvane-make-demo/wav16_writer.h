// 16-bit PCM mono WAV files, the one format the demo set ships.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::tools {

/// The bytes of a RIFF/WAVE file: "fmt " (format 1, one channel, 16 bits) and "data",
/// samples rounded to the nearest step and limited to -32768..32767.
std::vector<uint8_t> encodeWav16Mono(const std::vector<float>& samples, uint32_t sampleRate);

/// Writes bytes to path, replacing the file; false when it cannot be written completely.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace velt::corvane::tools
