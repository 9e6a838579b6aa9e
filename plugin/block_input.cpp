#include "plugin/block_input.h"

#include <algorithm>
#include <cmath>

#include "plugin/parameter_ids.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"

namespace velt::corvane::plugin {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// value × range + 0.5, truncated; a host's value outside 0..1 (or NaN) is held to it.
int32_t scaled(ParamValue value, int32_t range) {
    if (!(value >= 0.0)) value = 0.0;
    if (value > 1.0) value = 1.0;
    return static_cast<int32_t>(value * range + 0.5);
}

int32_t offsetOf(int32 sampleOffset) {
    return std::max<int32>(sampleOffset, 0);
}

/// One mapped parameter's value as the MIDI message it stands for.
void queueMappedValue(util::MidiController& midi, ParamID id, int32_t at, ParamValue value) noexcept {
    const int32_t channel = (id >> 8) & 15;
    const int32_t number = id & 255;
    if (number < 128) {
        midi.queueControlChange(at, channel, number, scaled(value, 127));
    } else if (number == kPitchBendNumber) {
        const int32_t v = scaled(value, 16383);
        midi.queuePitchBend(at, channel, v & 127, (v >> 7) & 127);
    } else if (number == kProgramChangeNumber) {
        midi.queueProgramChange(at, channel, scaled(value, 127));
    }
}

/// A legacy controller event's data byte; hosts' values outside 0..127 are held to it.
int32_t dataByte(int8 v) {
    return std::clamp<int32_t>(v, 0, 127);
}

void queueLegacyController(util::MidiController& midi, int32_t at, const LegacyMIDICCOutEvent& e) noexcept {
    if (e.channel < 0 || e.channel > 15) return;
    if (e.controlNumber < 128) {
        midi.queueControlChange(at, e.channel, e.controlNumber, dataByte(e.value));
    } else if (e.controlNumber == Steinberg::Vst::kPitchBend) {
        midi.queuePitchBend(at, e.channel, dataByte(e.value), dataByte(e.value2));
    } else if (e.controlNumber == Steinberg::Vst::kCtrlProgramChange) {
        midi.queueProgramChange(at, e.channel, dataByte(e.value));
    }
    // Channel pressure (128) and the rest carry nothing this instrument plays.
}

}  // namespace

void queueParameterChanges(IParameterChanges* changes, util::MidiController& midi, ModuleRack& rack,
                           bool& bypass) noexcept {
    if (!changes) return;
    const int32 count = changes->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        IParamValueQueue* queue = changes->getParameterData(i);
        if (!queue) continue;
        const int32 points = queue->getPointCount();
        if (points < 1) continue;
        const ParamID id = queue->getParameterId();

        if (id == kBypassId) {
            // A switch: only where it ends up in this block counts.
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(points - 1, offset, value) != kResultOk) continue;
            if (value == 1.0) {
                if (!bypass) rack.deactivateAll();
                bypass = true;
                return;
            }
            if (bypass) rack.activateAll();
            bypass = false;
            continue;
        }
        if ((id & kMidiParamBase) == 0) continue;
        // Every point is a MIDI message of its own (two data entries, a controller sweep):
        // the queue puts them in offset order, and equal offsets in the order read here.
        for (int32 k = 0; k < points; ++k) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(k, offset, value) != kResultOk) continue;
            queueMappedValue(midi, id, offsetOf(offset), value);
        }
    }
}

void queueEvents(IEventList* events, util::MidiController& midi) noexcept {
    if (!events) return;
    const int32 count = events->getEventCount();
    for (int32 i = 0; i < count; ++i) {
        Event e{};
        if (events->getEvent(i, e) != kResultOk) continue;
        const int32_t at = offsetOf(e.sampleOffset);
        switch (e.type) {
            case Event::kNoteOnEvent:
                if (e.noteOn.pitch < 0 || e.noteOn.pitch > 127) break;
                midi.queueNoteOn(at, e.noteOn.channel & 15, e.noteOn.pitch, scaled(e.noteOn.velocity, 127));
                break;
            case Event::kNoteOffEvent:
                if (e.noteOff.pitch < 0 || e.noteOff.pitch > 127) break;
                midi.queueNoteOff(at, e.noteOff.channel & 15, e.noteOff.pitch);
                break;
            case Event::kDataEvent:
                if (e.data.type != DataEvent::kMidiSysEx || !e.data.bytes || e.data.size < 1) break;
                // The record keeps the bytes after the leading 0xF0.
                midi.queueSysEx(at, e.data.bytes + 1,
                                static_cast<int32_t>(std::min<uint32>(e.data.size - 1, kSysExCapacity)));
                break;
            case Event::kLegacyMIDICCOutEvent: queueLegacyController(midi, at, e.midiCCOut); break;
            default: break;
        }
    }
}

}  // namespace velt::corvane::plugin
