// One MIDI message with its frame offset, as the engine passes it around.
#pragma once

#include <cstdint>

#include "synth/core/engine_limits.h"

namespace velt::corvane {

/// Status values: the status byte with the channel bits cleared.
enum MidiStatus : int32_t {
    kNoteOff = 128,
    kNoteOn = 144,
    kPolyPressure = 160,
    kControlChange = 176,
    kProgramChange = 192,
    kChannelPressure = 208,
    kPitchBend = 224,
    kSystemExclusive = 240,
};

/// The message part of an event record.
class MidiMessage {
public:
    MidiMessage();
    virtual ~MidiMessage() = default;
    MidiMessage(const MidiMessage&) = default;
    MidiMessage& operator=(const MidiMessage&) = default;

    /// Restores the reset values; the SysEx bytes are left as they are.
    virtual void reset();

    int32_t status = kNoteOff;
    int32_t channel = 0;  ///< 0..15, selects the part
    int32_t data1 = 0;
    int32_t data2 = 0;
    int32_t sysExLength = 0;            ///< valid bytes in sysExData, 0..256
    uint8_t sysExData[kSysExCapacity];  ///< message after the leading 0xF0
};

/// A message placed in a block: its frame offset, port mask and chain link.
class MidiEvent : public MidiMessage {
public:
    MidiEvent() = default;
    void reset() override;

    uint32_t portMask = 0xFFFF;  ///< low 16 bits used
    MidiEvent* next = nullptr;   ///< not owning; null ends the chain
    int32_t offset = 0;          ///< frame inside the block
};

}  // namespace velt::corvane
