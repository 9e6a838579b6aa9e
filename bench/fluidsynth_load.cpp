#include <fluidsynth.h>

#include <sys/stat.h>

#include <vector>

#include "bench/bench_load.h"

namespace velt::corvane::bench {

namespace {
constexpr int32_t kChurchOrgan = 19;  // GM program 20: sustained, looping samples
}

LoadResult renderFluidSynth(int32_t notes, double seconds, const char* soundFont) {
    LoadResult r;
    struct stat st {};
    if (!soundFont || stat(soundFont, &st) != 0) return r;

    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.polyphony", 65535);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth || fluid_synth_sfload(synth, soundFont, 1) == FLUID_FAILED) {
        if (synth) delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return r;
    }
    fluid_synth_set_interp_method(synth, -1, FLUID_INTERP_NONE);
    for (int32_t c = 0; c < 16; ++c) {
        fluid_synth_set_channel_type(synth, c, CHANNEL_TYPE_MELODIC);
        fluid_synth_program_change(synth, c, kChurchOrgan);
    }
    for (int32_t i = 0; i < notes; ++i) fluid_synth_noteon(synth, noteChannel(i), noteKey(i), 100);

    std::vector<float> left(kBlock), right(kBlock);
    fluid_synth_write_float(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1);
    const int64_t blocks = static_cast<int64_t>(seconds * kRate) / kBlock;
    const int before = fluid_synth_get_active_voice_count(synth);
    const double t0 = threadCpuSeconds();
    for (int64_t b = 0; b < blocks; ++b) fluid_synth_write_float(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1);
    r.cpuSeconds = threadCpuSeconds() - t0;
    const int after = fluid_synth_get_active_voice_count(synth);
    r.voices = 0.5 * (before + after);
    r.frames = blocks * kBlock;
    r.ok = before > 0 && after >= before / 2;

    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return r;
}

}  // namespace velt::corvane::bench
