#include "synth/pcm/engine_edit.h"

#include <cstring>

#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::synth {

void setSlotFields(SampleData& s, const SlotFields& f) {
    s.sampleRate = f.sampleRate;
    s.Pitch = f.Pitch;
    s.rateLog = f.rateLog;
    s.pitchLog = f.pitchLog;
    s.pitchOffset = f.pitchOffset;
    s.PlayBackStartPoint = f.PlayBackStartPoint;
    s.PlayBackEndPoint = f.PlayBackEndPoint;
    s.LoopEndPoint = f.LoopEndPoint;
    s.loopLength = f.loopLength;
    s.releaseLoopLength = f.releaseLoopLength;
}

namespace {

void dispose(DisposalRing& disposals, const EngineDisposal& d) {
    if (!d.codes && !d.voices && !d.table) return;
    // The ring is sized so that this cannot fail; if it ever did, leaking beats
    // freeing on the audio thread.
    (void)disposals.push(d);
}

}  // namespace

SlotFields slotFieldsOf(const SampleData& s) {
    return SlotFields{s.sampleRate,       s.Pitch,        s.rateLog,
                      s.pitchLog,         s.pitchOffset,  s.PlayBackStartPoint,
                      s.PlayBackEndPoint, s.LoopEndPoint, s.loopLength,
                      s.releaseLoopLength};
}

EngineEdit voicePoolEdit(SynthesizerPCM::VoicePool pool) {
    EngineEdit e{};
    e.kind = EditKind::VoicePool;
    e.pool.count = pool.count;
    e.pool.voices = pool.voices.release();
    e.pool.table = pool.table.release();
    return e;
}

void setToneField(TonePreset& t, int32_t field, int32_t v) {
    switch (field) {
        case kToneStrc: t.strc = v; break;
        case kToneLfoFreq: t.lfoFreq = v; break;
        case kToneLms: t.lms = v; break;
        case kToneTune: t.tune = v; break;
        case kToneWave: t.wave = v; break;
        case kToneTl: t.tl = v; break;
        case kToneAr: t.ar = v; break;
        case kToneDr: t.dr = v; break;
        case kToneSl: t.sl = v; break;
        case kToneRr: t.rr = v; break;
        case kToneKf: t.kf = v; break;
        case kToneKfStart: t.kfStart = v; break;
        default: break;
    }
}

void setSamplerField(SamplerPreset& s, int32_t field, int32_t v) {
    switch (field) {
        case kSamplerSmplNum: s.smplNum = v; break;
        case kSamplerPan: s.pan = v; break;
        case kSamplerOctv: s.octv = v; break;
        case kSamplerTune: s.tune = v; break;
        case kSamplerTl: s.tl = v; break;
        case kSamplerAr: s.ar = v; break;
        case kSamplerDr: s.dr = v; break;
        case kSamplerSl: s.sl = v; break;
        case kSamplerRr: s.rr = v; break;
        default: break;
    }
}

int32_t toneField(const TonePreset& t, int32_t field) {
    switch (field) {
        case kToneStrc: return t.strc;
        case kToneLfoFreq: return t.lfoFreq;
        case kToneLms: return t.lms;
        case kToneTune: return t.tune;
        case kToneWave: return t.wave;
        case kToneTl: return t.tl;
        case kToneAr: return t.ar;
        case kToneDr: return t.dr;
        case kToneSl: return t.sl;
        case kToneRr: return t.rr;
        case kToneKf: return t.kf;
        case kToneKfStart: return t.kfStart;
        default: return 0;
    }
}

int32_t samplerField(const SamplerPreset& s, int32_t field) {
    switch (field) {
        case kSamplerSmplNum: return s.smplNum;
        case kSamplerPan: return s.pan;
        case kSamplerOctv: return s.octv;
        case kSamplerTune: return s.tune;
        case kSamplerTl: return s.tl;
        case kSamplerAr: return s.ar;
        case kSamplerDr: return s.dr;
        case kSamplerSl: return s.sl;
        case kSamplerRr: return s.rr;
        default: return 0;
    }
}

void applyEngineEdit(SynthesizerPCM& synth, EngineEdit& e, DisposalRing& disposals) noexcept {
    const int32_t part = e.index;
    switch (e.kind) {
        case EditKind::MasterVolume: synth.setMasterVolume(e.value); break;
        case EditKind::MasterTune: synth.setMasterTune(e.value); break;
        case EditKind::AcceptSysEx: synth.setAcceptSysEx(e.a != 0); break;
        case EditKind::NrpnEnabled: synth.setNrpnEnabled(e.a != 0); break;
        case EditKind::KillVoices: synth.killVoices(part); break;
        case EditKind::DampVoices: synth.dampVoices(part); break;
        case EditKind::ResetAllParts:
            synth.killVoices(-1);
            synth.resetAllParts(e.a != 0);
            break;
        case EditKind::ResetPart:
            synth.killVoices(-1);
            synth.part(part).resetPart();
            synth.setPartMode(part, kModeInstrument);
            break;
        case EditKind::PartOutput: synth.setPartOutput(part, e.a); break;
        case EditKind::PartMode: synth.setPartMode(part, e.a); break;
        case EditKind::ProgramChange: synth.sendProgramChange(part, e.a); break;
        case EditKind::PartBendRange: synth.setPartBendRange(part, e.a); break;
        case EditKind::PitchBend: synth.sendPitchBend14(part, e.a); break;
        case EditKind::ControlChange: synth.sendControlChange(part, e.a, e.b); break;
        case EditKind::PartRecord: {
            PartState& p = synth.part(part);
            const PartFields& f = e.partFields;
            p.outputBus = f.outputBus;
            p.defaultMode = f.defaultMode;
            p.mode = f.mode;
            p.program = f.program;
            p.pitchBendRange = f.pitchBendRange;
            p.pitchBend = f.pitchBend;
            p.controllers[1] = f.modulation;
            p.controllers[7] = f.volume;
            p.controllers[10] = f.pan;
            p.controllers[11] = f.expression;
            break;
        }
        case EditKind::TonePreset: synth.tonePreset(e.index) = e.tone; break;
        case EditKind::SamplerPreset: synth.samplerPreset(e.index) = e.sampler; break;
        case EditKind::SlotParameters: setSlotFields(synth.sampleSlot(e.index), e.slotFields); break;
        case EditKind::SlotSamples: {
            // No voice may keep reading the array that leaves.
            synth.killVoices(-1);
            SampleData& s = synth.sampleSlot(e.index);
            EngineDisposal old;
            if (s.hasData) old.codes = s.samples;
            s.samples = e.samples.codes;
            s.hasData = e.samples.codes != nullptr;
            s.frameCount = e.samples.frameCount;
            s.channels = e.samples.channels;
            setSlotFields(s, e.samples.fields);
            e.samples.codes = nullptr;
            dispose(disposals, old);
            break;
        }
        case EditKind::SlotRestore: {
            SampleData& s = synth.sampleSlot(e.index);
            const SlotRestoreFields& r = e.restore;
            if (r.stage >= 1) setSampleRateFields(s, r.sampleRate);
            if (r.stage >= 2) setSamplePitch(s, r.Pitch);
            if (r.stage >= 3) setPlaybackPoints(s, r.start, r.end);
            if (r.stage >= 4) setLoopPoints(s, r.loopStart, r.loopEnd);
            break;
        }
        case EditKind::SynthSuspended: break;
        case EditKind::ToneField: setToneField(synth.tonePreset(e.index), e.a, e.b); break;
        case EditKind::SamplerField: setSamplerField(synth.samplerPreset(e.index), e.a, e.b); break;
        case EditKind::ToneName:
            std::memcpy(synth.tonePreset(e.index).presetName, e.tone.presetName, kPresetNameLength);
            break;
        case EditKind::SamplerName:
            std::memcpy(synth.samplerPreset(e.index).presetName, e.sampler.presetName, kPresetNameLength);
            break;
        case EditKind::VoicePool: {
            SynthesizerPCM::VoicePool pool;
            pool.voices.reset(e.pool.voices);
            pool.table.reset(e.pool.table);
            pool.count = e.pool.count;
            e.pool.voices = nullptr;
            e.pool.table = nullptr;
            SynthesizerPCM::VoicePool old = synth.installVoicePool(std::move(pool));
            dispose(disposals, EngineDisposal{nullptr, old.voices.release(), old.table.release()});
            break;
        }
    }
}

void freeDisposal(const EngineDisposal& d) {
    delete[] d.codes;
    delete[] d.voices;
    delete[] d.table;
}

void freeUnappliedEdit(const EngineEdit& e) {
    if (e.kind == EditKind::SlotSamples) delete[] e.samples.codes;
    if (e.kind == EditKind::VoicePool) {
        delete[] e.pool.voices;
        delete[] e.pool.table;
    }
}

}  // namespace velt::corvane::synth
