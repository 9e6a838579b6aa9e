#include "tools/toolkit/plugin_session.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Vst;

PluginSession::~PluginSession() {
    processing_.reset();
    instance_.reset();
    module_.reset();
}

bool PluginSession::open(const std::string& bundlePath, std::string& error) {
    std::string reason;
    module_ = Vst3Module::load(bundlePath, &reason);
    if (!module_) {
        error = bundlePath + ": cannot load the plug-in" + (reason.empty() ? "" : ": " + reason);
        return false;
    }
    instance_ = Vst3Instance::create(*module_, &reason);
    if (!instance_) {
        error = bundlePath + ": cannot create the plug-in" + (reason.empty() ? "" : ": " + reason);
        return false;
    }
    return true;
}

bool PluginSession::saveState(std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    IPtr<MemoryStream> stream = owned(new (std::nothrow) MemoryStream);
    if (!instance_ || !stream) {
        error = "out of memory";
        return false;
    }
    if (instance_->component()->getState(stream) != kResultOk) {
        error = "the plug-in did not save its state";
        return false;
    }
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    if (data) bytes.assign(data, data + stream->getSize());
    return true;
}

bool PluginSession::readState(state::StateChunk& chunk, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!saveState(bytes, error)) return false;
    state::MemorySource source(bytes.data(), bytes.size());
    chunk = state::StateChunk{};
    if (!state::readStateChunk(source, chunk).complete) {
        error = "the plug-in's saved state is not a readable state chunk";
        return false;
    }
    return true;
}

bool PluginSession::applyState(const std::vector<uint8_t>& bytes, std::string& error) {
    IPtr<MemoryStream> stream = owned(new (std::nothrow) MemoryStream);
    if (!instance_ || !stream) {
        error = "out of memory";
        return false;
    }
    int32 written = 0;
    if (!bytes.empty())
        stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    if (written != static_cast<int32>(bytes.size())) {
        error = "out of memory";
        return false;
    }
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    if (instance_->component()->setState(stream) != kResultOk) {
        error = "the plug-in refused the state chunk";
        return false;
    }
    // The controller keeps nothing of it, but a host hands it over all the same.
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    instance_->controller()->setComponentState(stream);
    return true;
}

bool PluginSession::sendFileRequest(int64_t code, const std::string& path, std::string& error) {
    FUnknownPtr<IConnectionPoint> point(instance_ ? instance_->component() : nullptr);
    IPtr<IMessage> message = owned(new (std::nothrow) HostMessage);
    if (!point || !message) {
        error = "the plug-in takes no messages";
        return false;
    }
    message->setMessageID("GUIEditor:cvFileSelect");
    IAttributeList* attributes = message->getAttributes();
    if (!attributes) {
        error = "out of memory";
        return false;
    }
    attributes->setInt("tag", code);
    attributes->setBinary("path", path.c_str(), static_cast<uint32>(path.size() + 1));
    if (point->notify(message) != kResultOk) {
        error = "the plug-in refused the file request";
        return false;
    }
    return true;
}

bool PluginSession::prepare(uint32_t sampleRate, int32_t blockSize, std::string& error) {
    if (!instance_) {
        error = "no plug-in";
        return false;
    }
    map_ = MidiParameterMap{};
    FUnknownPtr<IMidiMapping> mapping(instance_->controller());
    if (mapping) {
        for (int16 channel = 0; channel < 16; ++channel) {
            for (int32_t number = 0; number < kMappedControllers; ++number) {
                ParamID id = 0;
                if (mapping->getMidiControllerAssignment(0, channel, static_cast<CtrlNumber>(number), id) ==
                    kResultOk)
                    map_.set(channel, number, id);
            }
        }
    }
    processing_.reset(new (std::nothrow) Vst3Processing(*instance_));
    if (!processing_) {
        error = "out of memory";
        return false;
    }
    const tresult r = processing_->prepare(static_cast<double>(sampleRate), blockSize);
    if (r != kResultOk) {
        error = r == kOutOfMemory
                    ? "out of memory"
                    : "the plug-in refused to process (16 stereo outputs at " + std::to_string(sampleRate) +
                          " Hz, blocks of " + std::to_string(blockSize) + ")";
        processing_.reset();
        return false;
    }
    blockSize_ = blockSize;
    return true;
}

void PluginSession::measure(int32_t frames) noexcept {
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        float peak = peaks_[bus];
        for (int32_t side = 0; side < 2; ++side) {
            const float* samples = processing_->channel(2 * bus + side);
            for (int32_t i = 0; i < frames; ++i) peak = std::max(peak, std::fabs(samples[i]));
        }
        peaks_[bus] = peak;
    }
}

bool PluginSession::render(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes,
                           int64_t totalFrames, BlockSink& sink, std::string& error) {
    peaks_.fill(0.0f);
    framesRendered_ = 0;
    if (!processing_ || !processing_->prepared()) {
        error = "the plug-in is not processing";
        return false;
    }
    HostBlockFeeder feeder(events, sysExBytes, map_);
    unmapped_ = static_cast<int64_t>(feeder.unmapped());
    HostEventList hostEvents(kProcessorQueueCapacity);
    HostParameterChanges hostParams(kProcessorQueueCapacity);
    if (hostEvents.capacity() == 0 || hostParams.capacity() == 0) {
        error = "out of memory";
        return false;
    }
    int64_t position = 0;
    bool ok = true;
    while (ok && position < totalFrames) {
        const auto room = static_cast<int32_t>(std::min<int64_t>(blockSize_, totalFrames - position));
        const int32_t frames = feeder.planBlock(position, room);
        hostEvents.clear();
        hostParams.clear();
        if (!feeder.fillBlock(hostEvents, hostParams)) {
            error = "too many events for one block";
            ok = false;
            break;
        }
        if (processing_->processBlock(frames, &hostEvents, &hostParams) != kResultOk) {
            error = "the plug-in's process call failed at frame " + std::to_string(position);
            ok = false;
        }
        if (!ok) break;
        measure(frames);
        if (!sink.takeBlock(processing_->channels(), frames, position)) ok = false;
        position += frames;
    }
    framesRendered_ = position;
    processing_->stop();
    return ok;
}

}  // namespace velt::corvane::tools
