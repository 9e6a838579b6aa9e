#include <cmath>
#include <memory>
#include <vector>

#include "bench/bench_load.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::bench {

namespace {

constexpr int32_t kSlots = 16;

// Slots of one to two seconds with a rich waveform, so that 16 parts together
// read about 4 MB of samples, as a real sound set does.
void fillSlot(SampleData& s, int32_t index) {
    const int32_t frames = 44100 + index * 2940;
    s.samples = new uint32_t[static_cast<size_t>(frames)];
    s.hasData = true;
    s.frameCount = frames;
    s.channels = 1;
    const double f = 220.0;
    for (int32_t i = 0; i < frames; ++i) {
        const double t = i / 44100.0;
        const double x = 0.5 * std::sin(2 * M_PI * f * t) + 0.2 * std::sin(2 * M_PI * 2 * f * t + index) +
                         0.1 * std::sin(2 * M_PI * 3 * f * t);
        s.samples[i] = linearToLogCode(x);
    }
    s.PlayBackEndPoint = s.LoopEndPoint = frames;
    setSampleRateFields(s, 44100.0f);
    setSamplePitch(s, static_cast<float>(f));
    setLoopPoints(s, frames / 4, frames);
}

}  // namespace

LoadResult renderCorvane(int32_t notes, double seconds) {
    ModuleRack rack;
    auto synth = std::make_unique<synth::SynthesizerPCM>(440.0f, 0.8f);
    util::MidiController midi;
    rack.setModule(0, &midi);
    rack.setModule(1, synth.get());
    rack.setSampleRate(static_cast<float>(kRate));
    rack.setMaxBlockSize(kBlock);
    rack.activateAll();
    synth->setPolyphony(notes < 16 ? 16 : notes);
    for (int32_t k = 0; k < kSlots; ++k) {
        fillSlot(synth->sampleSlot(k), k);
        TonePreset& t = synth->tonePreset(k);
        t.wave = k;
        t.ar = 127;
        t.sl = 0;
    }

    std::vector<float> buffer(static_cast<size_t>(kChannelCount) * kBlock);
    float* channels[kChannelCount];
    for (int32_t c = 0; c < kChannelCount; ++c) channels[c] = &buffer[static_cast<size_t>(c) * kBlock];
    auto block = [&] {
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        rack.processBlock(channels, kBlock);
    };

    for (int32_t c = 0; c < 16; ++c) midi.queueProgramChange(0, c, c);
    for (int32_t i = 0; i < notes; ++i) {
        if (midi.count() == midi.capacity()) block();
        midi.queueNoteOn(0, noteChannel(i), noteKey(i), 100);
    }
    block();

    LoadResult r;
    const int64_t blocks = static_cast<int64_t>(seconds * kRate) / kBlock;
    const int32_t before = synth->countActiveVoices();
    const double t0 = threadCpuSeconds();
    for (int64_t b = 0; b < blocks; ++b) block();
    r.cpuSeconds = threadCpuSeconds() - t0;
    r.voices = 0.5 * (before + synth->countActiveVoices());
    r.frames = blocks * kBlock;
    r.ok = before == notes;
    return r;
}

}  // namespace velt::corvane::bench
