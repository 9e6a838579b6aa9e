#include "host/engine_record_twin.h"

#include "synth/core/engine_limits.h"

namespace velt::corvane::host {

using synth::EditKind;
using synth::EngineEdit;

namespace {

// Few voices: the twin never sounds, its voices only hear the controllers.
constexpr int32_t kTwinVoices = 4;

}  // namespace

EngineRecordTwin::EngineRecordTwin() : SynthesizerPCM(kDefaultMasterTune, kDefaultMasterVolume) {
    setVoiceCount(kTwinVoices);
}

void EngineRecordTwin::load(const EngineView& v) {
    masterVolume_ = v.masterVolume;
    masterTune_ = v.masterTune;
    acceptSysEx_ = v.acceptSysEx;
    nrpnEnabled_ = v.nrpnEnabled;
    for (int32_t i = 0; i < kPartCount; ++i) parts_[i] = v.parts[i];
    for (int32_t i = 0; i < kPresetCount; ++i) {
        tonePreset(i) = v.tones[i];
        samplerPreset(i) = v.samplers[i];
    }
    for (int32_t i = 0; i < kSampleSlotCount; ++i) {
        const SlotView& from = v.slots[i];
        SampleData& s = sampleSlot(i);
        s.samples = nullptr;
        s.hasData = from.hasData;
        s.frameCount = from.frameCount;
        s.channels = from.channels;
        s.sampleRate = from.sampleRate;
        s.Pitch = from.Pitch;
        s.rateLog = from.rateLog;
        s.pitchLog = from.pitchLog;
        s.pitchOffset = from.pitchOffset;
        s.PlayBackStartPoint = from.PlayBackStartPoint;
        s.PlayBackEndPoint = from.PlayBackEndPoint;
        s.LoopEndPoint = from.LoopEndPoint;
        s.loopLength = from.loopLength;
        s.releaseLoopLength = from.releaseLoopLength;
    }
}

EngineEdit EngineRecordTwin::recordedCopy(const EngineEdit& edit) {
    EngineEdit e = edit;
    if (e.kind == EditKind::SlotSamples) {
        // Only whether an array comes matters to the records.
        e.b = e.samples.codes != nullptr ? 1 : 0;
        e.samples.codes = nullptr;
    } else if (e.kind == EditKind::VoicePool) {
        e.pool.voices = nullptr;
        e.pool.table = nullptr;
    }
    return e;
}

bool EngineRecordTwin::changesRecords(const EngineEdit& edit) {
    switch (edit.kind) {
        case EditKind::KillVoices:
        case EditKind::DampVoices:
        case EditKind::SynthSuspended: return false;
        default: return true;
    }
}

void EngineRecordTwin::play(const EngineEdit& edit) {
    // The holder counts voices itself; the twin keeps its few.
    if (!changesRecords(edit) || edit.kind == EditKind::VoicePool) return;
    if (edit.kind == EditKind::SlotSamples) {
        SampleData& s = sampleSlot(edit.index);
        s.samples = nullptr;
        s.hasData = edit.b != 0;
        s.frameCount = edit.samples.frameCount;
        s.channels = edit.samples.channels;
        synth::setSlotFields(s, edit.samples.fields);
        return;
    }
    EngineEdit e = edit;
    synth::applyEngineEdit(*this, e, disposals_);
}

}  // namespace velt::corvane::host
