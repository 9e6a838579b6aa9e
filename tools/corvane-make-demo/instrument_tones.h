// The looped instrument waveforms. Every partial that lasts into the loop makes a
// whole number of cycles in it, so the loop joins without a click.
#pragma once

#include "tools/corvane-make-demo/demo_sample.h"

namespace velt::corvane::tools {

/// Electric-piano tone, 262.5 Hz (168 frames a cycle) at 44100 Hz: bright tine attack, mellow loop.
DemoSample makeElectricPiano();
/// Band-limited saw bass, 90 Hz (245 frames a cycle) at 22050 Hz, with a closing filter in the attack.
DemoSample makeBass();
/// Soft pad of three detuned additive saws around 220 Hz at 22050 Hz; the whole 2 s file is the loop.
DemoSample makePad();
/// Bright lead between saw and square, 525 Hz (84 frames a cycle) at 44100 Hz.
DemoSample makeLead();

}  // namespace velt::corvane::tools
