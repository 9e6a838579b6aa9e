// The MIDI input module: a fixed pool of queued events, linked into the block's
// chain in offset order when the rack processes slot 0.
#pragma once

#include <cstdint>
#include <memory>

#include "synth/core/corvane_module.h"
#include "synth/core/midi_event.h"

namespace velt::corvane::util {

class MidiController final : public ICorvaneModule {
public:
    MidiController();
    MidiController(const MidiController&) = delete;
    MidiController& operator=(const MidiController&) = delete;
    ~MidiController() override = default;

    void setSampleRate(const float&) override {}
    void setMaxBlockSize(const int32_t&) override {}
    void reset() override { clearQueue(); }
    void systemReset() override { clearQueue(); }
    void attach(ModuleRack&) override { clearQueue(); }
    void detach() override { clearQueue(); }
    void setSuspended(bool) override { clearQueue(); }
    void reservedSlot8() override { clearQueue(); }
    void reservedSlot9() override { clearQueue(); }
    void deactivate() override { clearQueue(); }
    void activate() override { clearQueue(); }
    /// Audio thread: links the queued events into context.events in offset order; equal
    /// offsets stay in the order they were queued.
    void process(BlockContext& context) override;

    /// Takes the next pool record for a message at offset, or null when the pool is full.
    /// The record gets next = null, the controller's port mask, offset and status;
    /// the message fields keep what the record held before.
    MidiEvent* queueEvent(int32_t offset, int32_t status) noexcept;

    // Producers' shorthands; each returns false when the event was dropped.
    bool queueNoteOn(int32_t offset, int32_t channel, int32_t key, int32_t velocity) noexcept;
    bool queueNoteOff(int32_t offset, int32_t channel, int32_t key) noexcept;
    bool queueControlChange(int32_t offset, int32_t channel, int32_t controller, int32_t value) noexcept;
    bool queueProgramChange(int32_t offset, int32_t channel, int32_t program) noexcept;
    bool queueChannelPressure(int32_t offset, int32_t channel, int32_t value) noexcept;
    bool queuePolyPressure(int32_t offset, int32_t channel, int32_t key, int32_t value) noexcept;
    bool queuePitchBend(int32_t offset, int32_t channel, int32_t lsb, int32_t msb) noexcept;
    /// bytes: the message after its leading 0xF0; at most 256 bytes are kept.
    bool queueSysEx(int32_t offset, const uint8_t* bytes, int32_t length) noexcept;

    /// Resets every pool record and empties the queue.
    void clearQueue() noexcept;

    int32_t count() const { return count_; }
    int32_t capacity() const { return capacity_; }
    uint32_t portMask() const { return portMask_; }
    void setPortMask(uint32_t mask) { portMask_ = mask & 0xFFFF; }
    const MidiEvent& record(int32_t index) const { return pool_[index]; }

private:
    std::unique_ptr<MidiEvent[]> pool_;
    int32_t capacity_ = kEventQueueCapacity;
    int32_t count_ = 0;
    uint32_t portMask_ = 0xFFFF;
};

}  // namespace velt::corvane::util
