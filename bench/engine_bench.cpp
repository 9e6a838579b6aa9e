// engine_bench [--quick]: CPU cost per voice and frame of the engine and of
// FluidSynth on the same held, looping note pattern, and the engine's memory.
// Results go to stdout; per-run voice counts and warnings go to stderr.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/bench_load.h"

using namespace velt::corvane::bench;

namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

double median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t h = v.size() / 2;
    return v.size() % 2 ? v[h] : 0.5 * (v[h - 1] + v[h]);
}

struct SideStats {
    std::vector<double> nsPerVoiceFrame;
    std::vector<double> coreFraction;  // CPU seconds per second of audio
    bool ok = true;
};

void record(SideStats& side, const LoadResult& r) {
    side.ok = side.ok && r.ok;
    side.nsPerVoiceFrame.push_back(r.nsPerVoiceFrame());
    side.coreFraction.push_back(r.audioSeconds > 0.0 ? r.cpuSeconds / r.audioSeconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else {
            std::fprintf(stderr, "usage: %s [--quick]\n", argv[0]);
            return 2;
        }
    }
    const int repetitions = quick ? 1 : 5;
    const double seconds = quick ? 2.0 : 10.0;
    const char* env = std::getenv("CORVANE_BENCH_SOUNDFONT");
    const char* soundFont = env && *env ? env : kDefaultSoundFont;
    const bool fluid = soundFontPresent(soundFont);
    if (!fluid) std::printf("FluidSynth side skipped: SoundFont %s not found\n", soundFont);

    double engineCore1024 = 0.0, fluidCore1024 = 0.0;
    for (int32_t n : {16, 64, 256, 1024}) {
        SideStats engine, synth;
        for (int i = 0; i < repetitions; ++i) {
            const LoadResult c = renderCorvane(n, seconds);
            record(engine, c);
            std::fprintf(stderr, "run voices=%d rep=%d corvane_active=%d..%d cpu_s=%.4f peak=%.3f", n, i,
                         c.voicesAtStart, c.voicesAtEnd, c.cpuSeconds, c.lastBlockPeak);
            if (fluid) {
                const LoadResult f = renderFluidSynth(n, seconds, soundFont);
                record(synth, f);
                std::fprintf(stderr, " fluidsynth_active=%d..%d cpu_s=%.4f peak=%.3f", f.voicesAtStart,
                             f.voicesAtEnd, f.cpuSeconds, f.lastBlockPeak);
            }
            std::fprintf(stderr, "\n");
        }
        const double x = median(engine.nsPerVoiceFrame);
        if (fluid) {
            const double y = median(synth.nsPerVoiceFrame);
            std::printf(
                "voices=%d corvane_ns_per_voice_frame=%.3f fluidsynth_ns_per_voice_frame=%.3f ratio=%.3f\n",
                n, x, y, x > 0.0 ? y / x : 0.0);
        } else {
            std::printf(
                "voices=%d corvane_ns_per_voice_frame=%.3f fluidsynth_ns_per_voice_frame=n/a ratio=n/a\n", n,
                x);
        }
        if (!engine.ok) std::fprintf(stderr, "warning: not all %d engine notes sounded throughout\n", n);
        if (fluid && !synth.ok)
            std::fprintf(stderr, "warning: FluidSynth voices did not hold at voices=%d\n", n);
        if (n == 1024) {
            engineCore1024 = median(engine.coreFraction);
            fluidCore1024 = median(synth.coreFraction);
        }
    }
    if (fluid)
        std::printf("core_fraction voices=1024 corvane=%.4f fluidsynth=%.4f\n", engineCore1024,
                    fluidCore1024);
    else
        std::printf("core_fraction voices=1024 corvane=%.4f fluidsynth=n/a\n", engineCore1024);
    for (int32_t v : {128, 1024}) {
        const EngineMemory m = measureEngineMemory(v);
        std::printf("engine_memory voices=%d heap_bytes=%zu footprint_bytes=%zu\n", v, m.heapBytes,
                    m.footprintBytes);
    }
    return 0;
}
