#include "synth/core/channel_data.h"

namespace velt::corvane {

void limitChannelData(MidiMessage& m) {
    switch (m.status) {
        case kNoteOff:
        case kNoteOn:
        case kPolyPressure:
            m.data1 &= 127;
            m.data2 = clampData7(m.data2);
            break;
        case kControlChange: m.data2 = clampData7(m.data2); break;
        case kProgramChange: m.data1 &= 127; break;
        case kChannelPressure: m.data1 = clampData7(m.data1); break;
        case kPitchBend:
            m.data1 = clampData7(m.data1);
            m.data2 = clampData7(m.data2);
            break;
        default: break;
    }
}

}  // namespace velt::corvane
