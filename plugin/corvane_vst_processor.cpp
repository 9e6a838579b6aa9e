#include "plugin/corvane_vst_processor.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>

#include "host/editor_protocol.h"
#include "host/editor_requests.h"
#include "host/engine_host.h"
#include "plugin/block_input.h"
#include "plugin/plugin_ids.h"
#include "plugin/state_stream.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstmessage.h"

namespace Steinberg {
namespace Vst {

using velt::corvane::kChannelCount;
using velt::corvane::kOutputBusCount;
using velt::corvane::host::EditorRequests;
using velt::corvane::host::EngineHost;
namespace protocol = velt::corvane::host::protocol;

namespace {

constexpr int32 kMinScratchFrames = 4096;

void clearOutputs(ProcessData& data, int32 frames) {
    if (!data.outputs || frames < 1) return;
    for (int32 b = 0; b < std::min<int32>(data.numOutputs, kOutputBusCount); ++b) {
        AudioBusBuffers& bus = data.outputs[b];
        if (!bus.channelBuffers32) continue;
        for (int32 c = 0; c < std::min<int32>(bus.numChannels, 2); ++c)
            if (bus.channelBuffers32[c]) std::memset(bus.channelBuffers32[c], 0, sizeof(float) * frames);
    }
}

}  // namespace

CorvaneVSTProcessor::CorvaneVSTProcessor() {
    setControllerClass(kCorvaneControllerUID);
}

CorvaneVSTProcessor::~CorvaneVSTProcessor() = default;

FUnknown* CorvaneVSTProcessor::createInstance(void* /*context*/) {
    return static_cast<IAudioProcessor*>(new (std::nothrow) CorvaneVSTProcessor);
}

tresult PLUGIN_API CorvaneVSTProcessor::initialize(FUnknown* context) {
    const tresult result = AudioEffect::initialize(context);
    if (result != kResultOk) return result;
    mainThread_ = std::this_thread::get_id();
    for (int32 i = 1; i <= kOutputBusCount; ++i) {
        String128 name;
        const std::string text = "out " + std::to_string(i);
        UString(name, 128).fromAscii(text.c_str());
        addAudioOutput(name, SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
    }
    addEventInput(STR16("EventInput"), 16, kMain, BusInfo::kDefaultActive);
    // A second initialize after terminate keeps the engine and everything it holds.
    if (!engine_) {
        engine_.reset(new (std::nothrow) EngineHost);
        if (engine_ && !engine_->valid()) engine_.reset();
        if (!engine_) return kOutOfMemory;
        editorRequests_.reset(new (std::nothrow) EditorRequests(*engine_));
        if (!editorRequests_) {
            engine_.reset();
            return kOutOfMemory;
        }
    }
    engine_->rack().setSampleRate(static_cast<float>(processSetup_.sampleRate));
    engine_->rack().setMaxBlockSize(processSetup_.maxSamplesPerBlock);
    return kResultOk;
}

tresult PLUGIN_API CorvaneVSTProcessor::setupProcessing(ProcessSetup& setup) {
    if (engine_ && !active_) {
        engine_->rack().setSampleRate(static_cast<float>(setup.sampleRate));
        engine_->rack().setMaxBlockSize(setup.maxSamplesPerBlock);
        const int32 frames = std::max(setup.maxSamplesPerBlock, kMinScratchFrames);
        if (frames != scratchFrames_) {
            scratch_.reset(new (std::nothrow) float[static_cast<size_t>(frames) * kChannelCount]);
            scratchFrames_ = scratch_ ? frames : 0;
        }
    }
    return AudioEffect::setupProcessing(setup);
}

tresult PLUGIN_API CorvaneVSTProcessor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                           SpeakerArrangement* outputs, int32 numOuts) {
    if (numOuts != kOutputBusCount || !outputs) return kResultFalse;
    // Every output is a stereo pair; a host asking for less would get a bus we cannot fill.
    for (int32 i = 0; i < numOuts; ++i)
        if (outputs[i] != SpeakerArr::kStereo) return kResultFalse;
    return AudioEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
}

tresult PLUGIN_API CorvaneVSTProcessor::setActive(TBool state) {
    if (engine_) {
        if (state) {
            if (!scratch_) {
                scratch_.reset(
                    new (std::nothrow) float[static_cast<size_t>(kMinScratchFrames) * kChannelCount]);
                scratchFrames_ = scratch_ ? kMinScratchFrames : 0;
            }
            engine_->rack().activateAll();
            engine_->startAudio();
        } else {
            engine_->stopAudio();
            engine_->rack().deactivateAll();
        }
    }
    active_ = state != 0;
    return Component::setActive(state);
}

tresult PLUGIN_API CorvaneVSTProcessor::process(ProcessData& data) {
    // Before setActive(true) the main thread owns the engine.
    if (!engine_ || !active_) {
        if (data.numOutputs == kOutputBusCount) clearOutputs(data, data.numSamples);
        return kResultOk;
    }
    engine_->applyQueuedEdits();
    velt::corvane::util::MidiController& midi = engine_->midiIn();
    // Parameters and events are taken even from a call without outputs (a host's
    // parameter flush), so that nothing the host sends is lost.
    velt::corvane::plugin::queueParameterChanges(data.inputParameterChanges, midi, engine_->rack(), bypass_);
    velt::corvane::plugin::queueEvents(data.inputEvents, midi);
    if (data.numOutputs != kOutputBusCount || !data.outputs) {
        engine_->endBlock(false);
        return kResultOk;
    }
    if (bypass_ || data.numSamples < 1) {
        if (bypass_) clearOutputs(data, data.numSamples);
        engine_->endBlock(false);
        return kResultOk;
    }
    render(data);
    return kResultOk;
}

void CorvaneVSTProcessor::render(ProcessData& data) noexcept {
    const bool hadEvents = engine_->midiIn().count() > 0;
    const int32 frames = data.numSamples;
    float* channels[kChannelCount];
    bool allReal = true;
    for (int32 b = 0; b < kOutputBusCount; ++b) {
        AudioBusBuffers& bus = data.outputs[b];
        for (int32 c = 0; c < 2; ++c) {
            float* p = bus.channelBuffers32 && c < bus.numChannels ? bus.channelBuffers32[c] : nullptr;
            channels[2 * b + c] = p;
            if (!p) allReal = false;
        }
    }
    // Channels the host left out are rendered into scratch and dropped. A host that
    // sends more frames than it announced gets them in scratch-sized pieces.
    const int32 step = allReal ? frames : scratchFrames_;
    if (step < 1) {
        engine_->endBlock(hadEvents);
        return;
    }
    float* piece[kChannelCount];
    for (int32 done = 0; done < frames; done += step) {
        const int32 n = std::min(step, frames - done);
        for (int32 i = 0; i < kChannelCount; ++i) {
            piece[i] =
                channels[i] ? channels[i] + done : scratch_.get() + static_cast<size_t>(i) * scratchFrames_;
            std::memset(piece[i], 0, sizeof(float) * n);
        }
        engine_->rack().processBlock(piece, n);
    }
    engine_->endBlock(hadEvents);
}

tresult PLUGIN_API CorvaneVSTProcessor::setState(IBStream* state) {
    if (!engine_) return kResultFalse;
    velt::corvane::plugin::StreamSource source(state);
    const bool ok = engine_->restoreState(source);
    sendEngineMessage(protocol::kSetState);
    return ok ? kResultOk : kResultFalse;
}

tresult PLUGIN_API CorvaneVSTProcessor::getState(IBStream* state) {
    if (!engine_) return kResultFalse;
    // The engine holder's copy already has every edit answered, applied or not: nothing
    // here waits for the audio thread, which a host may not be running.
    velt::corvane::plugin::StreamSink sink(state);
    velt::corvane::state::writeStateChunk(engine_->captureState(), sink);
    // The message reaches the controller and its editor, which live on the main thread;
    // a save from another thread leaves them alone.
    if (std::this_thread::get_id() == mainThread_) sendEngineMessage(protocol::kGetState);
    return kResultOk;
}

void CorvaneVSTProcessor::sendEngineMessage(const char* id) {
    IPtr<IMessage> message = owned(allocateMessage());
    if (!message) return;
    message->setMessageID(id);
    // The controller and its editor read the engine through this address (same process only).
    velt::corvane::host::EngineDisplay* address = editorRequests_.get();
    if (IAttributeList* attributes = message->getAttributes())
        attributes->setBinary(protocol::kEngineAddressKey, &address, sizeof(address));
    sendMessage(message);
}

}  // namespace Vst
}  // namespace Steinberg
