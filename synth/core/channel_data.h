// The data bytes of channel messages held to what the handlers can take, wherever a
// message enters the engine (the event chain or the convenience entry points).
#pragma once

#include <cstdint>

#include "synth/core/midi_event.h"

namespace velt::corvane {

/// v held to 0..127: a 7-bit data value (velocity, controller value, pressure, bend byte).
inline int32_t clampData7(int32_t v) {
    return v < 0 ? 0 : (v > 127 ? 127 : v);
}

/// Limits data1 and data2 of a channel message by its status: identities (key, program)
/// keep their low 7 bits, values are clamped to 0..127; a controller number is left as
/// it is (numbers outside 0..127 name no handler and are skipped). Other statuses are
/// left alone. Values 0..127 pass unchanged.
void limitChannelData(MidiMessage& message);

}  // namespace velt::corvane
