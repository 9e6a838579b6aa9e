// The plug-in's process call, loaded from the built bundle and driven as a host drives it,
// never allocates, frees, locks, sleeps or makes a blocking call: not with note storms on
// every channel, SysEx bursts, controller sweeps, program changes and 1024 voices, and not
// while the main thread sends edits, imports samples and changes the polyphony between blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tests/plugin/test_files.h"
#include "tests/realtime_plugin/audio_thread_guard.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::rttest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int32_t kBlock = 256;

ParamID midiParam(int32_t channel, int32_t number) {
    return static_cast<ParamID>(0x10000 + channel * 256 + number);
}

bool sendValueChange(IConnectionPoint* processor, int64 tag, double value) {
    IPtr<IMessage> m = Steinberg::owned(new HostMessage);
    m->setMessageID("GUIEditor:cvValueChange");
    m->getAttributes()->setInt("tag", tag);
    m->getAttributes()->setFloat("val", value);
    return processor->notify(m) == kResultOk;
}

bool sendFileRequest(IConnectionPoint* processor, int64 code, const std::string& path) {
    IPtr<IMessage> m = Steinberg::owned(new HostMessage);
    m->setMessageID("GUIEditor:cvFileSelect");
    m->getAttributes()->setInt("tag", code);
    m->getAttributes()->setBinary("path", path.c_str(), static_cast<uint32>(path.size() + 1));
    return processor->notify(m) == kResultOk;
}

TEST(AudioThread, ProcessStaysRealTimeSafeUnderLoad) {
    test::TempFolder folder;
    const std::string wav = test::writeRampWav(folder.file("loop.wav"), 20000);
    std::string error;
    auto module = tools::Vst3Module::load(CORVANE_BUNDLE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    auto instance = tools::Vst3Instance::create(*module, &error);
    ASSERT_NE(instance, nullptr) << error;

    // 1024 voices, SysEx on, a looping sample under every tone.
    state::StateChunk chunk;
    chunk.acceptSysEx = true;
    chunk.voiceCount = 1024;
    chunk.slots[0].present = true;
    chunk.slots[0].path = wav;
    chunk.slots[0].sampleRate = 44100.0f;
    chunk.slots[0].Pitch = 440.0f;
    chunk.slots[0].start = 0;
    chunk.slots[0].end = 20000;
    chunk.slots[0].loopStart = 1000;
    chunk.slots[0].loopEnd = 20000;
    const std::vector<uint8_t> bytes = state::stateChunkBytes(chunk);
    IPtr<MemoryStream> stream = Steinberg::owned(new MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(instance->component()->setState(stream), kResultOk);

    tools::Vst3Processing processing(*instance);
    ASSERT_EQ(processing.prepare(48000.0, kBlock), kResultOk);
    FUnknownPtr<IConnectionPoint> processor(instance->component());
    ASSERT_TRUE(processor);
    tools::HostEventList events(4096);
    tools::HostParameterChanges params(1024);

    // Lazy first-time work (the C library's, the host's) happens before counting starts.
    for (int i = 0; i < 4; ++i) ASSERT_EQ(processing.processBlock(kBlock, &events, &params), kResultOk);

    rtguard::reset();
    float peak = 0.0f;
    for (int32_t block = 0; block < 400; ++block) {
        events.clear();
        params.clear();
        // Note storm: every channel starts eight notes and ends last block's.
        for (int32_t ch = 0; ch < 16; ++ch) {
            for (int32_t k = 0; k < 8; ++k) {
                const int32_t key = 24 + (block * 7 + ch * 5 + k * 11) % 96;
                const int32_t offset = (k * 31 + ch) % kBlock;
                events.noteOn(offset, ch, key, 1 + (block + k) % 127);
                if (block > 0) events.noteOff(offset, ch, 24 + ((block - 1) * 7 + ch * 5 + k * 11) % 96);
            }
        }
        // SysEx burst: tone parameters, part modes, and garbage the receiver must skip.
        for (int32_t i = 0; i < 8; ++i) {
            static uint8_t tone[] = {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x1A, 0x40, 0xF7};
            tone[5] = static_cast<uint8_t>((block + i) & 127);
            tone[7] = static_cast<uint8_t>((block * 3 + i) & 127);
            events.sysEx(i * 17, tone, sizeof tone);
        }
        static const uint8_t mode[] = {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x05, 0x01, 0x02, 0xF7};
        static const uint8_t junk[] = {0xF0, 0x7D, 0x7F, 0x00, 0xF7};
        events.sysEx(200, mode, sizeof mode);
        events.sysEx(201, junk, sizeof junk);
        // Controller sweeps, bend and program changes on every channel, as MIDI-mapped parameters.
        for (int32_t ch = 0; ch < 16; ++ch) {
            const double phase = (block % 64) / 63.0;
            params.add(midiParam(ch, 7), ch, phase);
            params.add(midiParam(ch, 10), ch + 1, 1.0 - phase);
            params.add(midiParam(ch, 1), ch + 2, phase);
            params.add(midiParam(ch, 11), ch + 3, 0.5 + phase / 2);
            params.add(midiParam(ch, 129), ch + 4, std::fmod(phase * 3.0, 1.0));
            if (block % 16 == ch) params.add(midiParam(ch, 130), 100, ((block / 16) % 128) / 127.0);
        }

        rtguard::begin();
        const tresult r = processing.processBlock(kBlock, &events, &params);
        rtguard::end();
        ASSERT_EQ(r, kResultOk);
        for (int32_t c = 0; c < 32; ++c)
            for (int32_t i = 0; i < kBlock; ++i) peak = std::max(peak, std::fabs(processing.channel(c)[i]));

        // The main thread meanwhile: editor edits, sample imports into sounding slots and
        // polyphony changes, all handed to the next block.
        sendValueChange(processor, 0x0107, (block % 128) / 127.0);
        sendValueChange(processor, 0x100B, (block % 100) / 127.0);
        sendValueChange(processor, 0x3008, 15000.0 + block);
        if (block % 50 == 25) sendFileRequest(processor, 0x2100, wav);
        if (block % 100 == 50) sendValueChange(processor, 0x0090, block % 200 == 50 ? 0.75 : 1.0);
    }
    processing.stop();

    const rtguard::Counts c = rtguard::counts();
    // The same guard around a restore, which reads a file and allocates inside the module:
    // it must see those calls, or the zeros above would prove nothing.
    rtguard::reset();
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    rtguard::begin();
    instance->component()->setState(stream);
    rtguard::end();
    const rtguard::Counts restore = rtguard::counts();
    EXPECT_GT(restore.allocations, 0);
    EXPECT_GT(restore.blockingCalls, 0);

    EXPECT_EQ(c.allocations, 0) << "first: " << c.first;
    EXPECT_EQ(c.frees, 0) << "first: " << c.first;
    EXPECT_EQ(c.locks, 0) << "first: " << c.first;
    EXPECT_EQ(c.blockingCalls, 0) << "first: " << c.first;
    EXPECT_GT(peak, 0.0f);
}

TEST(AudioThread, TheGuardSeesWhatItMustCatch) {
    // The guard itself: a guarded allocation, free, lock and write are all counted.
    rtguard::reset();
    rtguard::begin();
    // Through a volatile pointer, so that the compiler cannot drop the pair.
    void* (*volatile allocate)(size_t) = std::malloc;
    void* p = allocate(16);
    std::free(p);
    pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&m);
    pthread_mutex_unlock(&m);
    const char dot = '.';
    (void)!write(-1, &dot, 1);
    rtguard::end();
    const rtguard::Counts c = rtguard::counts();
    EXPECT_GE(c.allocations, 1);
    EXPECT_GE(c.frees, 1);
    EXPECT_EQ(c.locks, 1);
    EXPECT_EQ(c.blockingCalls, 1);
    EXPECT_EQ(c.first, "malloc");
    rtguard::reset();
}

}  // namespace
}  // namespace velt::corvane::rttest
