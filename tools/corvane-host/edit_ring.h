// Parameter edits handed from the host's main thread to the JACK callback: a fixed
// single-producer, single-consumer ring, so that neither side waits or allocates.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "pluginterfaces/vst/vsttypes.h"

namespace velt::corvane::tools {

struct ParameterEdit {
    Steinberg::Vst::ParamID id = 0;
    double value = 0.0;
};

class EditRing {
public:
    static constexpr uint32_t kCapacity = 1024;

    /// Main thread only. False when the ring is full.
    bool push(const ParameterEdit& edit) noexcept {
        const uint32_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= kCapacity) return false;
        slots_[head % kCapacity] = edit;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    /// Audio thread only. False when the ring is empty.
    bool pop(ParameterEdit& edit) noexcept {
        const uint32_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire)) return false;
        edit = slots_[tail % kCapacity];
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    /// Main thread: every pushed edit has been popped.
    bool empty() const noexcept {
        return tail_.load(std::memory_order_acquire) == head_.load(std::memory_order_relaxed);
    }

private:
    std::array<ParameterEdit, kCapacity> slots_{};
    std::atomic<uint32_t> head_{0};
    std::atomic<uint32_t> tail_{0};
};

}  // namespace velt::corvane::tools
