// Faults a host or a user's disk can produce, through the built module: sample files that
// changed between save and restore, a project whose files all went missing, and process
// calls outside what the setup announced.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "public.sdk/source/common/memorystream.h"
#include "tests/plugin/plugin_test_support.h"
#include "tests/plugin/test_files.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = tools::Vst3Module::load(bundlePath(), &error);
        ASSERT_NE(module, nullptr) << error;
        instance = tools::Vst3Instance::create(*module, &error);
        ASSERT_NE(instance, nullptr) << error;
        setenv("CORVANE_SAMPLE_PATH", "", 1);
    }
    /// A saved state whose slots 0..count-1 hold files of folder.
    std::vector<uint8_t> stateWithFiles(int32_t count) {
        state::StateChunk c;
        for (int32_t i = 0; i < count; ++i) {
            state::SlotEntry& e = c.slots[i];
            e.present = true;
            e.path = writeRampWav(folder.file("s" + std::to_string(i) + ".wav"), 3000 + i);
            e.encoding = i % 3;
            e.sampleRate = 44100.0f;
            e.Pitch = 220.0f;
            e.start = 10;
            e.end = 2500;
            e.loopStart = 100;
            e.loopEnd = 2500;
        }
        EXPECT_EQ(loadState(instance->component(), state::stateChunkBytes(c)), kResultOk);
        return saveState(instance->component());
    }
    /// The instance still renders: a note on part 1 sounds.
    float soundOfANote() {
        tools::Vst3Processing processing(*instance);
        EXPECT_EQ(processing.prepare(44100.0, 256), kResultOk);
        tools::HostEventList events(8);
        events.noteOn(0, 0, 69, 100);
        float peak = 0.0f;
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(processing.processBlock(256, i == 0 ? &events : nullptr, nullptr), kResultOk);
            for (int32_t f = 0; f < 256; ++f) peak = std::max(peak, std::fabs(processing.channel(0)[f]));
        }
        processing.stop();
        return peak;
    }

    TempFolder folder;
    std::unique_ptr<tools::Vst3Module> module;
    std::unique_ptr<tools::Vst3Instance> instance;
};

TEST_F(Faults, FilesDeletedTruncatedOrReplacedBetweenSaveAndRestore) {
    const std::vector<uint8_t> saved = stateWithFiles(3);
    ASSERT_TRUE(parseState(saved).slots[2].present);
    std::filesystem::remove(folder.file("s0.wav"));
    std::filesystem::resize_file(folder.file("s1.wav"), 30);
    writeBytes(folder.file("s2.wav"), std::vector<uint8_t>(5000, 0xA5));

    auto other = tools::Vst3Instance::create(*module);
    ASSERT_NE(other, nullptr);
    // The chunk itself is whole: the restore succeeds, and only the slots suffer.
    EXPECT_EQ(loadState(other->component(), saved), kResultOk);
    const state::StateChunk c = parseState(saveState(other->component()));
    // Deleted: found nowhere, so the slot is empty and its entry is written back as saved.
    EXPECT_TRUE(c.slots[0].present);
    EXPECT_EQ(c.slots[0].path, folder.file("s0.wav"));
    EXPECT_EQ(c.slots[0].end, 2500u);
    // Truncated and garbage: the files open but are no WAV files; the slots stay empty.
    EXPECT_FALSE(c.slots[1].present);
    EXPECT_FALSE(c.slots[2].present);
    instance = std::move(other);
    (void)soundOfANote();
}

TEST_F(Faults, AProjectWhoseFilesAllWentMissing) {
    const std::vector<uint8_t> saved = stateWithFiles(128);
    std::filesystem::remove_all(folder.path());
    auto other = tools::Vst3Instance::create(*module);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(loadState(other->component(), saved), kResultOk);
    // Saving on this machine loses nothing: the same bytes come back.
    EXPECT_TRUE(saveState(other->component()) == saved);
    instance = std::move(other);
    EXPECT_EQ(soundOfANote(), 0.0f);  // tone 0 plays slot 0, which has no samples here
}

TEST_F(Faults, ProcessCallsOutsideTheSetup) {
    (void)stateWithFiles(1);
    IAudioProcessor* processor = instance->processor();
    std::vector<float> big(2 * 16 * 4096, 7.0f);
    float* pointers[16][2];
    AudioBusBuffers buses[16];
    for (int32_t b = 0; b < 16; ++b) {
        pointers[b][0] = big.data() + (2 * b) * 4096;
        pointers[b][1] = big.data() + (2 * b + 1) * 4096;
        buses[b].numChannels = 2;
        buses[b].silenceFlags = 0;
        buses[b].channelBuffers32 = pointers[b];
    }
    tools::HostEventList events(8);
    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numOutputs = 16;
    data.outputs = buses;
    data.inputEvents = &events;

    // Before setupProcessing and setActive: silence, no crash.
    data.numSamples = 512;
    EXPECT_EQ(processor->process(data), kResultOk);
    EXPECT_EQ(big[0], 0.0f);

    ProcessSetup setup{kRealtime, kSample32, 64, 44100.0};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(instance->component()->setActive(true), kResultOk);
    processor->setProcessing(true);
    // Sixty-four frames announced, 4096 sent: every frame is rendered, none overruns.
    events.noteOn(3000, 0, 69, 100);
    data.numSamples = 4096;
    EXPECT_EQ(processor->process(data), kResultOk);
    float early = 0.0f, late = 0.0f;
    for (int32_t i = 0; i < 3000; ++i) early = std::max(early, std::fabs(big[i]));
    for (int32_t i = 3000; i < 4096; ++i) late = std::max(late, std::fabs(big[i]));
    EXPECT_EQ(early, 0.0f);
    EXPECT_GT(late, 0.0f);
    // Zero frames, a negative count, and fewer than 16 outputs.
    events.clear();
    data.numSamples = 0;
    EXPECT_EQ(processor->process(data), kResultOk);
    data.numSamples = -5;
    EXPECT_EQ(processor->process(data), kResultOk);
    data.numSamples = 64;
    data.numOutputs = 3;
    EXPECT_EQ(processor->process(data), kResultOk);
    data.numOutputs = 16;
    data.outputs = nullptr;
    EXPECT_EQ(processor->process(data), kResultOk);
    processor->setProcessing(false);
    instance->component()->setActive(false);
}

}  // namespace
}  // namespace velt::corvane::test
