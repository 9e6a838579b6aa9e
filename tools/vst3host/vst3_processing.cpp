#include "tools/vst3host/vst3_processing.h"

#include <algorithm>
#include <new>

#include "pluginterfaces/vst/vstspeaker.h"

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Vst;

Vst3Processing::Vst3Processing(Vst3Instance& instance)
    : component_(instance.component()), processor_(instance.processor()) {}

Vst3Processing::Vst3Processing(IComponent* component, IAudioProcessor* processor)
    : component_(component), processor_(processor) {}

Vst3Processing::~Vst3Processing() {
    stop();
}

tresult Vst3Processing::prepare(double sampleRate, int32_t maxBlock) {
    stop();
    if (!component_ || !processor_ || maxBlock < 1 || !(sampleRate > 0.0)) return kInvalidArgument;
    const size_t perChannel = static_cast<size_t>(maxBlock);
    buffer_.reset(new (std::nothrow) float[perChannel * kHostOutputChannels]);
    if (!buffer_) return kOutOfMemory;
    std::fill(buffer_.get(), buffer_.get() + perChannel * kHostOutputChannels, 0.0f);
    for (int32_t c = 0; c < kHostOutputChannels; ++c)
        channelPointers_[static_cast<size_t>(c)] = buffer_.get() + perChannel * static_cast<size_t>(c);

    SpeakerArrangement outputs[kHostOutputBuses];
    std::fill(std::begin(outputs), std::end(outputs), SpeakerArr::kStereo);
    tresult r = processor_->setBusArrangements(nullptr, 0, outputs, kHostOutputBuses);
    if (r != kResultOk) return r;
    for (int32 b = 0; b < kHostOutputBuses; ++b) {
        r = component_->activateBus(kAudio, kOutput, b, true);
        if (r != kResultOk) return r;
    }
    r = component_->activateBus(kEvent, kInput, 0, true);
    if (r != kResultOk) return r;
    ProcessSetup setup{kRealtime, kSample32, maxBlock, sampleRate};
    r = processor_->setupProcessing(setup);
    if (r != kResultOk) return r;
    r = component_->setActive(true);
    if (r != kResultOk) return r;
    active_ = true;
    // Hosts go on when setProcessing is not implemented; the SDK's base answers so.
    r = processor_->setProcessing(true);
    if (r != kResultOk && r != kNotImplemented) {
        component_->setActive(false);
        active_ = false;
        return r;
    }
    sampleRate_ = sampleRate;
    maxBlock_ = maxBlock;
    position_ = 0;
    prepared_ = true;
    return kResultOk;
}

tresult Vst3Processing::processBlock(int32_t frames, IEventList* events, IParameterChanges* params) {
    if (!prepared_ || frames < 0 || frames > maxBlock_) return kInvalidArgument;
    for (int32_t b = 0; b < kHostOutputBuses; ++b) {
        busPointers_[b][0] = channelPointers_[static_cast<size_t>(2 * b)];
        busPointers_[b][1] = channelPointers_[static_cast<size_t>(2 * b + 1)];
        buses_[b].numChannels = 2;
        buses_[b].silenceFlags = 0;
        buses_[b].channelBuffers32 = detached_[static_cast<size_t>(b)] ? nullptr : busPointers_[b];
    }
    context_ = ProcessContext{};
    context_.state = ProcessContext::kPlaying | ProcessContext::kContTimeValid;
    context_.sampleRate = sampleRate_;
    context_.projectTimeSamples = position_;
    context_.continousTimeSamples = position_;

    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = 0;
    data.inputs = nullptr;
    data.numOutputs = outputCount_;
    data.outputs = outputCount_ > 0 ? buses_ : nullptr;
    data.inputEvents = events;
    data.inputParameterChanges = params;
    data.processContext = &context_;
    const tresult r = processor_->process(data);
    position_ += frames;
    return r;
}

void Vst3Processing::stop() {
    if (!prepared_ && !active_) return;
    if (prepared_) processor_->setProcessing(false);
    if (active_) component_->setActive(false);
    prepared_ = false;
    active_ = false;
}

float* Vst3Processing::channel(int32_t i) const {
    return i >= 0 && i < kHostOutputChannels ? channelPointers_[static_cast<size_t>(i)] : nullptr;
}

void Vst3Processing::setBusDetached(int32_t bus, bool detached) {
    if (bus >= 0 && bus < kHostOutputBuses) detached_[static_cast<size_t>(bus)] = detached;
}

void Vst3Processing::setOutputCount(int32_t count) {
    outputCount_ = std::clamp(count, 0, kHostOutputBuses);
}

}  // namespace velt::corvane::tools
