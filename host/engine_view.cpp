#include "host/engine_view.h"

#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::host {

void captureView(const synth::SynthesizerPCM& synth, EngineView& v) noexcept {
    v.masterVolume = synth.getMasterVolume();
    v.masterTune = synth.getMasterTune();
    v.sampleRate = synth.getSampleRate();
    v.acceptSysEx = synth.acceptsSysEx();
    v.nrpnEnabled = synth.isNrpnEnabled();
    v.voiceCount = synth.getVoiceCount();
    v.activeVoices = synth.countActiveVoices();
    v.maxPartMode = synth.maxPartMode();
    for (int32_t i = 0; i < kPartCount; ++i) v.parts[i] = synth.part(i);
    const TonePreset* tones = synth.tonePresets();
    const SamplerPreset* samplers = synth.samplerPresets();
    const SampleData* slots = synth.sampleData();
    for (int32_t i = 0; i < kPresetCount; ++i) {
        v.tones[i] = tones[i];
        v.samplers[i] = samplers[i];
    }
    for (int32_t i = 0; i < kSampleSlotCount; ++i) {
        const SampleData& s = slots[i];
        SlotView& o = v.slots[i];
        o.hasData = s.hasData;
        o.sampleRate = s.sampleRate;
        o.Pitch = s.Pitch;
        o.frameCount = s.frameCount;
        o.channels = s.channels;
        o.rateLog = s.rateLog;
        o.pitchLog = s.pitchLog;
        o.pitchOffset = s.pitchOffset;
        o.PlayBackStartPoint = s.PlayBackStartPoint;
        o.PlayBackEndPoint = s.PlayBackEndPoint;
        o.LoopEndPoint = s.LoopEndPoint;
        o.loopLength = s.loopLength;
        o.releaseLoopLength = s.releaseLoopLength;
    }
}

}  // namespace velt::corvane::host
