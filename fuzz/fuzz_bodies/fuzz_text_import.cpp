#include <memory>
#include <new>
#include <string>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "fuzz/fuzz_bodies/small_wav.h"
#include "presetfiles/preset_text_import.h"
#include "synth/pcm/sample_import.h"

namespace velt::corvane::fuzz {

int fuzzTextImport(const uint8_t* data, size_t size) {
    using presetfiles::kRecordCount;
    if (size < 1) return 0;
    const int32_t kind = data[0] % 3;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::unique_ptr<TonePreset[]> tones(new (std::nothrow) TonePreset[kRecordCount]);
    std::unique_ptr<SamplerPreset[]> samplers(new (std::nothrow) SamplerPreset[kRecordCount]);
    std::unique_ptr<SampleData[]> slots(new (std::nothrow) SampleData[kRecordCount]);
    if (!tones || !samplers || !slots) return 0;
    for (int32_t i = 0; i < kRecordCount; ++i) {
        resetTonePreset(tones[i]);
        resetSamplerPreset(samplers[i]);
    }
    // A few slots hold samples, so that point and loop records have frames to fit.
    const std::vector<uint8_t> wav = smallWav(1, 16, 100);
    for (int32_t i = 0; i < 4; ++i) {
        PreparedSample p = prepareSampleFromWav(wav.data(), wav.size(), 0);
        installPreparedSample(slots[i], p);
    }
    presetfiles::SoundTables tables;
    tables.tones = tones.get();
    tables.samplers = samplers.get();
    tables.slots = slots.get();
    presetfiles::importTextFromString(text, kind, tables);
    return 0;
}

}  // namespace velt::corvane::fuzz
