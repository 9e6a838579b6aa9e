// Raw MIDI messages, as a JACK MIDI port delivers them, turned into what a host hands the
// processor: notes and SysEx as events, controllers, pitch bend and program change as the
// parameters the controller's MIDI mapping names, each at its frame offset.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/toolkit/host_block_feeder.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tools {

/// What became of one message.
enum class MidiInputResult : uint8_t {
    Taken,    ///< appended to the events or the parameter changes
    Ignored,  ///< a message the plug-in has no use for (pressure, clock, unmapped, malformed)
    Full,     ///< a list had no room: dropped
};

/// Appends the message bytes[0..size) at offset. SysEx is passed as a pointer to bytes,
/// which must stay valid until the block has been processed. Allocates nothing.
MidiInputResult addMidiMessage(const MidiParameterMap& map, uint32_t offset, const uint8_t* bytes,
                               size_t size, HostEventList& events, HostParameterChanges& params) noexcept;

}  // namespace velt::corvane::tools
