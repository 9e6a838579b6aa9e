// MIDI event records, the event queue and its delivery order, and the module rack.
#include <cstring>

#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

/// A module that counts the rack's calls and records the chain it sees.
class ProbeModule final : public ICorvaneModule {
public:
    void setSampleRate(const float& rate) override { ++rateCalls, lastRate = rate; }
    void setMaxBlockSize(const int32_t& frames) override { ++blockSizeCalls, lastBlockSize = frames; }
    void reset() override {}
    void systemReset() override {}
    void attach(ModuleRack& rack) override { ++attaches, attachedRate = rack.context().sampleRate; }
    void detach() override { ++detaches; }
    void setSuspended(bool s) override { ++suspendCalls, lastSuspended = s; }
    void reservedSlot8() override {}
    void reservedSlot9() override {}
    void deactivate() override { ++deactivations; }
    void activate() override { ++activations; }
    void process(BlockContext& context) override {
        ++blocks;
        chain.clear();
        for (const MidiEvent* e = context.events->next; e; e = e->next)
            chain.push_back({e->offset, e->data1});
        frames = context.frameCount;
        sawChannels = context.channels != nullptr;
    }

    int32_t rateCalls = 0, blockSizeCalls = 0, attaches = 0, detaches = 0, suspendCalls = 0;
    int32_t activations = 0, deactivations = 0, blocks = 0, frames = 0, lastBlockSize = 0;
    float lastRate = 0.0f, attachedRate = 0.0f;
    bool lastSuspended = false, sawChannels = false;
    std::vector<std::pair<int32_t, int32_t>> chain;  ///< (offset, data1) in chain order
};

using Chain = std::vector<std::pair<int32_t, int32_t>>;

TEST(MidiEvent, ResetMakesAReusedRecordANewOne) {
    MidiEvent e;
    MidiEvent other;
    e.status = 176, e.channel = 9, e.data1 = 7, e.data2 = 99, e.sysExLength = 3, e.offset = 40;
    e.portMask = 2, e.next = &other;
    std::memset(e.sysExData, 0x5A, sizeof e.sysExData);
    e.reset();
    EXPECT_EQ(e.status, 128);
    EXPECT_EQ(e.channel + e.data1 + e.data2 + e.sysExLength + e.offset, 0);
    EXPECT_EQ(e.portMask, 65535u);
    EXPECT_EQ(e.next, nullptr);
    // The length alone says how much is valid, so a reset on the audio thread leaves the bytes.
    for (uint8_t b : e.sysExData) ASSERT_EQ(b, 0x5A);
}

TEST(MidiQueue, DeliversInOffsetOrderEqualsInQueueOrderAndDropsBeyond512) {
    util::MidiController midi;
    ProbeModule probe;
    ModuleRack rack;
    rack.setModule(0, &midi);
    rack.setModule(1, &probe);
    float buffer[64] = {};
    float* channels[kChannelCount];
    for (float*& c : channels) c = buffer;

    EXPECT_EQ(midi.capacity(), 512);
    midi.queueNoteOn(100, 0, 1, 100);
    midi.queueNoteOn(10, 0, 2, 100);
    midi.queueNoteOn(50, 0, 3, 100);
    midi.queueControlChange(50, 0, 4, 1);  // equal offsets keep their queue order
    midi.queueProgramChange(50, 0, 5);
    rack.processBlock(channels, 64);
    EXPECT_EQ(probe.chain, (Chain{{10, 2}, {50, 3}, {50, 4}, {50, 5}, {100, 1}}));
    EXPECT_EQ(midi.count(), 0);
    EXPECT_EQ(probe.frames, 64);
    EXPECT_TRUE(probe.sawChannels);
    EXPECT_EQ(rack.context().channels, nullptr);
    EXPECT_EQ(rack.context().events, nullptr);
    EXPECT_EQ(rack.context().frameCount, 0);

    // A second block without new events delivers an empty chain.
    rack.processBlock(channels, 64);
    EXPECT_TRUE(probe.chain.empty());
    EXPECT_EQ(rack.head().next, nullptr);

    // 512 records fit; the 513th is dropped.
    for (int32_t i = 0; i < 512; ++i) ASSERT_TRUE(midi.queueNoteOn(i % 64, 0, i / 64, 1)) << i;
    EXPECT_FALSE(midi.queueNoteOn(0, 0, 60, 1));
    EXPECT_FALSE(midi.queueSysEx(0, nullptr, 0));
    EXPECT_EQ(midi.count(), 512);
    rack.processBlock(channels, 64);
    ASSERT_EQ(probe.chain.size(), 512u);
    for (size_t i = 1; i < probe.chain.size(); ++i) {
        ASSERT_LE(probe.chain[i - 1].first, probe.chain[i].first);
        // Record i has offset i % 64 and key i / 64: within an offset, keys ascend.
        if (probe.chain[i - 1].first == probe.chain[i].first) {
            ASSERT_LE(probe.chain[i - 1].second, probe.chain[i].second);
        }
    }

    // Fields that a message kind does not carry keep what the record held.
    midi.queueNoteOn(0, 3, 60, 77);
    rack.processBlock(channels, 64);
    midi.queueNoteOff(5, 2, 61);
    EXPECT_EQ(midi.record(0).status, 128);
    EXPECT_EQ(midi.record(0).data2, 77);
    EXPECT_EQ(midi.record(0).next, nullptr);
    EXPECT_EQ(midi.record(0).offset, 5);

    // The producer stamps its port mask; clearing the queue resets every record.
    midi.setPortMask(0x0004);
    midi.queueNoteOn(0, 0, 60, 1);
    EXPECT_EQ(midi.record(1).portMask, 4u);
    midi.deactivate();
    EXPECT_EQ(midi.count(), 0);
    EXPECT_EQ(midi.record(1).portMask, 65535u);
    EXPECT_EQ(midi.record(1).status, 128);
}

TEST(MidiQueue, SysExPayloadIsCopiedAndCapped) {
    util::MidiController midi;
    std::vector<uint8_t> bytes(300);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    ASSERT_TRUE(midi.queueSysEx(7, bytes.data(), 300));
    const MidiEvent& e = midi.record(0);
    EXPECT_EQ(e.status, 240);
    EXPECT_EQ(e.sysExLength, 256);
    EXPECT_EQ(e.channel, 0);
    EXPECT_EQ(std::memcmp(e.sysExData, bytes.data(), 256), 0);
}

TEST(ModuleRack, RatesBlockSizesSlotsAndSuspension) {
    ModuleRack rack;
    ProbeModule a, b;
    EXPECT_EQ(rack.slotCount(), 4);
    EXPECT_EQ(rack.context().sampleRate, 44100.0f);
    EXPECT_EQ(rack.context().channelCount, 32);
    EXPECT_EQ(rack.context().maxBlockSize, 2048);
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(rack.module(i), nullptr);

    EXPECT_EQ(rack.setModule(0, &a), &a);
    EXPECT_EQ(rack.setModule(1, &b), &b);
    EXPECT_EQ(a.attaches, 1);
    EXPECT_EQ(a.attachedRate, 44100.0f);
    EXPECT_EQ(a.detaches, 0);

    EXPECT_EQ(rack.setSampleRate(0.5f), 44100.0f);
    EXPECT_EQ(a.rateCalls + b.rateCalls, 0);
    EXPECT_EQ(rack.setSampleRate(48000.0f), 48000.0f);
    EXPECT_EQ(a.rateCalls, 1);
    EXPECT_EQ(b.rateCalls, 1);
    EXPECT_EQ(b.lastRate, 48000.0f);
    EXPECT_EQ(rack.context().sampleRate, 48000.0f);

    rack.setMaxBlockSize(0);
    EXPECT_EQ(a.blockSizeCalls, 0);
    EXPECT_EQ(rack.context().maxBlockSize, 2048);
    rack.setMaxBlockSize(256);
    EXPECT_EQ(b.lastBlockSize, 256);
    EXPECT_EQ(rack.context().maxBlockSize, 256);

    EXPECT_EQ(rack.setModule(4, &a), nullptr);
    EXPECT_EQ(a.attaches + a.detaches, 1);

    // Moving a module empties its old slot: one detach, one attach.
    EXPECT_EQ(rack.setModule(2, &a), &a);
    EXPECT_EQ(rack.module(0), nullptr);
    EXPECT_EQ(rack.module(2), &a);
    EXPECT_EQ(a.detaches, 1);
    EXPECT_EQ(a.attaches, 2);
    EXPECT_EQ(a.attachedRate, 48000.0f);
    // A module displaced by another is dropped without a call.
    EXPECT_EQ(rack.setModule(1, &a), &a);
    EXPECT_EQ(b.detaches, 0);
    EXPECT_EQ(a.detaches, 2);
    EXPECT_EQ(rack.module(2), nullptr);

    float buffer[16] = {};
    float* channels[kChannelCount];
    for (float*& c : channels) c = buffer;
    rack.setSlotSuspended(1, true);
    EXPECT_EQ(a.suspendCalls, 1);
    EXPECT_TRUE(a.lastSuspended);
    EXPECT_TRUE(rack.isSlotSuspended(1));
    rack.processBlock(channels, 16);
    EXPECT_EQ(a.blocks, 0);
    rack.setSlotSuspended(1, false);
    rack.processBlock(channels, 16);
    EXPECT_EQ(a.blocks, 1);
    rack.setSlotSuspended(3, true);  // an empty slot: only the flag
    EXPECT_TRUE(rack.isSlotSuspended(3));

    rack.activateAll();
    rack.deactivateAll();
    EXPECT_EQ(a.activations, 1);
    EXPECT_EQ(a.deactivations, 1);
    EXPECT_EQ(b.activations, 0);
}

TEST(ModuleRack, SynthesizerAdoptsTheRackRateAndStopsOnLifecycleCalls) {
    ModuleRack rack;
    rack.setSampleRate(96000.0f);
    SynthesizerPCM synth(440.0f, 0.8f);
    rack.setModule(1, &synth);
    EXPECT_EQ(synth.getSampleRate(), 96000.0f);
    fillSlot(synth.sampleSlot(0), rampCodes(1000), 1, 44100.0f, 440.0f);
    flatTone(synth.tonePreset(0));

    const std::function<void()> calls[] = {
        [&] { synth.activate(); },
        [&] { synth.deactivate(); },
        [&] { synth.setSuspended(true); },
        [&] { rack.setModule(2, &synth); },
        [&] { synth.reset(); },
        [&] { rack.setSlotSuspended(2, false); },
    };
    for (const auto& call : calls) {
        synth.sendNoteOn(0, 60, 100);
        ASSERT_EQ(synth.countActiveVoices(), 1);
        call();
        EXPECT_EQ(synth.countActiveVoices(), 0);
    }
    // The same rate again does not retune (the voices keep sounding).
    synth.sendNoteOn(0, 60, 100);
    synth.setSampleRate(96000.0f);
    EXPECT_EQ(synth.countActiveVoices(), 1);
}

}  // namespace
}  // namespace velt::corvane::enginetest
