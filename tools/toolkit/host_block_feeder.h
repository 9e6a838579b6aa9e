// A song's events turned into what a DAW sends the plug-in, one process call per block:
// notes and SysEx as events, controllers, pitch bend and program change as points of the
// MIDI-mapped parameters, each at its offset and in song order.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/toolkit/midi_file_reader.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tools {

/// Controller numbers a host maps per channel: 0..127, 128 pressure, 129 bend, 130 program.
constexpr int32_t kMappedControllers = 131;
constexpr int32_t kMappedPitchBend = 129;
constexpr int32_t kMappedProgramChange = 130;

/// The parameter id for each (channel, controller number), as the controller's MIDI mapping
/// answers; -1 where it names none.
class MidiParameterMap {
public:
    MidiParameterMap() { ids_.fill(-1); }
    void set(int32_t channel, int32_t number, Steinberg::Vst::ParamID id);
    /// -1 when unmapped or out of range.
    int64_t id(int32_t channel, int32_t number) const;

private:
    std::array<int64_t, 16 * kMappedControllers> ids_;
};

/// Records the processor's MIDI input holds between two renders of a block.
constexpr int32_t kProcessorQueueCapacity = 512;

class HostBlockFeeder {
public:
    /// events ascending by frame, sysExBytes their payloads; all three must outlive the feeder.
    /// Channel and poly pressure, and messages the map has no id for, are left out.
    HostBlockFeeder(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes,
                    const MidiParameterMap& map);

    /// Plans the block at blockStart of at most maxFrames (>= 1) frames and returns its length
    /// (>= 1): shorter only where more messages fall in it than the processor's queue or a
    /// parameter queue holds. Then fillBlock() fills its inputs.
    int32_t planBlock(int64_t blockStart, int32_t maxFrames);
    /// Puts the planned block's events and parameter points into the (cleared) lists, offsets
    /// relative to the block start. False when a list ran out of room (it needs the queue's capacity).
    bool fillBlock(HostEventList& events, HostParameterChanges& params) const;

    /// Events not yet planned into a block.
    size_t pending() const { return events_.size() - next_; }
    /// Controller, pitch-bend and program messages the map names no parameter for.
    size_t unmapped() const { return unmapped_; }

private:
    enum class Kind : uint8_t { Skipped, Event, Parameter };
    struct Planned {
        Kind kind = Kind::Skipped;
        int32_t dense = -1;  ///< parameter: index of its id among the song's ids
        Steinberg::Vst::ParamID id = 0;
        double value = 0.0;
        uint32_t sysExAt = 0;  ///< SysEx: first byte (the 0xF0) in hostSysEx_
    };

    bool fillOne(size_t i, HostEventList& events, HostParameterChanges& params) const;

    const std::vector<SongEvent>& events_;
    std::vector<Planned> planned_;
    std::vector<uint8_t> hostSysEx_;  ///< every SysEx message with its leading 0xF0
    std::vector<int32_t> pointsIn_;   ///< per dense id: points in the block being planned
    size_t next_ = 0;
    size_t blockFirst_ = 0;
    size_t blockEnd_ = 0;
    int64_t blockStart_ = 0;
    size_t unmapped_ = 0;
};

}  // namespace velt::corvane::tools
