#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "synth/pcm/sample_import.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::fuzz {

int fuzzWavImport(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // Values 3 and above stand for unknown encodings, which must be refused cleanly.
    const int32_t encoding = data[0] % 4;
    PreparedSample prepared = prepareSampleFromWav(data + 1, size - 1, encoding);
    SampleData slot;
    std::unique_ptr<uint32_t[]> previous = installPreparedSample(slot, prepared);
    // Touch every code so that a wrong frame count shows up as an overflow here.
    if (slot.hasData) {
        uint32_t sum = 0;
        const int64_t n = static_cast<int64_t>(slot.frameCount) * slot.channels;
        for (int64_t i = 0; i < n; ++i) sum += slot.samples[i];
        volatile uint32_t sink = sum;
        (void)sink;
    }
    return 0;
}

}  // namespace velt::corvane::fuzz
