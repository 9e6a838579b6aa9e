// Conversions of a parsed WAV file's samples: to log-amplitude codes, and the
// reductions to 8 and 16 bits that feed the codecs.
#pragma once

#include <cstdint>

#include "synth/pcm/wav_reader.h"

namespace velt::corvane {

/// Writes channels * frameCount log-amplitude codes; false (nothing written) unless
/// bitsPerSample is 8, 16, 24 or 32 and info is accepted.
bool pcmToLog(const WavInfo& info, uint32_t* codes);

/// Writes channels * frameCount signed 8-bit samples (the top byte of wider samples);
/// false (nothing written) for a depth other than 8, 16, 24 or 32.
bool reduceTo8Bit(const WavInfo& info, int8_t* out);

/// Writes channels * frameCount signed 16-bit samples (8-bit ones scaled by 256, wider
/// ones cut to their top two bytes); false (nothing written) for other depths.
bool reduceTo16Bit(const WavInfo& info, int16_t* out);

}  // namespace velt::corvane
