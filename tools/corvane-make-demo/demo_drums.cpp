#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/demo_setup.h"
#include "tools/corvane-make-demo/demo_song.h"
#include "tools/corvane-make-demo/synth_helpers.h"

namespace velt::corvane::tools {

namespace {

constexpr double kHitBeats = 0.125;
constexpr double kOpenHatBeats = 0.5;

struct Hit {
    double beat;
    int32_t key;
    int32_t velocity;
};

class DrumWriter {
public:
    explicit DrumWriter(SmfTrack& track) : track_(track), humanize_(0x44524D53u) {}

    void hit(int32_t bar, double beat, int32_t key, int32_t velocity) {
        const double beats = key == kHatOpenKey ? kOpenHatBeats : kHitBeats;
        const int32_t v = velocity + static_cast<int32_t>(humanize_.white() * 4.0);
        track_.note(songTick(bar, beat), songTicks(beats), kDrumChannel, key, v);
    }

    void hits(int32_t bar, const Hit* list, int count) {
        for (int i = 0; i < count; ++i) hit(bar, list[i].beat, list[i].key, list[i].velocity);
    }

    /// Closed hats on every eighth, accented on the beat; openAt (≥ 0) opens one of them.
    void hats(int32_t bar, double until, double openAt) {
        for (int i = 0; i < 8 && i * 0.5 < until; ++i) {
            const double beat = i * 0.5;
            if (beat == openAt)
                hit(bar, beat, kHatOpenKey, 74);
            else
                hit(bar, beat, kHatClosedKey, i % 2 == 0 ? 80 : 58);
        }
    }

private:
    SmfTrack& track_;
    FixedNoise humanize_;
};

const Hit kIntroKicks[] = {{0, kKickKey, 112}, {2, kKickKey, 104}};
const Hit kVerseGroove[] = {
    {0, kKickKey, 112}, {1, kSnareKey, 100}, {2, kKickKey, 104}, {2.5, kKickKey, 92}, {3, kSnareKey, 104}};
const Hit kChorusGroove[] = {{0, kKickKey, 114},  {1, kSnareKey, 102}, {1, kClapKey, 90},
                             {1.5, kKickKey, 96}, {2, kKickKey, 106},  {2.75, kKickKey, 84},
                             {3, kSnareKey, 106}, {3, kClapKey, 94},   {3.75, kHatClosedKey, 44}};
const Hit kIntroFill[] = {
    {3, kSnareKey, 96}, {3.25, kSnareKey, 70}, {3.5, kHighTomKey, 96}, {3.75, kLowTomKey, 100}};
const Hit kVerseFill[] = {{3, kSnareKey, 104}, {3.5, kHighTomKey, 100}, {3.75, kLowTomKey, 104}};
const Hit kChorusFill[] = {
    {3, kHighTomKey, 100}, {3.25, kHighTomKey, 84}, {3.5, kLowTomKey, 104}, {3.75, kLowTomKey, 92}};
const Hit kFinalHit[] = {{0, kKickKey, 108}, {0, kHatOpenKey, 80}, {0, kClapKey, 90}};

template <int N>
constexpr int countOf(const Hit (&)[N]) {
    return N;
}

}  // namespace

SmfTrack buildDrumTrack() {
    SmfTrack t;
    addDrumSetup(t);
    DrumWriter d(t);
    for (int32_t bar = 1; bar <= 4; ++bar) {
        const bool fill = bar == 4;
        d.hits(bar, kIntroKicks, countOf(kIntroKicks));
        d.hats(bar, fill ? 3.0 : 4.0, -1.0);
        if (fill) d.hits(bar, kIntroFill, countOf(kIntroFill));
    }
    for (int32_t bar = 5; bar <= 8; ++bar) {
        const bool fill = bar == 8;
        d.hits(bar, kVerseGroove, fill ? 4 : countOf(kVerseGroove));
        d.hats(bar, fill ? 3.0 : 4.0, bar == 6 ? 3.5 : -1.0);
        if (fill) d.hits(bar, kVerseFill, countOf(kVerseFill));
    }
    for (int32_t bar = 9; bar <= 15; ++bar) {
        const bool fill = bar == 15;
        d.hits(bar, kChorusGroove, fill ? 6 : countOf(kChorusGroove));
        d.hats(bar, fill ? 3.0 : 4.0, bar % 2 == 0 ? 3.5 : -1.0);
        if (fill) d.hits(bar, kChorusFill, countOf(kChorusFill));
    }
    d.hits(16, kFinalHit, countOf(kFinalHit));
    return t;
}

}  // namespace velt::corvane::tools
