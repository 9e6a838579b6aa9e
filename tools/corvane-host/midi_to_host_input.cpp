#include "tools/corvane-host/midi_to_host_input.h"

#include <climits>

namespace velt::corvane::tools {

namespace {

MidiInputResult result(bool added) {
    return added ? MidiInputResult::Taken : MidiInputResult::Full;
}

MidiInputResult addMapped(const MidiParameterMap& map, int32_t channel, int32_t number, int32_t offset,
                          double value, HostParameterChanges& params) {
    const int64_t id = map.id(channel, number);
    if (id < 0) return MidiInputResult::Ignored;
    return result(params.add(static_cast<Steinberg::Vst::ParamID>(id), offset, value));
}

}  // namespace

MidiInputResult addMidiMessage(const MidiParameterMap& map, uint32_t offset, const uint8_t* bytes,
                               size_t size, HostEventList& events, HostParameterChanges& params) noexcept {
    if (!bytes || size == 0 || offset > INT32_MAX) return MidiInputResult::Ignored;
    const uint8_t status = bytes[0];
    const auto at = static_cast<int32_t>(offset);
    if (status == 0xF0) return result(events.sysEx(at, bytes, static_cast<uint32_t>(size)));
    if (status < 0x80 || status >= 0xF0) return MidiInputResult::Ignored;
    const int32_t channel = status & 0x0F;
    const int32_t kind = status & 0xF0;
    const size_t needed = kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    if (size < needed) return MidiInputResult::Ignored;
    const int32_t data1 = bytes[1] & 127;
    const int32_t data2 = needed == 3 ? bytes[2] & 127 : 0;
    switch (kind) {
        case 0x90:
            // A note on of velocity 0 is the note off it means.
            if (data2 > 0) return result(events.noteOn(at, channel, data1, data2));
            return result(events.noteOff(at, channel, data1));
        case 0x80: return result(events.noteOff(at, channel, data1));
        case 0xB0: return addMapped(map, channel, data1, at, data2 / 127.0, params);
        case 0xE0:
            return addMapped(map, channel, kMappedPitchBend, at, (data2 * 128 + data1) / 16383.0, params);
        case 0xC0: return addMapped(map, channel, kMappedProgramChange, at, data1 / 127.0, params);
        default: return MidiInputResult::Ignored;  // poly and channel pressure: nothing it reads
    }
}

}  // namespace velt::corvane::tools
