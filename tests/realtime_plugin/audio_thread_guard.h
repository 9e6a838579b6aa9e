// Counts what a guarded stretch of one thread does that a real-time audio thread must not:
// allocate or free memory, take or wait for a lock, sleep, or make a blocking system call.
// The counting functions replace the C library's for the whole process (this library is
// linked before it); only the guarded thread's calls are counted.
#pragma once

#include <cstdint>
#include <string>

namespace rtguard {

/// Starts (stops) counting on the calling thread.
void begin();
void end();

struct Counts {
    int64_t allocations = 0;
    int64_t frees = 0;
    int64_t locks = 0;
    int64_t blockingCalls = 0;
    /// Name of the first counted call, for the failure message.
    std::string first;
};

/// What was counted since the last reset, on any guarded stretch.
Counts counts();
void reset();

}  // namespace rtguard
