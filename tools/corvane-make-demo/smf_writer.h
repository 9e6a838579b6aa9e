// A small Standard MIDI File writer: events are collected per track in any order
// and written sorted by tick, with a fixed order among events of the same tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::tools {

/// Order of events that share a tick: set-up first, note offs before controllers,
/// controllers (and bends, program changes) before note ons.
enum class SmfSlot : uint8_t { Setup = 0, NoteOff = 1, Control = 2, NoteOn = 3 };

/// One MTrk chunk in the making.
class SmfTrack {
public:
    /// A meta event (FF type length data).
    void meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data);
    /// A track-name meta event.
    void name(uint32_t tick, const std::string& text);
    /// A tempo meta event in microseconds per quarter note.
    void tempo(uint32_t tick, uint32_t microsPerQuarter);
    /// A time-signature meta event, numerator / 2^denominatorPower.
    void timeSignature(uint32_t tick, uint8_t numerator, uint8_t denominatorPower);
    /// A SysEx event: message holds everything after F0, its closing F7 included.
    void sysEx(uint32_t tick, const std::vector<uint8_t>& message);
    /// A note from tick for length ticks; the off is a note-off (8n) with velocity 64.
    void note(uint32_t tick, uint32_t length, int32_t channel, int32_t key, int32_t velocity);
    /// A control change.
    void control(uint32_t tick, int32_t channel, int32_t controller, int32_t value,
                 SmfSlot slot = SmfSlot::Control);
    /// A program change.
    void program(uint32_t tick, int32_t channel, int32_t program, SmfSlot slot = SmfSlot::Control);
    /// A pitch bend, 0 to 16383 with 8192 the centre.
    void bend(uint32_t tick, int32_t channel, int32_t value, SmfSlot slot = SmfSlot::Control);

    /// Moves the end-of-track to at least tick.
    void endAt(uint32_t tick) { endTick_ = tick > endTick_ ? tick : endTick_; }

    /// The chunk's payload: sorted events with delta times, ending with end-of-track
    /// at the latest tick used (or the one asked for by endAt, when later).
    std::vector<uint8_t> encode() const;

private:
    struct Event {
        uint32_t tick;
        SmfSlot slot;
        uint32_t sequence;
        std::vector<uint8_t> bytes;  ///< the event after its delta time
    };
    void add(uint32_t tick, SmfSlot slot, std::vector<uint8_t> bytes);
    std::vector<Event> events_;
    uint32_t endTick_ = 0;
};

/// The bytes of a format-1 file with the given division (ticks per quarter) and tracks.
std::vector<uint8_t> encodeSmf(const std::vector<SmfTrack>& tracks, uint16_t ticksPerQuarter);

/// Appends value as a variable-length quantity.
void putVlq(std::vector<uint8_t>& out, uint32_t value);

}  // namespace velt::corvane::tools
