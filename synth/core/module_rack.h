// The container of the engine's modules; runs them in slot order once per block.
#pragma once

#include <array>
#include <cstdint>

#include "synth/core/corvane_module.h"
#include "synth/core/midi_event.h"

namespace velt::corvane {

class ModuleRack {
public:
    ModuleRack();
    ModuleRack(const ModuleRack&) = delete;
    ModuleRack& operator=(const ModuleRack&) = delete;

    /// Main thread. A rate below 1 is ignored; returns the stored rate.
    float setSampleRate(float rate);
    /// Main thread. A size below 1 is ignored.
    void setMaxBlockSize(int32_t frames);
    /// Main thread. Places module at index (null for index >= slotCount).
    ICorvaneModule* setModule(int32_t index, ICorvaneModule* module);
    /// Marks a slot skipped (or not) and tells its module.
    void setSlotSuspended(int32_t index, bool suspended);
    void activateAll();
    void deactivateAll();
    /// Audio thread: one block into the given channel pointers (kChannelCount entries).
    void processBlock(float** channels, int32_t frameCount) noexcept;

    const BlockContext& context() const { return context_; }
    int32_t slotCount() const { return slotCount_; }
    ICorvaneModule* module(int32_t index) const;
    bool isSlotSuspended(int32_t index) const;
    /// The chain head, for modules and tests that look at the block's events.
    MidiEvent& head() { return head_; }

private:
    MidiEvent head_;
    BlockContext context_;
    int32_t slotCount_ = kRackSlotCount;
    std::array<ICorvaneModule*, kRackSlotCount> modules_{};
    std::array<uint8_t, kRackSlotCount> disabled_{};
};

}  // namespace velt::corvane
