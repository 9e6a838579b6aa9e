#include <cmath>

#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/demo_setup.h"
#include "tools/corvane-make-demo/demo_song.h"

namespace velt::corvane::tools {

namespace {

enum Gesture : uint8_t {
    kPlain = 0,
    kScoop = 1,    ///< slides up into the note from a semitone below
    kBendUp = 2,   ///< bends a whole tone up after it starts
    kVibrato = 4,  ///< modulation wheel rises after the onset
};

struct LeadNote {
    int32_t bar;
    double beat;
    double beats;
    int32_t key;
    uint8_t gestures;
};

const LeadNote kMelody[] = {
    {5, 0, 1.5, 76, kPlain},    {5, 1.5, 0.5, 74, kPlain},
    {5, 2, 1, 72, kPlain},      {5, 3, 1, 76, kPlain},
    {6, 0, 3, 77, kVibrato},    {6, 3, 0.5, 76, kPlain},
    {6, 3.5, 0.5, 74, kPlain},  {7, 0, 1.5, 74, kPlain},
    {7, 1.5, 0.5, 72, kPlain},  {7, 2, 1, 71, kPlain},
    {7, 3, 1, 74, kPlain},      {8, 0, 3, 71, kScoop | kVibrato},
    {8, 3, 1, 68, kPlain},      {9, 0, 0.5, 69, kPlain},
    {9, 0.5, 0.5, 72, kPlain},  {9, 1, 1.5, 77, kPlain},
    {9, 2.5, 0.5, 76, kPlain},  {9, 3, 1, 74, kPlain},
    {10, 0, 1, 74, kPlain},     {10, 1, 0.5, 71, kPlain},
    {10, 1.5, 0.5, 74, kPlain}, {10, 2, 2, 77, kBendUp | kVibrato},
    {11, 0, 1.5, 79, kPlain},   {11, 1.5, 0.5, 76, kPlain},
    {11, 2, 1, 71, kPlain},     {11, 3, 1, 76, kPlain},
    {12, 0, 3, 81, kVibrato},   {12, 3, 0.5, 79, kPlain},
    {12, 3.5, 0.5, 76, kPlain}, {13, 0, 1.5, 77, kPlain},
    {13, 1.5, 0.5, 76, kPlain}, {13, 2, 1, 74, kPlain},
    {13, 3, 1, 77, kPlain},     {14, 0, 1.5, 79, kPlain},
    {14, 1.5, 0.5, 77, kPlain}, {14, 2, 1, 74, kPlain},
    {14, 3, 1, 71, kPlain},     {15, 0, 1, 72, kPlain},
    {15, 1, 1, 69, kPlain},     {15, 2, 1, 71, kPlain},
    {15, 3, 1, 74, kPlain},     {16, 0, 3.75, 72, kScoop | kVibrato},
};

constexpr int32_t kBendCentre = 8192;
constexpr double kGap = 0.04;        // beats of air between notes
constexpr uint32_t kCurveStep = 10;  // ticks between bend or wheel messages
constexpr int32_t kVibratoDepth = 56;

/// Sends bend values along an ease-out curve from one value to another.
void bendGlide(SmfTrack& t, int32_t ch, uint32_t start, uint32_t length, int32_t from, int32_t to) {
    for (uint32_t dt = 0; dt <= length; dt += kCurveStep) {
        const double x = static_cast<double>(dt) / length;
        const double eased = 1.0 - (1.0 - x) * (1.0 - x);
        t.bend(start + dt, ch, from + static_cast<int32_t>(std::lround((to - from) * eased)));
    }
}

}  // namespace

SmfTrack buildLeadTrack() {
    const MelodicPart part = melodicPart(MelodicRole::Lead);
    const int32_t ch = part.channel;
    // Semitone in bend units at the part's bend range.
    const int32_t semitone = 8192 / part.bendRange;
    SmfTrack t;
    addMelodicSetup(t, part);
    int32_t accent = 0;
    for (const LeadNote& n : kMelody) {
        const uint32_t on = songTick(n.bar, n.beat);
        const uint32_t length = songTicks(n.beats - kGap);
        const int32_t velocity = 88 + (n.beat == 0.0 ? 8 : 0) + (accent++ % 3 == 0 ? 3 : 0);
        if (n.gestures & kScoop) {
            t.bend(on, ch, kBendCentre - semitone);
            bendGlide(t, ch, on + kCurveStep, songTicks(0.25), kBendCentre - semitone, kBendCentre);
        }
        t.note(on, length, ch, n.key, velocity);
        if (n.gestures & kBendUp) {
            bendGlide(t, ch, on + songTicks(0.25), songTicks(0.5), kBendCentre, kBendCentre + 2 * semitone);
            // Back to the centre as the note ends, before the next note starts.
            t.bend(songTick(n.bar, n.beat + n.beats), ch, kBendCentre);
        }
        if (n.gestures & kVibrato) {
            const uint32_t rise = on + songTicks(0.75);
            const uint32_t span = songTicks(1.0);
            for (uint32_t dt = 0; dt <= span; dt += 4 * kCurveStep)
                t.control(rise + dt, ch, 1, static_cast<int32_t>(kVibratoDepth * dt / span));
            t.control(on + length, ch, 1, 0);
        }
    }
    return t;
}

}  // namespace velt::corvane::tools
