// The state of one part: 132 words, one record per MIDI channel.
#pragma once

#include <cstdint>

#include "synth/core/engine_limits.h"

namespace velt::corvane {

enum PartMode : int32_t { kModeMute = 0, kModeInstrument = 1, kModePercussion = 2, kModeSampler = 3 };

struct PartState {
    int32_t outputBus;        ///< stereo output 0..15
    int32_t mode;             ///< PartMode
    int32_t defaultMode;      ///< mode restored by a reset with restore
    int32_t program;          ///< 0..127
    int32_t channelPressure;  ///< 0..127
    int32_t pitchBend;        ///< 0..16383, centre 8192
    int32_t controllers[kStoredControllerCount];
    int32_t pitchBendRange;  ///< semitones 0..127
    int32_t reservedParameters[2];
    int32_t rpnSelect;  ///< bits 0-6 LSB, 7-13 MSB, 14 LSB seen, 15 MSB seen
    int32_t nrpnSelect;
    int32_t parameterIndex;  ///< entry of the parameter handlers, 256 = none

    /// Words 3..131 to their reset values; outputBus, mode and defaultMode kept.
    void resetPart();
    /// The controller-121 fields (no voice is told here).
    void resetControllers();
};

static_assert(sizeof(PartState) == 132 * sizeof(int32_t), "a part is 132 words");

}  // namespace velt::corvane
