#include "tools/toolkit/midi_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace velt::corvane::tools {
namespace {

using tooltest::Bytes;
using tooltest::smf;
using tooltest::TrackBuilder;

MidiSong parseOk(const Bytes& file, uint32_t rate = 44100) {
    MidiSong song;
    const MidiFileResult r = readMidiFile(file.data(), file.size(), song);
    EXPECT_TRUE(r.ok) << r.message;
    assignFrames(song, rate);
    return song;
}

std::vector<uint8_t> sysExOf(const MidiSong& song, const SongEvent& e) {
    return {song.sysExBytes.begin() + e.sysExOffset, song.sysExBytes.begin() + e.sysExOffset + e.sysExLength};
}

TEST(MidiFileReader, FormatZeroChannelMessagesWithRunningStatus) {
    TrackBuilder t;
    t.event(0, {0x90, 0x3C, 0x64})
        .event(0, {0x3E, 0x50})   // running status: note on 62
        .event(48, {0x3C, 0x00})  // note on, velocity 0: kept as a note on
        .event(0, {0x80, 0x3E, 0x40})
        .event(0, {0xB1, 0x07, 0x64})
        .event(0, {0xC2, 0x05})
        .event(0, {0x06})  // running status with one data byte
        .event(0, {0xD3, 0x40})
        .event(0, {0xA4, 0x3C, 0x20})
        .event(0, {0xE5, 0x01, 0x40})
        .end(48);
    const MidiSong song = parseOk(smf(0, 96, {t.bytes()}));
    EXPECT_EQ(song.format, 0);
    EXPECT_EQ(song.trackCount, 1);
    EXPECT_FALSE(song.smpte);
    EXPECT_EQ(song.ticksPerQuarter, 96);
    struct Expect {
        uint64_t tick;
        int64_t frame;
        uint8_t status, d1, d2;
    };
    // 120 beats per minute by default: 96 ticks = 0.5 s = 22050 frames.
    const Expect expected[] = {{0, 0, 0x90, 60, 100},     {0, 0, 0x90, 62, 80},
                               {48, 11025, 0x90, 60, 0},  {48, 11025, 0x80, 62, 64},
                               {48, 11025, 0xB1, 7, 100}, {48, 11025, 0xC2, 5, 0},
                               {48, 11025, 0xC2, 6, 0},   {48, 11025, 0xD3, 64, 0},
                               {48, 11025, 0xA4, 60, 32}, {48, 11025, 0xE5, 1, 64}};
    ASSERT_EQ(song.events.size(), std::size(expected));
    for (size_t i = 0; i < song.events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(song.events[i].tick, expected[i].tick);
        EXPECT_EQ(song.events[i].frame, expected[i].frame);
        EXPECT_EQ(song.events[i].status, expected[i].status);
        EXPECT_EQ(song.events[i].data1, expected[i].d1);
        EXPECT_EQ(song.events[i].data2, expected[i].d2);
    }
    EXPECT_EQ(song.endTick, 96u);
    EXPECT_EQ(song.endFrame, 22050);
}

TEST(MidiFileReader, TempoChangeMidSongGivesExactFrames) {
    TrackBuilder t;
    t.tempo(0, 500000)
        .tempo(480, 333333)
        .event(7, {0x90, 0x40, 0x40})              // tick 487
        .event(1000000 - 487, {0x80, 0x40, 0x00})  // tick 1,000,000
        .end();
    const MidiSong song = parseOk(smf(0, 480, {t.bytes()}));
    ASSERT_EQ(song.events.size(), 2u);
    ASSERT_EQ(song.tempoMap.size(), 2u);
    EXPECT_EQ(song.tempoMap[1].tick, 480u);
    EXPECT_EQ(song.tempoMap[1].microsPerQuarter, 333333u);
    // (480 × 500000 + 7 × 333333) µs·tick / 480 ticks = 0.504861... s → 22264.37 frames.
    EXPECT_EQ(song.events[0].frame, 22264);
    // 333413000160 / 480e6 s × 44100: no drift over a million ticks.
    EXPECT_EQ(song.events[1].frame, 30632319);
    EXPECT_EQ(song.endFrame, 30632319);
    EXPECT_EQ(tickToFrame(song, 487, 44100), 22264);
    EXPECT_EQ(tickToFrame(song, 480, 48000), 24000);
    EXPECT_EQ(tickToFrame(song, 240, 44100), 11025);  // before the change: 120 BPM
}

TEST(MidiFileReader, FormatOneMergesByTimeThenTrackWithSharedTempoMap) {
    TrackBuilder conductor;
    conductor.tempo(0, 250000).event(96, {0xB0, 0x07, 0x01}).end();
    TrackBuilder first;
    first.event(96, {0x91, 0x3C, 0x64}).event(0, {0xB1, 0x0A, 0x20}).end();
    TrackBuilder second;
    second.event(0, {0x92, 0x30, 0x64}).event(96, {0x82, 0x30, 0x00}).end(10);
    const MidiSong song = parseOk(smf(1, 96, {conductor.bytes(), first.bytes(), second.bytes()}));
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.trackCount, 3);
    ASSERT_EQ(song.events.size(), 5u);
    const uint8_t statuses[] = {0x92, 0xB0, 0x91, 0xB1, 0x82};
    const uint16_t tracks[] = {2, 0, 1, 1, 2};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(song.events[i].status, statuses[i]);
        EXPECT_EQ(song.events[i].track, tracks[i]);
    }
    // The conductor track's tempo (240 BPM) times the other tracks too: 96 ticks = 0.25 s.
    EXPECT_EQ(song.events[4].frame, 11025);
    EXPECT_EQ(song.endTick, 106u);
}

TEST(MidiFileReader, SmpteDivisionIgnoresTempo) {
    TrackBuilder t;
    t.tempo(0, 1000000).event(1500, {0x90, 0x3C, 0x64}).end();
    // 25 frames per second × 40 ticks: one tick per millisecond.
    MidiSong song = parseOk(smf(0, 0xE728, {t.bytes()}));
    EXPECT_TRUE(song.smpte);
    EXPECT_EQ(song.smpteFormat, 25);
    EXPECT_EQ(song.ticksPerFrame, 40);
    ASSERT_EQ(song.events.size(), 1u);
    EXPECT_EQ(song.events[0].frame, 66150);

    TrackBuilder d;
    d.event(3000, {0x90, 0x3C, 0x64}).end();
    // 29.97 frames per second × 100 ticks: 3000 ticks = 1.001 s.
    song = parseOk(smf(0, 0xE364, {d.bytes()}));
    EXPECT_EQ(song.smpteFormat, 29);
    ASSERT_EQ(song.events.size(), 1u);
    EXPECT_EQ(song.events[0].frame, 44144);
    song = parseOk(smf(0, 0xE250, {d.bytes()}));  // 30 × 80
    EXPECT_EQ(song.events[0].frame, 55125);
}

TEST(MidiFileReader, SysExInBothForms) {
    TrackBuilder t;
    t.sysEx(0, 0xF0, {0x7D, 0x10, 0x23, 0x01, 0xF7})  // whole message
        .sysEx(10, 0xF0, {0x7D, 0x10, 0x23})          // first packet
        .event(5, {0x90, 0x3C, 0x64})                 // a note between the packets
        .sysEx(5, 0xF7, {0x04, 0x05, 0xF7})           // continuation that closes it, tick 20
        .sysEx(0, 0xF7, {0xF8, 0xFA})                 // escaped real-time bytes: no message
        .sysEx(0, 0xF7, {0xF0, 0x7D, 0x01, 0xF7})     // escaped complete message
        .sysEx(3, 0xF0, {0x7D, 0x11})                 // never closed: dropped
        .end();
    const MidiSong song = parseOk(smf(0, 96, {t.bytes()}));
    ASSERT_EQ(song.events.size(), 4u);
    EXPECT_EQ(song.events[0].status, 0xF0);
    EXPECT_EQ(song.events[0].tick, 0u);
    EXPECT_EQ(sysExOf(song, song.events[0]), (Bytes{0x7D, 0x10, 0x23, 0x01, 0xF7}));
    EXPECT_EQ(song.events[1].status, 0x90);
    EXPECT_EQ(song.events[1].tick, 15u);
    EXPECT_EQ(song.events[2].tick, 20u);
    EXPECT_EQ(sysExOf(song, song.events[2]), (Bytes{0x7D, 0x10, 0x23, 0x04, 0x05, 0xF7}));
    EXPECT_EQ(sysExOf(song, song.events[3]), (Bytes{0x7D, 0x01, 0xF7}));

    // A message longer than 256 bytes after F0 is cut to its first 256.
    Bytes longMessage;
    for (int i = 0; i < 299; ++i) longMessage.push_back(static_cast<uint8_t>(i & 0x7F));
    longMessage.push_back(0xF7);
    TrackBuilder l;
    l.sysEx(0, 0xF0, Bytes(longMessage.begin(), longMessage.begin() + 200))
        .sysEx(0, 0xF7, Bytes(longMessage.begin() + 200, longMessage.end()))
        .end();
    const MidiSong cut = parseOk(smf(0, 96, {l.bytes()}));
    ASSERT_EQ(cut.events.size(), 1u);
    EXPECT_EQ(cut.events[0].sysExLength, 256);
    EXPECT_EQ(sysExOf(cut, cut.events[0]), Bytes(longMessage.begin(), longMessage.begin() + 256));
}

TEST(MidiFileReader, MetaEventsAndUnknownChunksAreIgnored) {
    TrackBuilder t;
    t.event(0, {0xFF, 0x03, 0x05, 'P', 'i', 'a', 'n', 'o'})
        .event(0, {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08})
        .event(0, {0xFF, 0x59, 0x02, 0x00, 0x00})
        .event(0, {0xFF, 0x7F, 0x03, 0x00, 0x00, 0x41})
        .event(10, {0x90, 0x3C, 0x64})
        .event(0, {0xFF, 0x06, 0x01, 'A'})
        .event(0, {0x3C, 0x00})  // running status survives the meta event
        .end(190);
    Bytes file = smf(0, 96, {});
    file[11] = 1;  // one track, after an unknown chunk
    file.insert(file.end(), {'X', 'y', 'z', 'w', 0, 0, 0, 3, 1, 2, 3});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    tooltest::putBe(file, static_cast<uint32_t>(t.bytes().size()), 4);
    file.insert(file.end(), t.bytes().begin(), t.bytes().end());
    const MidiSong song = parseOk(file);
    ASSERT_EQ(song.events.size(), 2u);
    EXPECT_EQ(song.events[1].status, 0x90);
    EXPECT_EQ(song.events[1].data2, 0);
    EXPECT_TRUE(song.tempoMap.empty());
    EXPECT_EQ(song.endTick, 200u);
}

TEST(MidiFileReader, MalformedFilesGiveErrors) {
    const Bytes good = TrackBuilder().event(0, {0x90, 0x3C, 0x64}).end().bytes();
    Bytes badHeaderLength = smf(0, 96, {good});
    badHeaderLength[7] = 5;
    Bytes claimsTooMuch = smf(0, 96, {good});
    claimsTooMuch[21] = static_cast<uint8_t>(claimsTooMuch[21] + 1);
    struct Case {
        const char* name;
        Bytes file;
        const char* inMessage;
    };
    const Case cases[] = {
        {"empty", {}, "MThd"},
        {"not a MIDI file", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, "MThd"},
        {"header cut short", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}, "MThd"},
        {"header length 5", badHeaderLength, "header"},
        {"format 2", smf(2, 96, {good}), "format 2"},
        {"format 3", smf(3, 96, {good}), "format"},
        {"format 0 with two tracks", smf(0, 96, {good, good}), "format 0"},
        {"division 0", smf(0, 0, {good}), "division"},
        {"SMPTE 32 fps", smf(0, 0xE028, {good}), "SMPTE"},
        {"SMPTE 0 ticks", smf(0, 0xE700, {good}), "SMPTE"},
        {"track runs past the end", claimsTooMuch, "claims"},
        {"missing track", smf(1, 96, {good}, 2), "1 of 2"},
        {"long VLQ",
         smf(0, 96, {TrackBuilder().raw({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}).bytes()}),
         "longer than 4"},
        {"VLQ cut", smf(0, 96, {TrackBuilder().raw({0x81, 0x81}).bytes()}), "truncated"},
        {"running status first", smf(0, 96, {TrackBuilder().event(0, {0x3C, 0x64}).bytes()}),
         "running status"},
        {"channel message cut", smf(0, 96, {TrackBuilder().event(0, {0x90, 0x3C}).bytes()}), "truncated"},
        {"data byte with high bit", smf(0, 96, {TrackBuilder().event(0, {0x90, 0x3C, 0x94}).bytes()}),
         "data byte"},
        {"delta without event", smf(0, 96, {TrackBuilder().raw({0x00}).bytes()}), "delta"},
        {"meta too long", smf(0, 96, {TrackBuilder().event(0, {0xFF, 0x01, 0x7F, 'a'}).bytes()}),
         "runs past"},
        {"meta without type", smf(0, 96, {TrackBuilder().event(0, {0xFF}).bytes()}), "meta"},
        {"SysEx too long", smf(0, 96, {TrackBuilder().event(0, {0xF0, 0x8F, 0x7F, 0x01}).bytes()}),
         "runs past"},
        {"tempo of 2 bytes", smf(0, 96, {TrackBuilder().event(0, {0xFF, 0x51, 0x02, 0x07, 0xA1}).bytes()}),
         "tempo"},
        {"tempo 0", smf(0, 96, {TrackBuilder().tempo(0, 0).bytes()}), "tempo of 0"},
        {"system common status", smf(0, 96, {TrackBuilder().event(0, {0xF4, 0x00}).bytes()}), "0xF4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MidiSong song;
        song.events.resize(3);
        const MidiFileResult r = readMidiFile(c.file.data(), c.file.size(), song);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(c.inMessage), std::string::npos) << r.message;
        EXPECT_TRUE(song.events.empty());
    }
    MidiSong song;
    const MidiFileResult missing = readMidiFile("/nonexistent/dir/song.mid", song);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace velt::corvane::tools
