// engine_bench [--quick]: CPU cost per voice-frame of the engine and of FluidSynth
// on the same held, looping note pattern, and the engine's memory.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/bench_load.h"

using namespace velt::corvane::bench;

namespace {

double nsPerVoiceFrame(const LoadResult& r) {
    return r.voices > 0 && r.frames > 0 ? r.cpuSeconds * 1e9 / (r.voices * static_cast<double>(r.frames)) : 0.0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int repetitions = quick ? 1 : 5;
    const double seconds = quick ? 2.0 : 10.0;
    const char* env = std::getenv("CORVANE_BENCH_SOUNDFONT");
    const char* soundFont = env ? env : "/usr/share/sounds/sf2/TimGM6mb.sf2";

    double engineAt1024 = 0.0, fluidAt1024 = 0.0;
    for (int32_t n : {16, 64, 256, 1024}) {
        std::vector<double> engine, fluid;
        double fluidVoices = 0.0;
        bool engineOk = true, fluidOk = true;
        for (int i = 0; i < repetitions; ++i) {
            const LoadResult c = renderCorvane(n, seconds);
            engineOk = engineOk && c.ok;
            engine.push_back(nsPerVoiceFrame(c));
            const LoadResult f = renderFluidSynth(n, seconds, soundFont);
            fluidOk = fluidOk && f.ok;
            fluid.push_back(nsPerVoiceFrame(f));
            fluidVoices = f.voices;
        }
        const double x = median(engine), y = median(fluid);
        std::printf("voices=%d corvane_ns_per_voice_frame=%.3f fluidsynth_ns_per_voice_frame=%.3f ratio=%.3f\n", n, x,
                    fluidOk ? y : 0.0, fluidOk && x > 0 ? y / x : 0.0);
        if (!engineOk) std::printf("warning: not every engine note sounded at voices=%d\n", n);
        if (!fluidOk) std::printf("warning: FluidSynth side skipped or silent at voices=%d (%s)\n", n, soundFont);
        else if (fluidVoices != n) std::printf("note: FluidSynth sounded %.0f voices for %d notes\n", fluidVoices, n);
        if (n == 1024) {
            engineAt1024 = x;
            fluidAt1024 = y;
        }
    }
    std::printf("core_fraction voices=1024 corvane=%.3f fluidsynth=%.3f\n", engineAt1024 * 1e-9 * 1024 * kRate,
                fluidAt1024 * 1e-9 * 1024 * kRate);
    for (int32_t v : {128, 1024}) {
        size_t footprint = 0;
        const size_t heap = engineHeapBytes(v, &footprint);
        std::printf("engine_memory voices=%d heap_bytes=%zu footprint_bytes=%zu\n", v, heap, footprint);
    }
    return 0;
}
