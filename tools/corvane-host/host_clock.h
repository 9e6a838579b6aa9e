// Monotonic time for the host's loop, in milliseconds.
#pragma once

#include <cstdint>
#include <ctime>

namespace velt::corvane::tools {

/// Milliseconds of the monotonic clock, with fractions.
inline double monotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1.0e6;
}

}  // namespace velt::corvane::tools
