#include "plugin/audio_effect.h"

#include <new>

namespace Steinberg {
namespace Vst {

AudioEffect::AudioEffect() {
    processSetup_.processMode = kRealtime;
    processSetup_.symbolicSampleSize = kSample32;
    processSetup_.maxSamplesPerBlock = 1024;
    processSetup_.sampleRate = 44100.0;
}

AudioBus* AudioEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                      int32 flags) {
    auto* bus = new (std::nothrow) AudioBus(name, busType, flags, arr);
    if (bus) audioOutputs.emplace_back(bus, false);
    return bus;
}

EventBus* AudioEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags) {
    auto* bus = new (std::nothrow) EventBus(name, busType, flags, channels);
    if (bus) eventInputs.emplace_back(bus, false);
    return bus;
}

tresult PLUGIN_API AudioEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts) {
    if (numIns < 0 || numOuts < 0) return kInvalidArgument;
    if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs)) return kInvalidArgument;
    if (numIns > static_cast<int32>(audioInputs.size()) || numOuts > static_cast<int32>(audioOutputs.size()))
        return kResultFalse;
    for (int32 i = 0; i < numIns; ++i) {
        if (auto* bus = FCast<AudioBus>(audioInputs[i].get())) bus->setArrangement(inputs[i]);
    }
    for (int32 i = 0; i < numOuts; ++i) {
        if (auto* bus = FCast<AudioBus>(audioOutputs[i].get())) bus->setArrangement(outputs[i]);
    }
    return kResultOk;
}

tresult PLUGIN_API AudioEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) {
    BusList* list = getBusList(kAudio, dir);
    if (!list || index < 0 || index >= static_cast<int32>(list->size())) return kInvalidArgument;
    auto* bus = FCast<AudioBus>(list->at(index).get());
    if (!bus) return kResultFalse;
    arr = bus->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::canProcessSampleSize(int32 symbolicSampleSize) {
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API AudioEffect::setupProcessing(ProcessSetup& setup) {
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
    processSetup_ = setup;
    return kResultOk;
}

tresult PLUGIN_API AudioEffect::setProcessing(TBool /*state*/) {
    return kResultOk;
}

}  // namespace Vst
}  // namespace Steinberg
