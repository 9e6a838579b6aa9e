// The engine side of the benchmark: 16 parts, each on its own tone and sample slot.
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "bench/bench_load.h"
#include "synth/core/engine_limits.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::bench {

namespace {

constexpr double kSlotRate = 44100.0;
constexpr double kSlotPitch = 220.0;

// Slots of one to two seconds, so that the 16 parts together read about 4 MB of
// codes, as a real sound set does, rather than a few kilobytes that stay in L1.
bool fillSlot(SampleData& s, int32_t index) {
    const int32_t frames = 44100 + index * 2940;
    s.samples = new (std::nothrow) uint32_t[static_cast<size_t>(frames)];
    if (!s.samples) return false;
    s.hasData = true;
    s.frameCount = frames;
    s.channels = 1;
    const double w = 2.0 * M_PI * kSlotPitch / kSlotRate;
    for (int32_t i = 0; i < frames; ++i) {
        const double x =
            0.5 * std::sin(w * i) + 0.2 * std::sin(2.0 * w * i + index) + 0.1 * std::sin(3.0 * w * i);
        s.samples[i] = linearToLogCode(x);
    }
    s.PlayBackEndPoint = s.LoopEndPoint = frames;
    setSampleRateFields(s, static_cast<float>(kSlotRate));
    setSamplePitch(s, static_cast<float>(kSlotPitch));
    setLoopPoints(s, frames / 4, frames);
    return true;
}

}  // namespace

LoadResult renderCorvane(int32_t notes, double seconds) {
    LoadResult r;
    auto rack = std::make_unique<ModuleRack>();
    auto synth = std::make_unique<synth::SynthesizerPCM>(440.0f, 0.8f);
    auto midi = std::make_unique<util::MidiController>();
    rack->setModule(0, midi.get());
    rack->setModule(1, synth.get());
    rack->setSampleRate(static_cast<float>(kRate));
    rack->setMaxBlockSize(kBlock);
    rack->activateAll();
    if (synth->setPolyphony(enginePolyphony(notes)) != enginePolyphony(notes)) return r;
    for (int32_t k = 0; k < kBenchParts; ++k) {
        if (!fillSlot(synth->sampleSlot(k), k)) return r;
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
        rack->processBlock(channels, kBlock);
    };

    // Events at one offset arrive last-queued first, so the programs get a block of
    // their own ahead of the notes.
    for (int32_t c = 0; c < kBenchParts; ++c) midi->queueProgramChange(0, c, c);
    block();
    for (int32_t i = 0; i < notes; ++i) {
        if (midi->count() == midi->capacity()) block();
        midi->queueNoteOn(0, noteChannel(i), noteKey(i), 100);
    }
    block();

    const int64_t blocks = static_cast<int64_t>(seconds * kRate) / kBlock;
    r.voicesAtStart = synth->countActiveVoices();
    const double t0 = threadCpuSeconds();
    for (int64_t b = 0; b < blocks; ++b) block();
    r.cpuSeconds = threadCpuSeconds() - t0;
    r.voicesAtEnd = synth->countActiveVoices();
    for (float x : buffer) r.lastBlockPeak = std::max(r.lastBlockPeak, static_cast<double>(std::fabs(x)));
    r.audioSeconds = static_cast<double>(blocks * kBlock) / kRate;
    r.ok = r.voicesAtStart == notes && r.voicesAtEnd == notes;
    return r;
}

}  // namespace velt::corvane::bench
