// The song-to-host translation: what each message becomes, where blocks end, and that the
// processor's documented queue order (a call's parameters before its events; of equal
// offsets the later-queued applies first) gives back the song's order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "tools/toolkit/host_block_feeder.h"

namespace velt::corvane::tooltest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using tools::HostBlockFeeder;
using tools::HostEventList;
using tools::HostParameterChanges;
using tools::MidiParameterMap;
using tools::SongEvent;

/// The plug-in's mapping: 0x10000 + channel * 256 + number, for every channel and number.
MidiParameterMap pluginMap() {
    MidiParameterMap map;
    for (int32_t ch = 0; ch < 16; ++ch)
        for (int32_t n = 0; n < tools::kMappedControllers; ++n) map.set(ch, n, 0x10000 + ch * 256 + n);
    return map;
}

SongEvent message(int64_t frame, uint8_t status, uint8_t d1 = 0, uint8_t d2 = 0) {
    SongEvent e;
    e.frame = frame;
    e.status = status;
    e.data1 = d1;
    e.data2 = d2;
    return e;
}

/// One MIDI message as the engine receives it: (frame, status with channel, data1, data2).
using Delivered = std::tuple<int64_t, int32_t, int32_t, int32_t>;

int32_t scaled(double value, int32_t range) { return static_cast<int32_t>(value * range + 0.5); }

/// The processor's queue for one block, built call by call, then applied in its order.
std::vector<Delivered> deliver(const std::vector<std::vector<Delivered>>& callsQueued) {
    std::vector<std::pair<Delivered, size_t>> queue;
    for (const auto& call : callsQueued)
        for (const Delivered& d : call) queue.push_back({d, queue.size()});
    std::stable_sort(queue.begin(), queue.end(), [](const auto& a, const auto& b) {
        if (std::get<0>(a.first) != std::get<0>(b.first)) return std::get<0>(a.first) < std::get<0>(b.first);
        return a.second > b.second;  // equal offsets: the later-queued first
    });
    std::vector<Delivered> out;
    for (const auto& q : queue) out.push_back(q.first);
    return out;
}

/// What one call queues: each parameter queue's last point, then the events, as the processor reads them.
std::vector<Delivered> queued(int64_t blockStart, HostEventList& events, HostParameterChanges& params) {
    std::vector<Delivered> out;
    for (int32 i = 0; i < params.getParameterCount(); ++i) {
        IParamValueQueue* q = params.getParameterData(i);
        EXPECT_EQ(q->getPointCount(), 1) << "one point per id and call";
        int32 offset = 0;
        ParamValue value = 0.0;
        q->getPoint(q->getPointCount() - 1, offset, value);
        const ParamID id = q->getParameterId();
        const int32_t ch = (id >> 8) & 15;
        const int32_t n = id & 255;
        const int64_t frame = blockStart + offset;
        if (n < 128) {
            out.emplace_back(frame, 0xB0 | ch, n, scaled(value, 127));
        } else if (n == 129) {
            const int32_t v = scaled(value, 16383);
            out.emplace_back(frame, 0xE0 | ch, v & 127, v >> 7);
        } else {
            out.emplace_back(frame, 0xC0 | ch, scaled(value, 127), 0);
        }
    }
    for (int32 i = 0; i < events.getEventCount(); ++i) {
        Event e{};
        events.getEvent(i, e);
        const int64_t frame = blockStart + e.sampleOffset;
        if (e.type == Event::kNoteOnEvent)
            out.emplace_back(frame, 0x90 | e.noteOn.channel, e.noteOn.pitch, scaled(e.noteOn.velocity, 127));
        else if (e.type == Event::kNoteOffEvent)
            out.emplace_back(frame, 0x80 | e.noteOff.channel, e.noteOff.pitch, 0);
        else  // SysEx: first payload byte and size stand for the message
            out.emplace_back(frame, 0xF0, e.data.bytes[1], static_cast<int32_t>(e.data.size));
    }
    return out;
}

struct BlockRun {
    int32_t length = 0;
    int32_t calls = 0;
    std::vector<Delivered> applied;
    std::vector<std::vector<Delivered>> perCall;
    size_t records = 0;
};

BlockRun runBlock(HostBlockFeeder& feeder, int64_t start, int32_t maxFrames) {
    HostEventList events(tools::kProcessorQueueCapacity);
    HostParameterChanges params(tools::kProcessorQueueCapacity);
    BlockRun run;
    run.length = feeder.planBlock(start, maxFrames);
    run.calls = feeder.callCount();
    for (int32_t c = 0; c < run.calls; ++c) {
        events.clear();
        params.clear();
        EXPECT_TRUE(feeder.fillCall(c, events, params));
        run.perCall.push_back(queued(start, events, params));
        run.records += run.perCall.back().size();
    }
    run.applied = deliver(run.perCall);
    return run;
}

TEST(HostBlockFeeder, EachMessageBecomesWhatAHostSends) {
    std::vector<uint8_t> sysEx{0x7D, 0x10, 0xF7};
    std::vector<SongEvent> song{
        message(3, 0x92, 60, 100),  message(5, 0x92, 60, 0),   message(7, 0x83, 61),
        message(9, 0xB4, 7, 127),   message(11, 0xE5, 0, 64), message(13, 0xC6, 5),
        message(15, 0xD0, 99),      message(17, 0xA0, 60, 9), message(19, 0xF0),
        message(21, 0xB1, 10, 64),
    };
    song[8].sysExOffset = 0;
    song[8].sysExLength = 3;
    MidiParameterMap map = pluginMap();
    map.set(1, 10, 0);  // stays mapped (id 0) ...
    MidiParameterMap partial;
    for (int32_t n = 0; n < tools::kMappedControllers; ++n) partial.set(4, n, 0x10400 + n);
    EXPECT_EQ(partial.id(0, 7), -1);
    EXPECT_EQ(partial.id(4, 7), 0x10407);
    EXPECT_EQ(partial.id(16, 7), -1);
    EXPECT_EQ(partial.id(4, 131), -1);

    HostBlockFeeder feeder(song, sysEx, pluginMap());
    EXPECT_EQ(feeder.unmapped(), 0u);
    HostEventList events(16);
    HostParameterChanges params(16);
    ASSERT_EQ(feeder.planBlock(1, 64), 64);
    ASSERT_EQ(feeder.callCount(), 1);
    ASSERT_TRUE(feeder.fillCall(0, events, params));
    EXPECT_EQ(feeder.pending(), 0u);

    ASSERT_EQ(events.getEventCount(), 4);  // pressure left out
    Event e{};
    events.getEvent(0, e);
    EXPECT_EQ(e.type, Event::kNoteOnEvent);
    EXPECT_EQ(e.sampleOffset, 2);  // relative to the block
    EXPECT_EQ(e.noteOn.channel, 2);
    EXPECT_EQ(e.noteOn.pitch, 60);
    EXPECT_FLOAT_EQ(e.noteOn.velocity, 100.0f / 127.0f);
    events.getEvent(1, e);
    EXPECT_EQ(e.type, Event::kNoteOffEvent);  // a note on of velocity 0
    EXPECT_EQ(e.sampleOffset, 4);
    EXPECT_EQ(e.noteOff.pitch, 60);
    events.getEvent(2, e);
    EXPECT_EQ(e.type, Event::kNoteOffEvent);
    EXPECT_EQ(e.noteOff.channel, 3);
    EXPECT_EQ(e.noteOff.pitch, 61);
    events.getEvent(3, e);
    EXPECT_EQ(e.type, Event::kDataEvent);
    EXPECT_EQ(e.sampleOffset, 18);
    EXPECT_EQ(e.data.type, static_cast<uint32>(DataEvent::kMidiSysEx));
    ASSERT_EQ(e.data.size, 4u);
    EXPECT_EQ(std::vector<uint8_t>(e.data.bytes, e.data.bytes + 4), (std::vector<uint8_t>{0xF0, 0x7D, 0x10, 0xF7}));

    ASSERT_EQ(params.getParameterCount(), 4);
    const struct {
        ParamID id;
        int32 offset;
        double value;
    } expected[] = {{0x10407, 8, 1.0}, {0x10581, 10, 8192.0 / 16383.0}, {0x10682, 12, 5.0 / 127.0},
                    {0x1010A, 20, 64.0 / 127.0}};
    for (int32 i = 0; i < 4; ++i) {
        IParamValueQueue* q = params.getParameterData(i);
        int32 offset = -1;
        ParamValue value = -1.0;
        ASSERT_EQ(q->getPointCount(), 1);
        q->getPoint(0, offset, value);
        EXPECT_EQ(q->getParameterId(), expected[i].id) << i;
        EXPECT_EQ(offset, expected[i].offset) << i;
        EXPECT_DOUBLE_EQ(value, expected[i].value) << i;
    }

    // Messages the mapping has no id for are left out and counted.
    HostBlockFeeder unmapped(song, sysEx, partial);
    EXPECT_EQ(unmapped.unmapped(), 3u);  // channels 5, 6 and 1
    events.clear();
    params.clear();
    unmapped.planBlock(0, 64);
    ASSERT_TRUE(unmapped.fillCall(0, events, params));
    EXPECT_EQ(params.getParameterCount(), 1);
    EXPECT_EQ(events.getEventCount(), 4);
}

TEST(HostBlockFeeder, ABlockEndsAtAParameterIdsSecondChange) {
    const std::vector<uint8_t> none;
    const std::vector<SongEvent> song{message(10, 0xB0, 7, 20), message(100, 0xB1, 7, 30),
                                      message(300, 0x90, 60, 90), message(300, 0xB0, 7, 40),
                                      message(700, 0xB0, 7, 50)};
    HostBlockFeeder feeder(song, none, pluginMap());
    // CC 7 on channel 1 again at 300 (a different id on channel 2 does not count).
    BlockRun a = runBlock(feeder, 0, 512);
    EXPECT_EQ(a.length, 300);
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(a.applied, (std::vector<Delivered>{{10, 0xB0, 7, 20}, {100, 0xB1, 7, 30}}));
    // The note at 300 moves with the change into the next block.
    BlockRun b = runBlock(feeder, 300, 512);
    EXPECT_EQ(b.length, 400);
    EXPECT_EQ(b.applied, (std::vector<Delivered>{{300, 0x90, 60, 90}, {300, 0xB0, 7, 40}}));
    BlockRun c = runBlock(feeder, 700, 512);
    EXPECT_EQ(c.length, 512);
    EXPECT_EQ(c.applied, (std::vector<Delivered>{{700, 0xB0, 7, 50}}));
    EXPECT_EQ(feeder.pending(), 0u);
    BlockRun d = runBlock(feeder, 1212, 512);
    EXPECT_EQ(d.length, 512);
    EXPECT_TRUE(d.applied.empty());
}

TEST(HostBlockFeeder, OneFramesOrderNeedsCallsOfZeroFrames) {
    const std::vector<uint8_t> none;
    // At frame 64: program, note, volume, volume again, bend, note off.
    const std::vector<SongEvent> song{message(64, 0xC0, 5),      message(64, 0x90, 60, 100),
                                      message(64, 0xB0, 7, 10),  message(64, 0xB0, 7, 90),
                                      message(64, 0xE0, 0, 100), message(64, 0x80, 60)};
    HostBlockFeeder feeder(song, none, pluginMap());
    BlockRun run = runBlock(feeder, 0, 256);
    EXPECT_EQ(run.length, 256);
    // Walking back from the frame's last message: [off] | [bend, vol 90] | [vol 10, note on] |
    // [program]. A parameter before an event, or an id twice, starts the next call.
    ASSERT_EQ(run.calls, 4);
    EXPECT_EQ(run.perCall[0], (std::vector<Delivered>{{64, 0x80, 60, 0}}));
    EXPECT_EQ(run.perCall[1], (std::vector<Delivered>{{64, 0xE0, 0, 100}, {64, 0xB0, 7, 90}}));
    EXPECT_EQ(run.perCall[2], (std::vector<Delivered>{{64, 0xB0, 7, 10}, {64, 0x90, 60, 100}}));
    EXPECT_EQ(run.perCall[3], (std::vector<Delivered>{{64, 0xC0, 5, 0}}));
    const std::vector<Delivered> songOrder{{64, 0xC0, 5, 0},  {64, 0x90, 60, 100}, {64, 0xB0, 7, 10},
                                           {64, 0xB0, 7, 90}, {64, 0xE0, 0, 100},  {64, 0x80, 60, 0}};
    EXPECT_EQ(run.applied, songOrder);

    // A note before a controller fits one call: parameters are queued first, applied last.
    const std::vector<SongEvent> simple{message(0, 0x90, 60, 100), message(0, 0xB0, 7, 10)};
    HostBlockFeeder one(simple, none, pluginMap());
    BlockRun r = runBlock(one, 0, 32);
    EXPECT_EQ(r.calls, 1);
    EXPECT_EQ(r.applied, (std::vector<Delivered>{{0, 0x90, 60, 100}, {0, 0xB0, 7, 10}}));
}

TEST(HostBlockFeeder, TheProcessorsQueueNeverOverflows) {
    const std::vector<uint8_t> none;
    std::vector<SongEvent> song;
    for (int32_t i = 0; i < 600; ++i) song.push_back(message(50, 0x90, static_cast<uint8_t>(i % 128), 1));
    song.push_back(message(60, 0x80, 1));
    HostBlockFeeder feeder(song, none, pluginMap());
    BlockRun a = runBlock(feeder, 0, 512);
    EXPECT_EQ(a.length, 50);  // ends where the frame that does not fit begins
    EXPECT_TRUE(a.applied.empty());
    BlockRun b = runBlock(feeder, 50, 512);
    EXPECT_EQ(b.length, 1);  // 512 at the block's first frame; the rest one frame later
    EXPECT_EQ(b.records, 512u);
    BlockRun c = runBlock(feeder, 51, 512);
    EXPECT_EQ(c.records, 89u);
    EXPECT_EQ(std::get<0>(c.applied.front()), 51);
    EXPECT_EQ(c.applied.back(), (Delivered{60, 0x80, 1, 0}));
    EXPECT_EQ(feeder.pending(), 0u);
}

TEST(HostBlockFeeder, ABusySongArrivesInSongOrderAtItsFrames) {
    std::mt19937 rng(7031u);
    auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    std::vector<uint8_t> sysExBytes;
    std::vector<SongEvent> song;
    std::vector<Delivered> expected;
    int64_t frame = 0;
    for (int32_t i = 0; i < 6000; ++i) {
        if (pick(0, 3) == 0) frame += pick(1, 90);
        const int32_t ch = pick(0, 2);
        SongEvent e = message(frame, 0);
        switch (pick(0, 7)) {
            case 0: e = message(frame, 0x90 | ch, pick(60, 63), pick(0, 127)); break;
            case 1: e = message(frame, 0x80 | ch, pick(60, 63)); break;
            case 2:
            case 3: e = message(frame, 0xB0 | ch, pick(6, 8), pick(0, 127)); break;
            case 4: e = message(frame, 0xE0 | ch, pick(0, 127), pick(0, 127)); break;
            case 5: e = message(frame, 0xC0 | ch, pick(0, 127)); break;
            case 6: e = message(frame, 0xD0 | ch, pick(0, 127)); break;
            default:
                e = message(frame, 0xF0);
                e.sysExOffset = static_cast<uint32_t>(sysExBytes.size());
                e.sysExLength = static_cast<uint16_t>(pick(1, 5));
                sysExBytes.push_back(static_cast<uint8_t>(i & 127));
                for (int32_t k = 1; k < e.sysExLength; ++k) sysExBytes.push_back(0x11);
                break;
        }
        song.push_back(e);
        const int32_t kind = e.status & 0xF0;
        if (kind == 0xD0) continue;
        if (kind == 0x90 && e.data2 == 0)
            expected.emplace_back(frame, 0x80 | ch, e.data1, 0);
        else if (kind == 0x80)
            expected.emplace_back(frame, e.status, e.data1, 0);
        else if (kind == 0xC0)
            expected.emplace_back(frame, e.status, e.data1, 0);
        else if (kind == 0xF0)
            expected.emplace_back(frame, 0xF0, static_cast<int32_t>(i & 127), e.sysExLength + 1);
        else
            expected.emplace_back(frame, e.status, e.data1, e.data2);
    }
    for (const int32_t maxBlock : {1, 7, 64, 512, 8192}) {
        SCOPED_TRACE(maxBlock);
        HostBlockFeeder feeder(song, sysExBytes, pluginMap());
        std::vector<Delivered> applied;
        int64_t position = 0;
        int32_t multiCallBlocks = 0;
        while (position <= frame) {
            BlockRun run = runBlock(feeder, position, maxBlock);
            ASSERT_GE(run.length, 1);
            ASSERT_LE(run.length, maxBlock);
            EXPECT_LE(run.records, 512u);
            for (const Delivered& d : run.applied) {
                EXPECT_GE(std::get<0>(d), position);
                EXPECT_LT(std::get<0>(d), position + run.length);
            }
            if (run.calls > 1) ++multiCallBlocks;
            applied.insert(applied.end(), run.applied.begin(), run.applied.end());
            position += run.length;
        }
        EXPECT_EQ(feeder.pending(), 0u);
        EXPECT_GT(multiCallBlocks, 0);
        ASSERT_EQ(applied.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(applied[i], expected[i]) << i;
    }
}

}  // namespace
}  // namespace velt::corvane::tooltest
