#include "synth/core/midi_event.h"

#include <cstring>

namespace velt::corvane {

MidiMessage::MidiMessage() {
    std::memset(sysExData, 0, sizeof sysExData);
}

void MidiMessage::reset() {
    status = kNoteOff;
    channel = 0;
    data1 = 0;
    data2 = 0;
    sysExLength = 0;
}

void MidiEvent::reset() {
    MidiMessage::reset();
    portMask = 0xFFFF;
    next = nullptr;
    offset = 0;
}

}  // namespace velt::corvane
