// What both sides of the benchmark render: N held, looping notes over 16 parts.
#pragma once

#include <cstdint>
#include <ctime>

namespace velt::corvane::bench {

constexpr int32_t kRate = 48000;
constexpr int32_t kBlock = 256;

struct LoadResult {
    double cpuSeconds = 0.0;    ///< rendering only
    double voices = 0.0;        ///< voices sounding, averaged over the render
    int64_t frames = 0;
    bool ok = false;
};

/// Channel and key of note i of the pattern: up to 1024 notes, no channel holding a
/// key twice (FluidSynth would end the first of two equal notes).
inline int32_t noteChannel(int32_t i) { return i % 16; }
inline int32_t noteKey(int32_t i) { return 24 + ((i / 16) * 5 + i % 16) % 64; }

inline double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

/// Renders the pattern through the engine.
LoadResult renderCorvane(int32_t notes, double seconds);
/// Renders the pattern through FluidSynth; ok is false when the SoundFont is missing.
LoadResult renderFluidSynth(int32_t notes, double seconds, const char* soundFont);
/// Heap bytes that one engine (rack, synthesizer, MIDI input) takes with the given voices.
size_t engineHeapBytes(int32_t voices, size_t* footprint);

}  // namespace velt::corvane::bench
