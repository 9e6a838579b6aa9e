// The FluidSynth side of the benchmark: the same notes on a sustained, looping
// General MIDI program, without effects or interpolation.
#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "bench/bench_load.h"

namespace velt::corvane::bench {

namespace {

constexpr int kChurchOrgan = 19;  // GM program 20: sustained, looping samples

}  // namespace

bool soundFontPresent(const char* soundFont) {
    struct stat st {};
    return soundFont && stat(soundFont, &st) == 0 && S_ISREG(st.st_mode);
}

LoadResult renderFluidSynth(int32_t notes, double seconds, const char* soundFont) {
    LoadResult r;
    if (!soundFontPresent(soundFont)) return r;

    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return r;
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.polyphony", std::min(65535, std::max(64, 4 * notes)));
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_synth_t* synth = new_fluid_synth(settings);
    const int font = synth ? fluid_synth_sfload(synth, soundFont, 1) : FLUID_FAILED;
    if (font == FLUID_FAILED) {
        if (synth) delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return r;
    }
    fluid_synth_set_interp_method(synth, -1, FLUID_INTERP_NONE);
    bool programs = true;
    for (int c = 0; c < kBenchParts; ++c) {
        // Channel 10 is a drum channel by default; make it melodic, bank 0.
        fluid_synth_set_channel_type(synth, c, CHANNEL_TYPE_MELODIC);
        programs = programs && fluid_synth_program_select(synth, c, font, 0, kChurchOrgan) == FLUID_OK;
    }
    for (int32_t i = 0; i < notes; ++i) fluid_synth_noteon(synth, noteChannel(i), noteKey(i), 100);

    std::vector<float> left(kBlock), right(kBlock);
    fluid_synth_write_float(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1);
    const int64_t blocks = static_cast<int64_t>(seconds * kRate) / kBlock;
    r.voicesAtStart = fluid_synth_get_active_voice_count(synth);
    const double t0 = threadCpuSeconds();
    for (int64_t b = 0; b < blocks; ++b)
        fluid_synth_write_float(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1);
    r.cpuSeconds = threadCpuSeconds() - t0;
    r.voicesAtEnd = fluid_synth_get_active_voice_count(synth);
    for (int32_t i = 0; i < kBlock; ++i)
        r.lastBlockPeak = std::max({r.lastBlockPeak, static_cast<double>(std::fabs(left[i])),
                                    static_cast<double>(std::fabs(right[i]))});
    r.audioSeconds = static_cast<double>(blocks * kBlock) / kRate;
    r.ok = programs && r.voicesAtStart >= notes && r.voicesAtEnd == r.voicesAtStart;

    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return r;
}

}  // namespace velt::corvane::bench
