// The render path allocates and frees nothing: every global allocation function of
// this executable is replaced by a counting one that counts while a flag is set.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"
#include "synth/pcm/engine_edit.h"
#include "synth/pcm/voice_unit_pcm.h"

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
std::atomic<long> gFrees{0};

void* allocate(std::size_t n, std::size_t alignment, bool mayFail) {
    if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    void* p = nullptr;
    if (alignment <= alignof(std::max_align_t)) {
        p = std::malloc(n ? n : 1);
    } else if (posix_memalign(&p, alignment, n ? n : 1) != 0) {
        p = nullptr;
    }
    // A test allocator that runs out of memory has nothing sensible left to do.
    if (!p && !mayFail) std::abort();
    return p;
}

void release(void* p) noexcept {
    if (!p) return;
    if (gCounting.load(std::memory_order_relaxed)) gFrees.fetch_add(1, std::memory_order_relaxed);
    std::free(p);
}

constexpr std::size_t kPlain = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t n) { return allocate(n, kPlain, false); }
void* operator new[](std::size_t n) { return allocate(n, kPlain, false); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, kPlain, true); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, kPlain, true); }
void* operator new(std::size_t n, std::align_val_t a) { return allocate(n, static_cast<std::size_t>(a), false); }
void* operator new[](std::size_t n, std::align_val_t a) { return allocate(n, static_cast<std::size_t>(a), false); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocate(n, static_cast<std::size_t>(a), true);
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocate(n, static_cast<std::size_t>(a), true);
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }

namespace velt::corvane {
namespace {

using synth::SynthesizerPCM;

struct alignas(64) OverAligned {
    float x[16];
};

int* volatile gSink = nullptr;

TEST(Realtime, CountingAllocatorSeesEveryForm) {
    gAllocations = gFrees = 0;
    gCounting = true;
    gSink = new int(7);
    delete gSink;
    gSink = new (std::nothrow) int[3];
    delete[] gSink;
    OverAligned* volatile a = new OverAligned;
    delete a;
    OverAligned* volatile b = new (std::nothrow) OverAligned[2];
    delete[] b;
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 4);
    EXPECT_EQ(gFrees.load(), 4);
}

void fillSlot(SampleData& s, int32_t frames, int32_t channels, float rate, int32_t loopStart) {
    s.clear();
    const int32_t n = frames * channels;
    s.samples = new uint32_t[static_cast<size_t>(n)];
    for (int32_t i = 0; i < n; ++i) s.samples[i] = static_cast<uint32_t>((i * 13) % 8194);
    s.hasData = true;
    s.frameCount = frames;
    s.channels = channels;
    setSampleRateFields(s, rate);
    setSamplePitch(s, 440.0f);
    setPlaybackPoints(s, 0, frames);
    setLoopPoints(s, loopStart, frames - loopStart / 2);
}

TEST(Realtime, DenseMidiThroughTheRackAllocatesAndFreesNothing) {
    SynthesizerPCM synth(440.0f, 0.8f);
    util::MidiController midi;
    ModuleRack rack;
    rack.setModule(0, &midi);
    rack.setModule(1, &synth);
    ASSERT_EQ(synth.setPolyphony(1024), 1024);
    synth.setAcceptSysEx(true);
    synth.setNrpnEnabled(true);
    for (int32_t i = 0; i < 8; ++i) fillSlot(synth.sampleSlot(i), 2000 + 500 * i, 1 + (i & 1), 22050.0f * (1 + i % 3), 400);
    for (int32_t p = 0; p < 128; ++p) {
        TonePreset& t = synth.tonePreset(p);
        t.wave = p % 9;  // slot 8 is empty: the voice stays idle
        t.strc = p % 4, t.lms = p % 16, t.lfoFreq = 500 * (p % 30), t.ar = 100 + p % 28, t.sl = p % 20;
        SamplerPreset& q = synth.samplerPreset(p);
        q.smplNum = p % 8, q.octv = 7 + p % 3;
    }
    for (int32_t ch = 12; ch < 16; ++ch) synth.setPartMode(ch, kModeSampler);
    for (int32_t ch = 0; ch < 16; ++ch) synth.setPartOutput(ch, ch);

    constexpr int32_t kBlock = 256;
    std::vector<float> storage(static_cast<size_t>(kChannelCount) * kBlock);
    float* channels[kChannelCount];
    for (int32_t c = 0; c < kChannelCount; ++c) channels[c] = storage.data() + c * kBlock;

    std::minstd_rand rng(7u);
    const uint8_t toneWrite[] = {0x7D, 0x10, 0x23, 0x04, 0x03, 0x19, 0x05, 0x7F, 0x20, 0xF7};
    const uint8_t volumeWrite[] = {0x7D, 0x10, 0x23, 0x00, 0x00, 0x00, 0x70, 0xF7};
    const uint8_t tuneWrite[] = {0x7D, 0x10, 0x23, 0x00, 0x00, 0x01, 0x42, 0xF7};
    const uint8_t modeWrite[] = {0x7D, 0x10, 0x23, 0x02, 0x0B, 0x01, 0x02, 0xF7};
    int32_t peakVoices = 0;
    double energy = 0.0;

    gAllocations = gFrees = 0;
    gCounting = true;
    for (int32_t block = 0; block < 120; ++block) {
        for (int32_t e = 0; e < 400; ++e) {
            const int32_t offset = static_cast<int32_t>(rng() % kBlock), ch = static_cast<int32_t>(rng() % 16);
            const int32_t a = static_cast<int32_t>(rng() % 128), b = static_cast<int32_t>(rng() % 128);
            // The first blocks only add notes, so the pool fills and later notes steal.
            switch (block < 20 ? rng() % 5 : rng() % 12) {
                case 0: case 1: case 2: case 3: case 4: midi.queueNoteOn(offset, ch, a, 1 + b % 127); break;
                case 5: midi.queueNoteOff(offset, ch, a); break;
                case 6: {
                    const int32_t numbers[] = {1, 7, 10, 11, 64, 6, 96, 101, 100, 99, 98, 120, 121, 123};
                    midi.queueControlChange(offset, ch, numbers[a % 14], b);
                    break;
                }
                case 7: midi.queuePitchBend(offset, ch, a, b); break;
                case 8: midi.queueProgramChange(offset, ch, a); break;
                case 9: midi.queueChannelPressure(offset, ch, a); break;
                case 10: midi.queuePolyPressure(offset, ch, a, b); break;
                default:
                    if (a < 100) midi.queueSysEx(offset, toneWrite, sizeof toneWrite);
                    else if (a < 120) midi.queueSysEx(offset, volumeWrite, sizeof volumeWrite);
                    else midi.queueSysEx(offset, modeWrite, sizeof modeWrite);
                    break;
            }
        }
        if (block % 40 == 39) midi.queueSysEx(kBlock / 2, tuneWrite, sizeof tuneWrite);  // retunes: all voices stop
        if (block % 10 == 5) synth.sendProgramChange(static_cast<int32_t>(rng() % 16), static_cast<int32_t>(rng() % 128));
        for (float& x : storage) x = 0.0f;
        rack.processBlock(channels, kBlock);
        const int32_t active = synth.countActiveVoices();
        peakVoices = active > peakVoices ? active : peakVoices;
        for (float x : storage) energy += static_cast<double>(x) * x;
    }
    gCounting = false;

    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_EQ(gFrees.load(), 0);
    EXPECT_EQ(peakVoices, 1024);  // the pool ran full, so notes were stolen
    EXPECT_GT(energy, 0.0);
    EXPECT_EQ(synth.getMasterTune(), 441.0f);
}

TEST(Realtime, VoicePoolBuiltAheadSwapsInWithoutAllocating) {
    SynthesizerPCM synth(440.0f, 0.8f);
    fillSlot(synth.sampleSlot(0), 4000, 1, 44100.0f, 400);
    synth.tonePreset(0).ar = 127;
    synth.sendNoteOn(0, 60, 100);
    ASSERT_EQ(synth.countActiveVoices(), 1);

    SynthesizerPCM::VoicePool pool = synth.prepareVoicePool(512);  // main thread
    ASSERT_EQ(pool.count, 512);
    gAllocations = gFrees = 0;
    gCounting = true;
    SynthesizerPCM::VoicePool old = synth.installVoicePool(std::move(pool));  // audio thread
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_EQ(gFrees.load(), 0);
    EXPECT_EQ(old.count, 128);  // handed back, to be freed off the audio thread
    EXPECT_EQ(synth.getVoiceCount(), 512);
    EXPECT_EQ(synth.voiceMask(), 511);
    EXPECT_EQ(synth.voiceCursor(), 0);
    EXPECT_EQ(synth.countActiveVoices(), 0);
    synth.sendNoteOn(0, 60, 100);
    EXPECT_EQ(synth.countActiveVoices(), 1);
    EXPECT_EQ(synth.pcmVoice(1).masterGain, 0.8f);
}

TEST(Realtime, EditsApplyWithoutAllocatingAndHandBackWhatTheyReplace) {
    using synth::EditKind;
    using synth::EngineEdit;
    SynthesizerPCM synth(440.0f, 0.8f);
    fillSlot(synth.sampleSlot(3), 4000, 1, 44100.0f, 400);
    const uint32_t* before = synth.sampleSlot(3).samples;
    synth::DisposalRing disposals(64);
    synth::EditRing edits(64);

    // Built on the main thread: a new array for slot 3, a preset, a part, a pool.
    EngineEdit swap{};
    swap.kind = EditKind::SlotSamples;
    swap.index = 3;
    swap.samples.codes = new uint32_t[10]();
    swap.samples.frameCount = 10;
    swap.samples.channels = 1;
    swap.samples.fields = synth::slotFieldsOf(synth.sampleSlot(3));
    swap.samples.fields.PlayBackEndPoint = swap.samples.fields.LoopEndPoint = 10;
    swap.samples.fields.loopLength = swap.samples.fields.releaseLoopLength = 0;
    ASSERT_TRUE(edits.push(swap));
    EngineEdit tone{};
    tone.kind = EditKind::TonePreset;
    tone.index = 9;
    tone.tone = synth.tonePreset(9);
    tone.tone.tl = 77;
    ASSERT_TRUE(edits.push(tone));
    EngineEdit part{};
    part.kind = EditKind::PartRecord;
    part.index = 4;
    part.partFields = synth::PartFields{5, 3, 2, 17, 12, 100, 9, 90, 30, 60};
    ASSERT_TRUE(edits.push(part));
    ASSERT_TRUE(edits.push(synth::voicePoolEdit(synth.prepareVoicePool(64))));
    EngineEdit volume{};
    volume.kind = EditKind::MasterVolume;
    volume.value = 0.5f;
    ASSERT_TRUE(edits.push(volume));

    gAllocations = gFrees = 0;
    gCounting = true;
    EngineEdit e{};
    int applied = 0;
    while (edits.pop(e)) {
        synth::applyEngineEdit(synth, e, disposals);  // audio thread
        ++applied;
    }
    gCounting = false;
    EXPECT_EQ(applied, 5);
    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_EQ(gFrees.load(), 0);

    EXPECT_EQ(synth.sampleSlot(3).frameCount, 10);
    EXPECT_TRUE(synth.sampleSlot(3).hasData);
    EXPECT_EQ(synth.tonePreset(9).tl, 77);
    EXPECT_EQ(synth.part(4).outputBus, 5);
    EXPECT_EQ(synth.part(4).controllers[10], 30);
    EXPECT_EQ(synth.getVoiceCount(), 64);
    EXPECT_EQ(synth.pcmVoice(63).masterGain, 0.5f);

    synth::EngineDisposal d;
    ASSERT_TRUE(disposals.pop(d));
    EXPECT_EQ(d.codes, before);  // the replaced array comes back to be freed here
    synth::freeDisposal(d);
    ASSERT_TRUE(disposals.pop(d));
    EXPECT_NE(d.voices, nullptr);  // the old 128-voice pool
    synth::freeDisposal(d);
    EXPECT_FALSE(disposals.pop(d));
}

}  // namespace
}  // namespace velt::corvane
