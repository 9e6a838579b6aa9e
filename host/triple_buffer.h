// Three buffers handed from one writer thread to one reader thread: the writer always
// has a buffer of its own to fill, the reader always sees the latest complete one,
// and neither ever waits.
#pragma once

#include <atomic>
#include <cstdint>

namespace velt::corvane::host {

template <typename T>
class TripleBuffer {
public:
    /// Before either thread starts: every buffer, for filling them with a first value.
    T& buffer(int32_t i) { return items_[i]; }

    /// Writer: the buffer that publish() will hand over.
    T& writeBuffer() { return items_[back_]; }
    /// Writer: makes writeBuffer() the latest and takes another buffer to fill next.
    void publish() noexcept { back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & kIndex; }

    /// Reader: the latest published buffer (or the one read before when nothing is new).
    const T& read() noexcept {
        if (middle_.load(std::memory_order_relaxed) & kFresh)
            front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
        return items_[front_];
    }
    /// Reader: the buffer read() returned last, without looking for a newer one.
    const T& lastRead() const noexcept { return items_[front_]; }

private:
    static constexpr int32_t kIndex = 3;
    static constexpr int32_t kFresh = 4;

    T items_[3];
    int32_t back_ = 0;
    int32_t front_ = 1;
    std::atomic<int32_t> middle_{2};
};

}  // namespace velt::corvane::host
