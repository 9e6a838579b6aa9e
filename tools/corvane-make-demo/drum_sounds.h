// The drum one-shots, each faded to silence at its end; played at recorded speed.
#pragma once

#include "tools/corvane-make-demo/demo_sample.h"

namespace velt::corvane::tools {

/// Kick: falling sine sweep with a short click, 22050 Hz (gentle enough for the DPCM slew).
DemoSample makeKick();
/// Snare: two falling tones under high-passed noise, 44100 Hz.
DemoSample makeSnare();
/// Closed hi-hat: metallic squares and noise above 7 kHz, short, 44100 Hz.
DemoSample makeClosedHat();
/// Open hi-hat: the closed hat's sound with a long decay, 44100 Hz.
DemoSample makeOpenHat();
/// Clap: three band-passed noise bursts and a tail, 44100 Hz.
DemoSample makeClap();
/// Tom: low sine sweep with a soft stick noise, 22050 Hz.
DemoSample makeTom();

}  // namespace velt::corvane::tools
