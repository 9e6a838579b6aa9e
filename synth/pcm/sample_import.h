// Preparation of a sample-data slot from a WAV file, split so that the work that
// reads, allocates and converts runs before the slot is touched, and the install
// itself allocates and frees nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "synth/pcm/sound_records.h"

namespace velt::corvane {

/// Import encodings recorded per slot.
constexpr int32_t kSampleEncodingPcm = 0;
constexpr int32_t kSampleEncodingDpcm = 1;
constexpr int32_t kSampleEncodingAdpcm = 2;

enum class SampleImportResult {
    Imported,         ///< codes made; record the path
    NoSamples,        ///< accepted, but the depth cannot be converted; record the path, install an empty slot
    Rejected,         ///< not a usable WAV file (or out of memory); nothing changes
    Unreadable,       ///< the file cannot be opened or read; nothing changes
    UnknownEncoding,  ///< accepted file, encoding not 0..2; record path and code only, do not install
};

/// Built on the main thread; owns the new code array until it is installed.
struct PreparedSample {
    SampleImportResult result = SampleImportResult::Rejected;
    std::unique_ptr<uint32_t[]> codes;  ///< channels * frameCount codes, null when no samples
    int32_t frameCount = 0;
    int32_t channels = 0;
    float sampleRate = 0.0f;  ///< Hz, set for Imported and NoSamples
};

/// Converts a WAV file held in memory with encoding 0 (PCM), 1 (DPCM) or 2 (ADPCM).
/// Main thread: allocates.
PreparedSample prepareSampleFromWav(const uint8_t* bytes, size_t size, int32_t encoding);

/// Reads the file at path and converts it as prepareSampleFromWav does; Unreadable when
/// it cannot be opened or read. Main thread: reads the file and allocates.
PreparedSample prepareSampleFromFile(const char* path, int32_t encoding);

/// True when the file at path would be imported (it reads as a WAV file the import takes,
/// whatever its sample depth), without converting anything. Main thread: reads the file.
bool isImportableWavFile(const char* path);

/// For an Imported or NoSamples result: empties the slot and fills it from prepared
/// (codes moved in, points at 0..frameCount, rate fields from sampleRate). Any other
/// result leaves the slot alone. Allocates and frees nothing: returns the slot's
/// previous array (may be null) for the caller to free on a thread of its choice.
std::unique_ptr<uint32_t[]> installPreparedSample(SampleData& slot, PreparedSample& prepared);

}  // namespace velt::corvane
