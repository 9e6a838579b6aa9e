// The audio-effect base with the instrument's bus layout: arrangements as hosts set and read them.
#include "plugin/audio_effect.h"

#include <gtest/gtest.h>

#include <vector>

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vstspeaker.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Sixteen stereo outputs and one 16-channel event input, built in initialize.
class SixteenOutEffect : public AudioEffect {
public:
    tresult PLUGIN_API initialize(FUnknown* context) override {
        const tresult result = AudioEffect::initialize(context);
        if (result != kResultOk) return result;
        for (int i = 0; i < 16; ++i) {
            if (!addAudioOutput(u"out", SpeakerArr::kStereo)) return kOutOfMemory;
        }
        if (!addEventInput(u"EventInput", 16)) return kOutOfMemory;
        return kResultOk;
    }
    tresult PLUGIN_API process(ProcessData&) override { return kResultOk; }
};

struct Effect {
    IPtr<SixteenOutEffect> effect = owned(new SixteenOutEffect);
    Effect() { effect->initialize(nullptr); }
    ~Effect() { effect->terminate(); }
};

TEST(AudioEffect, BusesAndArrangements) {
    Effect holder;
    SixteenOutEffect& effect = *holder.effect;
    EXPECT_EQ(effect.getBusCount(kAudio, kOutput), 16);
    EXPECT_EQ(effect.getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(effect.getBusCount(kEvent, kInput), 1);
    BusInfo info;
    ASSERT_EQ(effect.getBusInfo(kEvent, kInput, 0, info), kResultOk);
    EXPECT_EQ(info.channelCount, 16);
    EXPECT_EQ(info.busType, kMain);
    EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));
    char name[64] = {};
    UString(info.name, 128).toAscii(name, sizeof(name));
    EXPECT_STREQ(name, "EventInput");
    ASSERT_EQ(effect.getBusInfo(kAudio, kOutput, 15, info), kResultOk);
    EXPECT_EQ(info.channelCount, 2);

    // Active or not, every output reads back as stereo.
    EXPECT_EQ(effect.activateBus(kAudio, kOutput, 5, false), kResultOk);
    for (int32 i = 0; i < 16; ++i) {
        SpeakerArrangement arrangement = 0;
        EXPECT_EQ(effect.getBusArrangement(kOutput, i, arrangement), kResultTrue) << i;
        EXPECT_EQ(arrangement, SpeakerArr::kStereo) << i;
    }
    SpeakerArrangement arrangement = 0;
    EXPECT_EQ(effect.getBusArrangement(kOutput, 16, arrangement), kInvalidArgument);
    EXPECT_EQ(effect.getBusArrangement(kOutput, -1, arrangement), kInvalidArgument);
    EXPECT_EQ(effect.getBusArrangement(kInput, 0, arrangement), kInvalidArgument);

    // A host passes all sixteen and reads each back.
    std::vector<SpeakerArrangement> outputs(17, SpeakerArr::kStereo);
    EXPECT_EQ(effect.setBusArrangements(nullptr, 0, outputs.data(), 16), kResultOk);
    EXPECT_EQ(effect.setBusArrangements(nullptr, 0, outputs.data(), 17), kResultFalse);
    EXPECT_EQ(effect.setBusArrangements(nullptr, 1, outputs.data(), 16), kInvalidArgument);
    EXPECT_EQ(effect.setBusArrangements(nullptr, 0, outputs.data(), -1), kInvalidArgument);
    EXPECT_EQ(effect.setBusArrangements(nullptr, 0, nullptr, 16), kInvalidArgument);
    outputs[3] = SpeakerArr::kMono;
    EXPECT_EQ(effect.setBusArrangements(nullptr, 0, outputs.data(), 4), kResultOk);
    EXPECT_EQ(effect.getBusArrangement(kOutput, 3, arrangement), kResultTrue);
    EXPECT_EQ(arrangement, SpeakerArr::kMono);
    EXPECT_EQ(effect.getBusArrangement(kOutput, 4, arrangement), kResultTrue);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);

    // terminate drops the buses; a second initialize builds them again.
    EXPECT_EQ(effect.terminate(), kResultOk);
    EXPECT_EQ(effect.getBusCount(kAudio, kOutput), 0);
    EXPECT_EQ(effect.initialize(nullptr), kResultOk);
    EXPECT_EQ(effect.getBusCount(kAudio, kOutput), 16);
    EXPECT_EQ(effect.getBusCount(kEvent, kInput), 1);
}

TEST(AudioEffect, ProcessingSetupAndInterfaces) {
    Effect holder;
    SixteenOutEffect& effect = *holder.effect;
    ProcessSetup setup{kOffline, kSample32, 4096, 96000.0};
    EXPECT_EQ(effect.setupProcessing(setup), kResultOk);
    setup.symbolicSampleSize = kSample64;
    EXPECT_EQ(effect.setupProcessing(setup), kResultFalse);
    EXPECT_EQ(effect.setProcessing(true), kResultOk);
    EXPECT_EQ(effect.setProcessing(false), kResultOk);

    FUnknown* unknown = static_cast<IAudioProcessor*>(&effect);
    for (const FUID* iid : {&IComponent::iid, &IAudioProcessor::iid, &IProcessContextRequirements::iid,
                            &IConnectionPoint::iid, &FUnknown::iid}) {
        void* object = nullptr;
        EXPECT_EQ(unknown->queryInterface(*iid, &object), kResultOk);
        ASSERT_NE(object, nullptr);
        static_cast<FUnknown*>(object)->release();
    }
}

}  // namespace
}  // namespace velt::corvane::test
