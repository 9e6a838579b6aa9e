// A plug-in instance of the built module with the buffers of a host that processes it,
// shared by the processor's test files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/common/memorystream.h"
#include "tests/plugin/plugin_test_support.h"
#include "tests/plugin/test_files.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"

namespace velt::corvane::test {

using namespace Steinberg;
using namespace Steinberg::Vst;
using Bytes = std::vector<uint8_t>;
using tools::HostEventList;
using tools::HostParameterChanges;

constexpr int32 kFrames = 256;
constexpr ParamID kBypass = 0x1000001;

inline std::string String128ToString(const String128& s) {
    std::string out;
    for (int32_t i = 0; i < 128 && s[i]; ++i) out.push_back(static_cast<char>(s[i]));
    return out;
}

inline ParamID midiId(int32_t channel, int32_t number) {
    return 0x10000 + channel * 256 + number;
}

/// One plug-in instance with the buffers of a host that processes it.
class Rig {
public:
    explicit Rig(tools::Vst3Module& module) {
        std::string error;
        instance_ = tools::Vst3Instance::create(module, &error);
        EXPECT_NE(instance_, nullptr) << error;
        for (int32_t c = 0; c < 32; ++c) channels_[c].assign(kFrames, 0.0f);
        for (int32_t b = 0; b < 16; ++b) {
            pointers_[b][0] = channels_[2 * b].data();
            pointers_[b][1] = channels_[2 * b + 1].data();
            buses_[b].numChannels = 2;
            buses_[b].silenceFlags = 0;
            buses_[b].channelBuffers32 = pointers_[b];
        }
    }
    ~Rig() {
        if (active_) stop();
    }

    IComponent* component() { return instance_->component(); }
    IAudioProcessor* processor() { return instance_->processor(); }

    void start() {
        ProcessSetup setup{kRealtime, kSample32, kFrames, 44100.0};
        ASSERT_EQ(processor()->setupProcessing(setup), kResultOk);
        ASSERT_EQ(component()->setActive(true), kResultOk);
        processor()->setProcessing(true);
        active_ = true;
    }
    void stop() {
        processor()->setProcessing(false);
        component()->setActive(false);
        active_ = false;
    }

    /// One block of frames; every output sample starts as a marker the processor must overwrite.
    tresult block(int32 frames = kFrames, int32 numOutputs = 16) {
        for (auto& c : channels_) std::fill(c.begin(), c.end(), 9.0f);
        ProcessData data;
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numOutputs = numOutputs;
        data.outputs = numOutputs > 0 ? buses_ : nullptr;
        data.inputEvents = &events;
        data.inputParameterChanges = &params;
        const tresult r = processor()->process(data);
        events.clear();
        params.clear();
        return r;
    }

    float peak(int32_t bus, int32 frames = kFrames) const {
        float p = 0.0f;
        for (int32_t c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i) p = std::max(p, std::fabs(channels_[2 * bus + c][i]));
        return p;
    }
    bool allZero(int32 frames = kFrames) const {
        for (int32_t b = 0; b < 16; ++b)
            if (peak(b, frames) != 0.0f) return false;
        return true;
    }

    Bytes saveState() { return test::saveState(component()); }
    tresult loadState(const Bytes& bytes) { return test::loadState(component(), bytes); }
    state::StateChunk chunk() { return parseState(saveState()); }

    /// Leaves bus b's channel pointers null, as hosts do for inactive buses.
    void dropBus(int32_t b) { buses_[b].channelBuffers32 = nullptr; }

    HostEventList events;
    HostParameterChanges params;

private:
    std::unique_ptr<tools::Vst3Instance> instance_;
    std::vector<float> channels_[32];
    float* pointers_[16][2];
    AudioBusBuffers buses_[16];
    bool active_ = false;
};

class Processor : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        module_ = tools::Vst3Module::load(bundlePath(), &error).release();
        ASSERT_NE(module_, nullptr) << error;
    }
    static void TearDownTestSuite() {
        delete module_;
        module_ = nullptr;
    }

    /// A rig whose slot 0 holds a looping ramp, so that notes on tone 0 sound.
    std::unique_ptr<Rig> soundingRig() {
        auto rig = std::make_unique<Rig>(*module_);
        state::StateChunk c = rig->chunk();
        c.slots[0].present = true;
        c.slots[0].path = writeRampWav(folder_.file("ramp.wav"), 20000);
        c.slots[0].sampleRate = 44100.0f;
        c.slots[0].Pitch = 440.0f;
        EXPECT_EQ(rig->loadState(state::stateChunkBytes(c)), kResultOk);
        return rig;
    }

    static inline tools::Vst3Module* module_ = nullptr;
    TempFolder folder_;
};

}  // namespace velt::corvane::test
