#include "tools/toolkit/block_scheduler.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "tools/toolkit/engine_session.h"

namespace velt::corvane::tools {
namespace {

/// Records what reaches slot 1 of a rack: each event at its absolute frame.
class ProbeModule final : public ICorvaneModule {
public:
    struct Seen {
        int64_t frame;
        int32_t status, channel, data1, data2;
    };

    void setSampleRate(const float&) override {}
    void setMaxBlockSize(const int32_t&) override {}
    void reset() override {}
    void systemReset() override {}
    void attach(ModuleRack&) override {}
    void detach() override {}
    void setSuspended(bool) override {}
    void reservedSlot8() override {}
    void reservedSlot9() override {}
    void deactivate() override {}
    void activate() override {}
    void process(BlockContext& context) override {
        for (MidiEvent* e = context.events->next; e; e = e->next)
            seen.push_back(Seen{position + e->offset, e->status, e->channel, e->data1, e->data2});
        blocks.push_back(context.frameCount);
        position += context.frameCount;
    }

    std::vector<Seen> seen;
    std::vector<int32_t> blocks;
    int64_t position = 0;
};

/// Control changes numbered by index: data1 = index & 127, data2 = index >> 7.
std::vector<SongEvent> numberedEvents(const std::vector<int64_t>& frames) {
    std::vector<SongEvent> events;
    for (size_t i = 0; i < frames.size(); ++i) {
        SongEvent e;
        e.frame = frames[i];
        e.status = 0xB3;
        e.data1 = static_cast<uint8_t>(i & 127);
        e.data2 = static_cast<uint8_t>(i >> 7);
        events.push_back(e);
    }
    return events;
}

/// Runs the events through a real MIDI input into a probe; returns the events left unqueued.
size_t runThroughRack(const std::vector<SongEvent>& events, int64_t totalFrames, int32_t blockSize,
                      ProbeModule& probe) {
    ModuleRack rack;
    util::MidiController midi;
    rack.setModule(0, &midi);
    rack.setModule(1, &probe);
    std::vector<float> buffer(static_cast<size_t>(blockSize));
    std::array<float*, kChannelCount> channels;
    channels.fill(buffer.data());
    const std::vector<uint8_t> noSysEx;
    BlockScheduler scheduler(events, noSysEx);
    int64_t position = 0;
    while (position < totalFrames) {
        const auto room = static_cast<int32_t>(std::min<int64_t>(blockSize, totalFrames - position));
        const int32_t frames = scheduler.queueBlock(midi, position, room);
        EXPECT_LE(midi.count(), midi.capacity());
        rack.processBlock(channels.data(), frames);
        position += frames;
    }
    return scheduler.pending();
}

void expectAllArrivedInOrder(const std::vector<SongEvent>& events, const ProbeModule& probe) {
    ASSERT_EQ(probe.seen.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(probe.seen[i].frame, events[i].frame);
        EXPECT_EQ(probe.seen[i].status, 176);
        EXPECT_EQ(probe.seen[i].channel, 3);
        EXPECT_EQ(probe.seen[i].data1 + 128 * probe.seen[i].data2, static_cast<int32_t>(i));
    }
}

TEST(BlockScheduler, SixHundredEventsInOneBlockAllArriveAtTheirFrames) {
    // Two events per frame on frames 0..299: more than the 512-record queue in one block.
    std::vector<int64_t> frames;
    for (int i = 0; i < 600; ++i) frames.push_back(i / 2);
    const std::vector<SongEvent> events = numberedEvents(frames);
    ProbeModule probe;
    EXPECT_EQ(runThroughRack(events, 1024, 512, probe), 0u);
    expectAllArrivedInOrder(events, probe);
    // The first block ends at the frame of the 513th event (frame 256).
    EXPECT_EQ(probe.blocks, (std::vector<int32_t>{256, 512, 256}));
}

TEST(BlockScheduler, MoreEventsOnOneFrameThanTheQueueHoldsUseEmptyBlocks) {
    const std::vector<SongEvent> events = numberedEvents(std::vector<int64_t>(1100, 700));
    ProbeModule probe;
    EXPECT_EQ(runThroughRack(events, 1024, 512, probe), 0u);
    expectAllArrivedInOrder(events, probe);
    EXPECT_EQ(probe.blocks, (std::vector<int32_t>{512, 188, 0, 0, 324}));

    // Events in a block shorter than the block size, and a render that ends early.
    const std::vector<SongEvent> sparse = numberedEvents({0, 5, 5, 6, 31, 32, 33});
    ProbeModule small;
    EXPECT_EQ(runThroughRack(sparse, 33, 16, small), 1u);
    ASSERT_EQ(small.seen.size(), 6u);  // frame 33 lies beyond the render
    EXPECT_EQ(small.seen[4].frame, 31);
    EXPECT_EQ(small.blocks, (std::vector<int32_t>{16, 16, 1}));
}

class CountingSink final : public BlockSink {
public:
    bool takeBlock(const float* const*, int32_t frames, int64_t blockStart) override {
        EXPECT_EQ(blockStart, frames_);
        frames_ += frames;
        return true;
    }
    int64_t frames_ = 0;
};

TEST(BlockScheduler, EngineSessionReceivesEverySysExOfAnOverfullBlock) {
    // 600 tone-preset name writes at frame 10, then two writes to one address:
    // all must arrive, the later in song order winning.
    std::vector<SongEvent> events;
    std::vector<uint8_t> bytes;
    auto addWrite = [&](int preset, int address, int value) {
        SongEvent e;
        e.frame = 10;
        e.status = 0xF0;
        e.sysExOffset = static_cast<uint32_t>(bytes.size());
        const uint8_t message[] = {0x7D,
                                   0x10,
                                   0x23,
                                   0x04,
                                   static_cast<uint8_t>(preset),
                                   static_cast<uint8_t>(address),
                                   static_cast<uint8_t>(value),
                                   0xF7};
        bytes.insert(bytes.end(), std::begin(message), std::end(message));
        e.sysExLength = sizeof message;
        events.push_back(e);
    };
    for (int i = 0; i < 600; ++i) addWrite(i / 16, i % 16, 0x21 + i % 90);
    addWrite(127, 0, 'X');
    addWrite(127, 0, 'Y');

    EngineSession session;
    SessionSettings settings;
    settings.acceptSysEx = true;
    settings.blockSize = 256;
    ASSERT_TRUE(session.prepare(settings));
    CountingSink sink;
    ASSERT_TRUE(session.render(events, bytes, 700, sink));
    EXPECT_EQ(sink.frames_, 700);
    EXPECT_EQ(session.framesRendered(), 700);
    for (int i = 0; i < 600; ++i) {
        EXPECT_EQ(session.synthesizer().tonePreset(i / 16).presetName[i % 16],
                  static_cast<char>(0x21 + i % 90))
            << i;
    }
    EXPECT_EQ(session.synthesizer().tonePreset(127).presetName[0], 'Y');
    EXPECT_EQ(session.mostVoices(), 0);
    for (int bus = 0; bus < kOutputBusCount; ++bus) EXPECT_FALSE(session.carriesSound(bus));
}

}  // namespace
}  // namespace velt::corvane::tools
