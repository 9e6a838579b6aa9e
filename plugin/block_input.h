// What the host sends with a block, turned into the engine's MIDI records.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"

namespace velt::corvane::plugin {

/// Queues every point of the MIDI-mapped parameters as MIDI and follows the bypass switch
/// (its last point): a change to on deactivates the rack and ends the reading. Audio thread.
void queueParameterChanges(Steinberg::Vst::IParameterChanges* changes, util::MidiController& midi,
                           ModuleRack& rack, bool& bypass) noexcept;

/// Queues note on, note off, SysEx and legacy controller events (control change, pitch
/// bend, program change) in the host's order; the rest is ignored. Audio thread.
void queueEvents(Steinberg::Vst::IEventList* events, util::MidiController& midi) noexcept;

}  // namespace velt::corvane::plugin
