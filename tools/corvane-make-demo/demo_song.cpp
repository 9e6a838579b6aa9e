#include "tools/corvane-make-demo/demo_song.h"

#include <cmath>

#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/demo_setup.h"
#include "tools/corvane-make-demo/synth_helpers.h"

namespace velt::corvane::tools {

namespace {

/// One chord of the progression, with the voicings each part plays.
struct ChordSpan {
    int32_t bar;
    double beat;
    double beats;
    int32_t piano[4];  ///< 0 ends the list
    int32_t pad[3];
    int32_t bassRoot;
};

// Am F C G | Am F G E | F G Em Am | Dm G F-G C
const ChordSpan kProgression[] = {
    {1, 0, 4, {57, 60, 64, 0}, {64, 69, 72}, 33},   {2, 0, 4, {57, 60, 65, 0}, {65, 69, 72}, 29},
    {3, 0, 4, {55, 60, 64, 0}, {64, 67, 72}, 36},   {4, 0, 4, {55, 59, 62, 0}, {62, 67, 71}, 31},
    {5, 0, 4, {57, 60, 64, 0}, {64, 69, 72}, 33},   {6, 0, 4, {57, 60, 65, 0}, {65, 69, 72}, 29},
    {7, 0, 4, {55, 59, 62, 0}, {62, 67, 71}, 31},   {8, 0, 4, {56, 59, 64, 0}, {64, 68, 71}, 28},
    {9, 0, 4, {57, 60, 65, 0}, {65, 69, 72}, 29},   {10, 0, 4, {55, 59, 62, 0}, {62, 67, 71}, 31},
    {11, 0, 4, {55, 59, 64, 0}, {64, 67, 71}, 28},  {12, 0, 4, {57, 60, 64, 0}, {64, 69, 72}, 33},
    {13, 0, 4, {57, 62, 65, 0}, {62, 65, 69}, 38},  {14, 0, 4, {55, 59, 65, 0}, {62, 67, 71}, 31},
    {15, 0, 2, {57, 60, 65, 0}, {65, 69, 72}, 29},  {15, 2, 2, {55, 59, 62, 0}, {62, 67, 71}, 31},
    {16, 0, 4, {55, 60, 64, 72}, {64, 67, 72}, 36},
};

constexpr int32_t kPadFirstBar = 5;

/// A hit of a rhythm pattern: start and length in beats, an interval above the root for the bass.
struct Hit {
    double beat;
    double beats;
    int32_t interval;
};

const Hit kPianoBar[] = {{0.0, 1.375, 0}, {1.5, 1.375, 0}, {3.0, 0.875, 0}};
const Hit kPianoHalf[] = {{0.0, 1.375, 0}, {1.5, 0.4, 0}};
const Hit kBassBar[] = {{0.0, 0.875, 0}, {1.5, 0.375, 0}, {2.0, 0.875, 0}, {3.0, 0.375, 12}, {3.5, 0.4, 7}};
const Hit kBassHalf[] = {{0.0, 0.875, 0}, {1.0, 0.4, 12}, {1.5, 0.4, 0}};

bool isFinal(const ChordSpan& c) {
    return c.bar == 16;
}

SmfTrack buildTempoTrack() {
    SmfTrack t;
    t.name(0, "Corvane demo");
    // A one-beat set-up bar, then 4/4.
    t.timeSignature(0, 1, 2);
    t.tempo(0, 600000);  // 100 BPM
    t.timeSignature(kSongStartTick, 4, 2);
    t.meta(songTick(1, 0), 0x06, {'I', 'n', 't', 'r', 'o'});
    t.meta(songTick(5, 0), 0x06, {'V', 'e', 'r', 's', 'e'});
    t.meta(songTick(9, 0), 0x06, {'C', 'h', 'o', 'r', 'u', 's'});
    t.tempo(songTick(9, 0), 555556);   // 108 BPM
    t.tempo(songTick(16, 0), 652174);  // 92 BPM: a held-back last bar
    t.meta(songTick(16, 0), 0x06, {'E', 'n', 'd', 'i', 'n', 'g'});
    t.endAt(songTick(17, 0));
    return t;
}

SmfTrack buildPianoTrack() {
    const MelodicPart part = melodicPart(MelodicRole::EPiano);
    SmfTrack t;
    addMelodicSetup(t, part);
    FixedNoise humanize(0x4550544Bu);
    for (const ChordSpan& c : kProgression) {
        if (isFinal(c)) {
            for (int32_t key : c.piano)
                if (key != 0) t.note(songTick(c.bar, 0), songTicks(3.75), part.channel, key, 76);
            continue;
        }
        const bool half = c.beats < 4.0;
        const Hit* hits = half ? kPianoHalf : kPianoBar;
        const int count = half ? 2 : 3;
        for (int i = 0; i < count; ++i) {
            const int32_t accent = hits[i].beat == 0.0 ? 8 : 0;
            for (int32_t key : c.piano) {
                if (key == 0) continue;
                const int32_t velocity = 70 + accent + static_cast<int32_t>(humanize.white() * 6.0);
                t.note(songTick(c.bar, c.beat + hits[i].beat), songTicks(hits[i].beats), part.channel, key,
                       velocity);
            }
        }
    }
    return t;
}

SmfTrack buildBassTrack() {
    const MelodicPart part = melodicPart(MelodicRole::Bass);
    SmfTrack t;
    addMelodicSetup(t, part);
    for (const ChordSpan& c : kProgression) {
        if (isFinal(c)) {
            t.note(songTick(c.bar, 0), songTicks(3.5), part.channel, c.bassRoot, 100);
            continue;
        }
        const bool half = c.beats < 4.0;
        const Hit* hits = half ? kBassHalf : kBassBar;
        const int count = half ? 3 : 5;
        for (int i = 0; i < count; ++i) {
            const int32_t velocity = hits[i].interval == 0 ? 100 : 86;
            t.note(songTick(c.bar, c.beat + hits[i].beat), songTicks(hits[i].beats), part.channel,
                   c.bassRoot + hits[i].interval, velocity);
        }
    }
    return t;
}

SmfTrack buildPadTrack() {
    const MelodicPart part = melodicPart(MelodicRole::Pad);
    SmfTrack t;
    addMelodicSetup(t, part);
    for (const ChordSpan& c : kProgression) {
        if (c.bar < kPadFirstBar) continue;
        const double beats = isFinal(c) ? 3.9 : c.beats - 0.05;
        for (int32_t key : c.pad) t.note(songTick(c.bar, c.beat), songTicks(beats), part.channel, key, 88);
    }
    // Expression swells in over the first pad bar and fades over the last.
    for (int step = 0; step <= 16; ++step) {
        t.control(songTick(kPadFirstBar, step * 0.25), part.channel, 11, 40 + step * 60 / 16);
        t.control(songTick(16, step * 0.25), part.channel, 11, 100 - step * 50 / 16);
    }
    return t;
}

}  // namespace

uint32_t songTick(int32_t bar, double beat) {
    return static_cast<uint32_t>(kSongStartTick + (bar - 1) * kTicksPerBar) + songTicks(beat);
}

uint32_t songTicks(double beats) {
    return static_cast<uint32_t>(std::lround(beats * kTicksPerQuarter));
}

std::vector<SmfTrack> buildDemoSong() {
    std::vector<SmfTrack> tracks;
    tracks.push_back(buildTempoTrack());
    tracks.push_back(buildPianoTrack());
    tracks.push_back(buildBassTrack());
    tracks.push_back(buildPadTrack());
    tracks.push_back(buildLeadTrack());
    tracks.push_back(buildDrumTrack());
    return tracks;
}

}  // namespace velt::corvane::tools
