#include "tools/toolkit/block_scheduler.h"

#include <algorithm>

namespace velt::corvane::tools {

BlockScheduler::BlockScheduler(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes)
    : events_(events), sysExBytes_(sysExBytes) {}

void BlockScheduler::queueOne(util::MidiController& midi, const SongEvent& e, int32_t offset) noexcept {
    const int32_t channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
        case 0x80: midi.queueNoteOff(offset, channel, e.data1); break;
        case 0x90:
            // Velocity 0 stays a note on: the engine itself treats it as a note off.
            midi.queueNoteOn(offset, channel, e.data1, e.data2);
            break;
        case 0xA0: midi.queuePolyPressure(offset, channel, e.data1, e.data2); break;
        case 0xB0: midi.queueControlChange(offset, channel, e.data1, e.data2); break;
        case 0xC0: midi.queueProgramChange(offset, channel, e.data1); break;
        case 0xD0: midi.queueChannelPressure(offset, channel, e.data1); break;
        case 0xE0: midi.queuePitchBend(offset, channel, e.data1, e.data2); break;
        case 0xF0:
            if (size_t{e.sysExOffset} + e.sysExLength <= sysExBytes_.size())
                midi.queueSysEx(offset, sysExBytes_.data() + e.sysExOffset, e.sysExLength);
            break;
        default: break;
    }
}

int32_t BlockScheduler::queueBlock(util::MidiController& midi, int64_t blockStart,
                                   int32_t maxFrames) noexcept {
    const int32_t frames = std::max(maxFrames, 0);
    const size_t room = static_cast<size_t>(std::max(midi.capacity() - midi.count(), 0));
    if (room == 0) return frames;
    const int64_t blockEnd = blockStart + frames;

    size_t end = next_;
    while (end < events_.size() && events_[end].frame < blockEnd && end - next_ < room) ++end;
    int32_t length = frames;
    if (end - next_ == room && end < events_.size() && events_[end].frame < blockEnd) {
        // The queue is full and an event of this block is left over: end the block
        // at that event's frame and keep back every event of that frame.
        const int64_t cut = std::max(events_[end].frame, blockStart);
        length = static_cast<int32_t>(cut - blockStart);
        if (length > 0) {
            while (end > next_ && events_[end - 1].frame >= cut) --end;
        }
    }

    for (size_t i = next_; i < end; ++i) {
        const SongEvent& e = events_[i];
        const int32_t offset = static_cast<int32_t>(std::clamp<int64_t>(e.frame - blockStart, 0, length));
        queueOne(midi, e, offset);
    }
    next_ = end;
    return length;
}

}  // namespace velt::corvane::tools
