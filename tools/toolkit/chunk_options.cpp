#include "tools/toolkit/chunk_options.h"

#include <stdlib.h>

#include <array>
#include <climits>
#include <memory>
#include <new>

#include "synth/pcm/sample_import.h"
#include "tools/toolkit/sound_imports.h"

namespace velt::corvane::tools {

namespace {

int32_t toInt32(uint32_t v) {
    return v > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(v);
}

std::string absolutePath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string out(resolved);
    ::free(resolved);
    return out;
}

/// Loads a saved entry into slot the way a restore does; false when its file does not load.
bool loadSavedEntry(const state::SlotEntry& entry, SampleData& slot) {
    PreparedSample prepared = prepareSampleFromFile(entry.path.c_str(), entry.encoding);
    if (prepared.result != SampleImportResult::Imported && prepared.result != SampleImportResult::NoSamples)
        return false;
    std::unique_ptr<uint32_t[]> previous = installPreparedSample(slot, prepared);
    setSampleRateFields(slot, entry.sampleRate);
    setSamplePitch(slot, entry.Pitch);
    setPlaybackPoints(slot, toInt32(entry.start), toInt32(entry.end));
    setLoopPoints(slot, toInt32(entry.loopStart), toInt32(entry.loopEnd));
    return true;
}

/// The slot's playback fields as the chunk carries them.
void captureSlot(const SampleData& slot, state::SlotEntry& entry) {
    entry.present = true;
    entry.sampleRate = slot.sampleRate;
    entry.Pitch = slot.Pitch;
    entry.start = static_cast<uint32_t>(slot.PlayBackStartPoint);
    entry.end = static_cast<uint32_t>(slot.PlayBackEndPoint);
    entry.loopStart = static_cast<uint32_t>(slot.loopStartPoint());
    entry.loopEnd = static_cast<uint32_t>(slot.loopLength > 0 ? slot.LoopEndPoint : 0);
}

}  // namespace

bool applyOptionsToChunk(const RenderOptions& options, state::StateChunk& chunk, std::ostream& err,
                         std::string& error) {
    if (options.acceptSysEx) chunk.acceptSysEx = true;
    if (options.polyphony > 0) chunk.voiceCount = options.polyphony;
    for (const PartRoute& route : options.routes)
        if (route.part >= 0 && route.part < kPartCount) chunk.parts[route.part].outputBus = route.bus;

    std::unique_ptr<SampleData[]> slots(new (std::nothrow) SampleData[kSampleSlotCount]);
    if (!slots) {
        error = "out of memory";
        return false;
    }
    std::array<bool, kSampleSlotCount> fromWav{};
    for (const WavImportRequest& request : options.wavImports) fromWav[request.slot] = true;
    std::array<bool, kSampleSlotCount> touched = fromWav;
    // The sample-data text checks points against frame counts, so saved slots it may
    // change need their files; a slot whose file does not load keeps its entry as saved.
    if (!options.samplesPath.empty()) {
        for (int32_t i = 0; i < kSampleSlotCount; ++i)
            if (!fromWav[i] && chunk.slots[i].present) touched[i] = loadSavedEntry(chunk.slots[i], slots[i]);
    }
    if (!importWavFiles(options, slots.get(), err, error)) return false;
    for (const WavImportRequest& request : options.wavImports) {
        state::SlotEntry& entry = chunk.slots[request.slot];
        entry.path = absolutePath(request.path);
        entry.encoding = request.encoding;
    }
    const ImportTables tables{chunk.tones.data(), chunk.samplers.data(), slots.get()};
    if (!importTextFiles(options, tables, error)) return false;
    for (int32_t i = 0; i < kSampleSlotCount; ++i)
        if (touched[i]) captureSlot(slots[i], chunk.slots[i]);
    return true;
}

}  // namespace velt::corvane::tools
