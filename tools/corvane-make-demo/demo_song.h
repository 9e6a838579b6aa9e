// The demo song: a tempo track and one track per part, sixteen bars in A minor.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/corvane-make-demo/smf_writer.h"

namespace velt::corvane::tools {

/// All tracks of the song, the tempo track first.
std::vector<SmfTrack> buildDemoSong();

/// The tick of beat (0 to 4, quarters) in bar (1 to 16).
uint32_t songTick(int32_t bar, double beat);
/// A duration of beats quarters in ticks.
uint32_t songTicks(double beats);

/// The lead's track: melody with scoops, a bend up and vibrato by the modulation wheel.
SmfTrack buildLeadTrack();
/// The drum track: Sampler part on channel 10.
SmfTrack buildDrumTrack();

}  // namespace velt::corvane::tools
