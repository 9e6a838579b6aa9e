// Base of the audio processor: a Component with buses that also processes audio.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "public.sdk/source/vst/vstcomponent.h"

namespace Steinberg {
namespace Vst {

class AudioEffect : public Component, public IAudioProcessor, public IProcessContextRequirements {
public:
    AudioEffect();

    /// Appends an audio output bus with the given arrangement; null when out of memory. Call from initialize.
    AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    /// Appends an event input bus with the given channel count; null when out of memory.
    EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);

    /// Stores the arrangements of the first numIns/numOuts audio buses; kResultFalse when
    /// more are given than exist.
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                          SpeakerArrangement* outputs, int32 numOuts) override;
    /// The stored arrangement of any audio bus, active or not.
    tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) override;
    /// 32-bit samples only.
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
    uint32 PLUGIN_API getLatencySamples() override { return 0; }
    /// Keeps the setup; kResultFalse for a sample size canProcessSampleSize refuses.
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
    tresult PLUGIN_API setProcessing(TBool state) override;
    tresult PLUGIN_API process(ProcessData& data) override = 0;
    uint32 PLUGIN_API getTailSamples() override { return kNoTail; }

    /// The flags in processContextRequirements_.
    uint32 PLUGIN_API getProcessContextRequirements() override { return processContextRequirements_; }

    OBJ_METHODS(AudioEffect, Component)
    DEFINE_INTERFACES
    DEF_INTERFACE(IAudioProcessor)
    DEF_INTERFACE(IProcessContextRequirements)
    END_DEFINE_INTERFACES(Component)
    REFCOUNT_METHODS(Component)

protected:
    /// The setup last accepted by setupProcessing (44.1 kHz, 1024 frames, 32-bit, realtime before).
    ProcessSetup processSetup_;
    /// IProcessContextRequirements flags; none unless a subclass sets them.
    uint32 processContextRequirements_ = 0;
};

}  // namespace Vst
}  // namespace Steinberg
