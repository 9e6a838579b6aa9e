// A fixed-capacity single-producer / single-consumer ring: the main thread pushes,
// the audio thread pops (or the other way round). Wait-free on both sides; no
// allocation after construction.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace velt::corvane {

template <typename T>
class SpscRing {
    static_assert(std::is_trivially_copyable_v<T>, "ring items are copied as plain bytes");

public:
    /// capacity is rounded up to a power of two; check valid() for the allocation.
    explicit SpscRing(size_t capacity) {
        size_t n = 1;
        while (n < capacity) n <<= 1;
        items_.reset(new (std::nothrow) T[n]);
        mask_ = items_ ? n - 1 : 0;
    }
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    bool valid() const { return items_ != nullptr; }
    size_t capacity() const { return items_ ? mask_ + 1 : 0; }

    /// Producer only. False when the ring is full; the item is not taken.
    bool push(const T& item) noexcept {
        if (!items_) return false;
        const size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) > mask_) return false;
        items_[head & mask_] = item;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    /// Consumer only. False when the ring is empty.
    bool pop(T& item) noexcept {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire)) return false;
        item = items_[tail & mask_];
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    /// Either side: items waiting at this moment (may be stale by one at once).
    size_t size() const noexcept {
        return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire);
    }

private:
    std::unique_ptr<T[]> items_;
    size_t mask_ = 0;
    alignas(64) std::atomic<size_t> head_{0};
    alignas(64) std::atomic<size_t> tail_{0};
};

}  // namespace velt::corvane
