// Vst3Processing against a recording stand-in for a processor: the host's call order,
// the buses and setup it asks for, and the ProcessData of every block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::tooltest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

/// What one process call received.
struct Received {
    int32 numSamples = -1;
    int32 numOutputs = -1;
    bool outputsNull = true;
    std::vector<int32> channelCounts;
    std::vector<bool> busNull;
    IEventList* events = nullptr;
    IParameterChanges* params = nullptr;
    double contextRate = 0.0;
    int64 projectTime = -1;
    int64 continuousTime = -1;
    uint32 contextState = 0;
    int32 mode = -1;
    int32 sampleSize = -1;
};

class RecordingProcessor final : public IComponent, public IAudioProcessor {
public:
    std::vector<std::string> calls;
    std::vector<SpeakerArrangement> arrangements;
    int32 arrangementInputs = -1;
    ProcessSetup setup{};
    std::vector<Received> blocks;
    tresult setupResult = kResultOk;
    tresult setProcessingResult = kNotImplemented;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (FUnknownPrivate::iidEqual(iid, IAudioProcessor::iid)) {
            *obj = static_cast<IAudioProcessor*>(this);
            return kResultOk;
        }
        if (FUnknownPrivate::iidEqual(iid, IComponent::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = static_cast<IComponent*>(this);
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    tresult PLUGIN_API initialize(FUnknown*) override { return kResultOk; }
    tresult PLUGIN_API terminate() override { return kResultOk; }
    tresult PLUGIN_API getControllerClassId(TUID) override { return kNotImplemented; }
    tresult PLUGIN_API setIoMode(IoMode) override { return kResultOk; }
    int32 PLUGIN_API getBusCount(MediaType, BusDirection) override { return 0; }
    tresult PLUGIN_API getBusInfo(MediaType, BusDirection, int32, BusInfo&) override { return kResultFalse; }
    tresult PLUGIN_API getRoutingInfo(RoutingInfo&, RoutingInfo&) override { return kResultFalse; }
    tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override {
        calls.push_back(std::string("activateBus ") + (type == kAudio ? "audio " : "event ") +
                        (dir == kOutput ? "out " : "in ") + std::to_string(index) + (state ? " on" : " off"));
        return kResultOk;
    }
    tresult PLUGIN_API setActive(TBool state) override {
        calls.push_back(state ? "setActive on" : "setActive off");
        return kResultOk;
    }
    tresult PLUGIN_API setState(IBStream*) override { return kResultOk; }
    tresult PLUGIN_API getState(IBStream*) override { return kResultOk; }

    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                          int32 numOuts) override {
        calls.push_back("setBusArrangements");
        arrangementInputs = numIns;
        (void)inputs;
        arrangements.assign(outputs, outputs + numOuts);
        return kResultOk;
    }
    tresult PLUGIN_API getBusArrangement(BusDirection, int32, SpeakerArrangement&) override { return kResultFalse; }
    tresult PLUGIN_API canProcessSampleSize(int32 size) override { return size == kSample32 ? kResultOk : kResultFalse; }
    uint32 PLUGIN_API getLatencySamples() override { return 0; }
    tresult PLUGIN_API setupProcessing(ProcessSetup& s) override {
        calls.push_back("setupProcessing");
        setup = s;
        return setupResult;
    }
    tresult PLUGIN_API setProcessing(TBool state) override {
        calls.push_back(state ? "setProcessing on" : "setProcessing off");
        return setProcessingResult;
    }
    tresult PLUGIN_API process(ProcessData& data) override {
        calls.push_back("process");
        Received r;
        r.numSamples = data.numSamples;
        r.numOutputs = data.numOutputs;
        r.outputsNull = data.outputs == nullptr;
        r.events = data.inputEvents;
        r.params = data.inputParameterChanges;
        r.mode = data.processMode;
        r.sampleSize = data.symbolicSampleSize;
        if (data.processContext) {
            r.contextRate = data.processContext->sampleRate;
            r.projectTime = data.processContext->projectTimeSamples;
            r.continuousTime = data.processContext->continousTimeSamples;
            r.contextState = data.processContext->state;
        }
        for (int32 b = 0; data.outputs && b < data.numOutputs; ++b) {
            const AudioBusBuffers& bus = data.outputs[b];
            r.channelCounts.push_back(bus.numChannels);
            r.busNull.push_back(bus.channelBuffers32 == nullptr);
            if (!bus.channelBuffers32) continue;
            // A mark per bus, side and frame, so the host's channel order can be checked.
            for (int32 c = 0; c < bus.numChannels; ++c)
                for (int32 i = 0; i < data.numSamples; ++i)
                    bus.channelBuffers32[c][i] = static_cast<float>(b * 1000 + c * 100 + i);
        }
        blocks.push_back(r);
        return kResultOk;
    }
    uint32 PLUGIN_API getTailSamples() override { return 0; }
};

TEST(Vst3Processing, PreparesLikeAHostAndStopsInReverse) {
    RecordingProcessor p;
    {
        tools::Vst3Processing processing(&p, &p);
        EXPECT_FALSE(processing.prepared());
        EXPECT_EQ(processing.processBlock(16, nullptr, nullptr), kInvalidArgument);
        ASSERT_EQ(processing.prepare(48000.0, 256), kResultOk);
        EXPECT_TRUE(processing.prepared());
        EXPECT_EQ(processing.maxBlock(), 256);

        std::vector<std::string> expected{"setBusArrangements"};
        for (int32_t b = 0; b < 16; ++b) expected.push_back("activateBus audio out " + std::to_string(b) + " on");
        expected.insert(expected.end(),
                        {"activateBus event in 0 on", "setupProcessing", "setActive on", "setProcessing on"});
        EXPECT_EQ(p.calls, expected);
        EXPECT_EQ(p.arrangementInputs, 0);
        ASSERT_EQ(p.arrangements.size(), 16u);
        for (SpeakerArrangement a : p.arrangements) EXPECT_EQ(a, SpeakerArr::kStereo);
        EXPECT_EQ(p.setup.processMode, kRealtime);
        EXPECT_EQ(p.setup.symbolicSampleSize, kSample32);
        EXPECT_EQ(p.setup.maxSamplesPerBlock, 256);
        EXPECT_EQ(p.setup.sampleRate, 48000.0);

        p.calls.clear();
        processing.stop();
        EXPECT_EQ(p.calls, (std::vector<std::string>{"setProcessing off", "setActive off"}));
        EXPECT_FALSE(processing.prepared());
        processing.stop();  // a second stop does nothing
        EXPECT_EQ(p.calls.size(), 2u);
        EXPECT_EQ(processing.processBlock(16, nullptr, nullptr), kInvalidArgument);

        ASSERT_EQ(processing.prepare(44100.0, 64), kResultOk);
        p.calls.clear();
    }
    // The destructor stops a running instance.
    EXPECT_EQ(p.calls, (std::vector<std::string>{"setProcessing off", "setActive off"}));

    // A refused setup leaves nothing active.
    RecordingProcessor refusing;
    refusing.setupResult = kResultFalse;
    tools::Vst3Processing failed(&refusing, &refusing);
    EXPECT_EQ(failed.prepare(44100.0, 64), kResultFalse);
    EXPECT_FALSE(failed.prepared());
    EXPECT_EQ(refusing.calls.back(), "setupProcessing");
    EXPECT_EQ(failed.prepare(44100.0, 0), kInvalidArgument);
}

TEST(Vst3Processing, BlocksCarryInputsContextAndSixteenStereoBuses) {
    RecordingProcessor p;
    tools::Vst3Processing processing(&p, &p);
    ASSERT_EQ(processing.prepare(44100.0, 128), kResultOk);
    tools::HostEventList events(4);
    tools::HostParameterChanges params(4);

    ASSERT_EQ(processing.processBlock(100, &events, &params), kResultOk);
    ASSERT_EQ(processing.processBlock(128, nullptr, nullptr), kResultOk);
    ASSERT_EQ(processing.processBlock(0, &events, nullptr), kResultOk);
    ASSERT_EQ(processing.processBlock(7, nullptr, &params), kResultOk);
    EXPECT_EQ(processing.processBlock(129, nullptr, nullptr), kInvalidArgument);
    EXPECT_EQ(processing.processBlock(-1, nullptr, nullptr), kInvalidArgument);
    EXPECT_EQ(processing.position(), 235);
    ASSERT_EQ(p.blocks.size(), 4u);

    const Received& first = p.blocks[0];
    EXPECT_EQ(first.numSamples, 100);
    EXPECT_EQ(first.numOutputs, 16);
    EXPECT_FALSE(first.outputsNull);
    EXPECT_EQ(first.channelCounts, std::vector<int32>(16, 2));
    EXPECT_EQ(first.busNull, std::vector<bool>(16, false));
    EXPECT_EQ(first.events, &events);
    EXPECT_EQ(first.params, &params);
    EXPECT_EQ(first.mode, kRealtime);
    EXPECT_EQ(first.sampleSize, kSample32);
    EXPECT_EQ(first.contextRate, 44100.0);
    EXPECT_EQ(first.contextState & ProcessContext::kPlaying, static_cast<uint32>(ProcessContext::kPlaying));
    EXPECT_EQ(first.contextState & ProcessContext::kContTimeValid,
              static_cast<uint32>(ProcessContext::kContTimeValid));
    // Continuous time: every block starts where the previous one ended.
    const int64 starts[] = {0, 100, 228, 228};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p.blocks[i].projectTime, starts[i]) << i;
        EXPECT_EQ(p.blocks[i].continuousTime, starts[i]) << i;
    }
    EXPECT_EQ(p.blocks[1].events, nullptr);
    EXPECT_EQ(p.blocks[3].params, &params);

    // channel(2k) and channel(2k+1) are bus k's left and right, as the processor wrote them.
    for (int32_t b = 0; b < 16; ++b) {
        for (int32_t side = 0; side < 2; ++side) {
            const float* c = processing.channel(2 * b + side);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c, processing.channels()[2 * b + side]);
            EXPECT_EQ(c[0], static_cast<float>(b * 1000 + side * 100));
            EXPECT_EQ(c[6], static_cast<float>(b * 1000 + side * 100 + 6));
            EXPECT_EQ(c[99], static_cast<float>(b * 1000 + side * 100 + 99));  // from the 128-frame block
        }
    }
    EXPECT_EQ(processing.channel(32), nullptr);
    EXPECT_EQ(processing.channel(-1), nullptr);
}

TEST(Vst3Processing, DetachedBusesAndOtherOutputCounts) {
    RecordingProcessor p;
    tools::Vst3Processing processing(&p, &p);
    ASSERT_EQ(processing.prepare(44100.0, 32), kResultOk);
    processing.setBusDetached(3, true);
    processing.setBusDetached(15, true);
    processing.setBusDetached(16, true);  // no such bus: nothing
    ASSERT_EQ(processing.processBlock(32, nullptr, nullptr), kResultOk);
    std::vector<bool> expectedNull(16, false);
    expectedNull[3] = expectedNull[15] = true;
    EXPECT_EQ(p.blocks.back().busNull, expectedNull);
    // An inactive bus still says 2 channels.
    EXPECT_EQ(p.blocks.back().channelCounts, std::vector<int32>(16, 2));
    EXPECT_EQ(processing.channel(6)[5], 0.0f);  // bus 3 was not handed over
    EXPECT_EQ(processing.channel(8)[5], 4005.0f);

    processing.setBusDetached(3, false);
    processing.setOutputCount(15);
    ASSERT_EQ(processing.processBlock(32, nullptr, nullptr), kResultOk);
    EXPECT_EQ(p.blocks.back().numOutputs, 15);
    EXPECT_EQ(p.blocks.back().busNull.size(), 15u);
    EXPECT_FALSE(p.blocks.back().busNull[3]);

    processing.setOutputCount(0);  // a parameter flush: no outputs at all
    ASSERT_EQ(processing.processBlock(0, nullptr, nullptr), kResultOk);
    EXPECT_EQ(p.blocks.back().numOutputs, 0);
    EXPECT_TRUE(p.blocks.back().outputsNull);
    processing.setOutputCount(40);
    ASSERT_EQ(processing.processBlock(1, nullptr, nullptr), kResultOk);
    EXPECT_EQ(p.blocks.back().numOutputs, 16);
}

}  // namespace
}  // namespace velt::corvane::tooltest
