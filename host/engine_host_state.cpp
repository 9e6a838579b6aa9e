// Saving and restoring the engine holder's state chunk.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "host/engine_edit_builder.h"
#include "host/engine_host.h"
#include "host/sample_search.h"
#include "synth/pcm/sample_import.h"

namespace velt::corvane::host {

using synth::EditKind;
using synth::EngineEdit;

namespace {

state::PartRecord recordOf(const PartState& p) {
    state::PartRecord r;
    r.outputBus = p.outputBus;
    r.defaultMode = p.defaultMode;
    r.mode = p.mode;
    r.program = p.program;
    r.pitchBendRange = p.pitchBendRange;
    r.pitchBend = p.pitchBend;
    r.modulation = p.controllers[1];
    r.volume = p.controllers[7];
    r.pan = p.controllers[10];
    r.expression = p.controllers[11];
    return r;
}

int32_t toInt32(uint32_t v) {
    return v > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(v);
}

// A chunk from another build or a damaged file must not put values into the records
// that the engine cannot index with.
EngineEdit partEdit(int32_t part, const state::PartRecord& r, int32_t maxMode) {
    EngineEdit e{};
    e.kind = EditKind::PartRecord;
    e.index = part;
    synth::PartFields& f = e.partFields;
    f.outputBus = std::min(r.outputBus, kOutputBusCount - 1);
    f.defaultMode = std::min(r.defaultMode, maxMode);
    f.mode = std::min(r.mode, maxMode);
    f.program = r.program & 127;
    f.pitchBendRange = std::min(r.pitchBendRange, 127);
    f.pitchBend = std::min(r.pitchBend, 16383);
    f.modulation = std::min(r.modulation, 127);
    f.volume = std::min(r.volume, 127);
    f.pan = std::min(r.pan, 127);
    f.expression = std::min(r.expression, 127);
    return e;
}

}  // namespace

state::StateChunk EngineHost::captureState() {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    const EngineView& v = handoff_->viewForSave(voiceCount_);
    state::StateChunk c;
    c.acceptSysEx = v.acceptSysEx;
    c.nrpnEnabled = v.nrpnEnabled;
    c.masterVolume = v.masterVolume;
    c.masterTune = v.masterTune;
    c.voiceCount = voiceCount_;
    for (int32_t i = 0; i < kPartCount; ++i) c.parts[i] = recordOf(v.parts[i]);
    c.tones = v.tones;
    c.samplers = v.samplers;
    for (int32_t i = 0; i < kSampleSlotCount; ++i) {
        state::SlotEntry& e = c.slots[i];
        if (unresolved_[i]) {
            e = *unresolved_[i];
            continue;
        }
        const SlotView& s = v.slots[i];
        e.present = !samplePaths_[i].empty() && s.frameCount > 0;
        if (!e.present) continue;
        e.path = samplePaths_[i];
        e.encoding = sampleEncodings_[i];
        e.sampleRate = s.sampleRate;
        e.Pitch = s.Pitch;
        e.start = static_cast<uint32_t>(s.PlayBackStartPoint);
        e.end = static_cast<uint32_t>(s.PlayBackEndPoint);
        e.loopStart = static_cast<uint32_t>(s.loopStartPoint());
        e.loopEnd = static_cast<uint32_t>(s.loopLength > 0 ? s.LoopEndPoint : 0);
    }
    return c;
}

bool EngineHost::restoreState(state::ByteSource& source) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    stopAllVoices();
    // Records the read does not reach keep what they hold.
    const EngineView& v = view();
    state::StateChunk c;
    for (int32_t i = 0; i < kPartCount; ++i) c.parts[i] = recordOf(v.parts[i]);
    c.tones = v.tones;
    c.samplers = v.samplers;
    const int32_t maxMode = v.maxPartMode;
    const state::ReadProgress p = state::readStateChunk(source, c);
    if (!p.versionAccepted) return false;

    submit(edit(EditKind::AcceptSysEx, 0, c.acceptSysEx ? 1 : 0));
    submit(edit(EditKind::NrpnEnabled, 0, c.nrpnEnabled ? 1 : 0));
    if (p.volumeRead) submit(edit(EditKind::MasterVolume, 0, 0, 0, c.masterVolume));
    if (p.tuneRead) submit(edit(EditKind::MasterTune, 0, 0, 0, c.masterTune));
    if (p.voiceCountRead) changePolyphony(c.voiceCount);
    for (int32_t i = 0; i < p.partsReached; ++i) submit(partEdit(i, c.parts[i], maxMode));
    for (int32_t i = 0; i < p.tonesReached; ++i) {
        EngineEdit e{};
        e.kind = EditKind::TonePreset;
        e.index = i;
        e.tone = c.tones[i];
        e.tone.presetName[kPresetNameLength] = '\0';
        submit(e);
    }
    for (int32_t i = 0; i < p.samplersReached; ++i) {
        EngineEdit e{};
        e.kind = EditKind::SamplerPreset;
        e.index = i;
        e.sampler = c.samplers[i];
        e.sampler.presetName[kPresetNameLength] = '\0';
        submit(e);
    }
    restoreSlots(c, p);
    return p.complete;
}

void EngineHost::restoreSlots(const state::StateChunk& c, const state::ReadProgress& p) {
    std::array<std::string, kSampleSlotCount> recorded;
    for (int32_t i = 0; i < kSampleSlotCount; ++i)
        if (p.slots[i] >= state::SlotProgress::Path) recorded[i] = c.slots[i].path;
    const std::array<std::string, kSampleSlotCount> found =
        resolveSamplePaths(recorded, splitSearchPath(std::getenv("CORVANE_SAMPLE_PATH")));

    for (int32_t i = 0; i < kSampleSlotCount; ++i) {
        const state::SlotProgress progress = p.slots[i];
        if (progress < state::SlotProgress::Path) continue;
        const state::SlotEntry& entry = c.slots[i];
        if (found[i].empty()) {
            // Found nowhere: the slot stays empty, and the entry is kept as it was saved so
            // that saving on this machine loses nothing.
            if (!recorded[i].empty()) {
                samplePaths_[i] = entry.path;
                sampleEncodings_[i] = static_cast<uint8_t>(entry.encoding);
                PreparedSample empty;
                empty.result = SampleImportResult::NoSamples;
                installSlot(i, empty);
                unresolved_[i].reset(new (std::nothrow) state::SlotEntry(entry));
                if (unresolved_[i] && progress != state::SlotProgress::Complete) {
                    // A cut entry keeps only the numbers that were read.
                    state::SlotEntry& u = *unresolved_[i];
                    if (progress < state::SlotProgress::SampleRate) u.sampleRate = 0.0f;
                    if (progress < state::SlotProgress::Pitch) u.Pitch = 0.0f;
                    if (progress < state::SlotProgress::Points) u.start = u.end = 0;
                    u.loopStart = u.loopEnd = 0;
                }
            }
            continue;
        }
        importSample(i, found[i].c_str(), entry.encoding);
        if (progress < state::SlotProgress::SampleRate) continue;
        EngineEdit e{};
        e.kind = EditKind::SlotRestore;
        e.index = i;
        e.restore.stage = static_cast<int32_t>(progress) - static_cast<int32_t>(state::SlotProgress::Path);
        e.restore.sampleRate = entry.sampleRate;
        e.restore.Pitch = entry.Pitch;
        e.restore.start = toInt32(entry.start);
        e.restore.end = toInt32(entry.end);
        e.restore.loopStart = toInt32(entry.loopStart);
        e.restore.loopEnd = toInt32(entry.loopEnd);
        SampleData& shadow = slotShadow_[i];
        if (e.restore.stage >= 1) setSampleRateFields(shadow, e.restore.sampleRate);
        if (e.restore.stage >= 2) setSamplePitch(shadow, e.restore.Pitch);
        if (e.restore.stage >= 3) setPlaybackPoints(shadow, e.restore.start, e.restore.end);
        if (e.restore.stage >= 4) setLoopPoints(shadow, e.restore.loopStart, e.restore.loopEnd);
        submit(e);
    }
}

}  // namespace velt::corvane::host
