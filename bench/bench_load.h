// What both sides of the benchmark render: N held, looping notes over 16 parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace velt::corvane::bench {

constexpr int32_t kRate = 48000;
constexpr int32_t kBlock = 256;
constexpr int32_t kBenchParts = 16;

/// What one timed render measured.
struct LoadResult {
    double cpuSeconds = 0.0;     ///< thread CPU time of the rendering only
    double audioSeconds = 0.0;   ///< length of the audio rendered
    int32_t voicesAtStart = 0;   ///< voices sounding before the first timed block
    int32_t voicesAtEnd = 0;     ///< voices sounding after the last timed block
    double lastBlockPeak = 0.0;  ///< largest output magnitude of the last block, a sign of life
    bool ok = false;             ///< the side ran and its voices held through the render

    /// Voices sounding, averaged over start and end.
    double voices() const { return 0.5 * (voicesAtStart + voicesAtEnd); }
    /// CPU nanoseconds per sounding voice and output frame; 0 when nothing sounded.
    double nsPerVoiceFrame() const {
        const double voiceFrames = voices() * audioSeconds * kRate;
        return voiceFrames > 0.0 ? cpuSeconds * 1e9 / voiceFrames : 0.0;
    }
};

/// Channel and key of note i of the pattern: up to 1024 notes, no channel holding a
/// key twice (a second equal note would end the first one on either side).
inline int32_t noteChannel(int32_t i) {
    return i % kBenchParts;
}
inline int32_t noteKey(int32_t i) {
    return 24 + ((i / kBenchParts) * 5 + i % kBenchParts) % 64;
}

/// Engine polyphony for n notes: max(n, 16) rounded up to a power of two, at most 1024.
inline int32_t enginePolyphony(int32_t n) {
    int32_t p = 16;
    while (p < n && p < 1024) p *= 2;
    return p;
}

inline double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

/// Renders the pattern through the engine; ok only when all notes sound throughout.
LoadResult renderCorvane(int32_t notes, double seconds);
/// True when the SoundFont file can be opened.
bool soundFontPresent(const char* soundFont);
/// Renders the pattern through FluidSynth; ok is false when it cannot run or goes silent.
LoadResult renderFluidSynth(int32_t notes, double seconds, const char* soundFont);

/// Heap growth and footprint of constructing one engine with the given voices.
struct EngineMemory {
    size_t heapBytes = 0;       ///< allocator's bytes in use after minus before
    size_t footprintBytes = 0;  ///< what the synthesizer reports it owns
};
EngineMemory measureEngineMemory(int32_t voices);

}  // namespace velt::corvane::bench
