// Hands a song's events to the engine's MIDI input block by block, at their
// exact frames, splitting a block where the input queue would overflow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "synth/core/midi_controller.h"
#include "tools/toolkit/midi_file_reader.h"

namespace velt::corvane::tools {

class BlockScheduler {
public:
    /// events: ascending by frame (readMidiFile and assignFrames leave them so);
    /// sysExBytes: their SysEx payloads. Both must outlive the scheduler.
    BlockScheduler(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes);

    /// Queues into midi the events of the block that starts at blockStart and
    /// returns its length: maxFrames, or less when more events fall in it than
    /// the queue has room for (the block then ends at the first event left over),
    /// or 0 when more than that many share blockStart itself. Events of one
    /// frame reach the engine in song order. Allocates nothing.
    int32_t queueBlock(util::MidiController& midi, int64_t blockStart, int32_t maxFrames) noexcept;

    /// Events not yet queued.
    size_t pending() const { return events_.size() - next_; }

private:
    void queueOne(util::MidiController& midi, const SongEvent& e, int32_t offset) noexcept;

    const std::vector<SongEvent>& events_;
    const std::vector<uint8_t>& sysExBytes_;
    size_t next_ = 0;
};

}  // namespace velt::corvane::tools
