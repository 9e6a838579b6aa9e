// Heap taken by one engine: rack, synthesizer with its voices, MIDI input.
#include <malloc.h>

#include <memory>

#include "bench/bench_load.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::bench {

namespace {

// Large blocks come from mmap and show only in hblkhd, so both counts are summed.
size_t heapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

}  // namespace

EngineMemory measureEngineMemory(int32_t voices) {
    EngineMemory result;
    const size_t before = heapInUse();
    {
        auto rack = std::make_unique<ModuleRack>();
        auto synth = std::make_unique<synth::SynthesizerPCM>(440.0f, 0.8f);
        auto midi = std::make_unique<util::MidiController>();
        rack->setModule(0, midi.get());
        rack->setModule(1, synth.get());
        rack->setSampleRate(static_cast<float>(kRate));
        rack->setMaxBlockSize(kBlock);
        synth->setPolyphony(voices);
        rack->activateAll();
        const size_t after = heapInUse();
        result.heapBytes = after > before ? after - before : 0;
        result.footprintBytes = synth->memoryFootprint();
    }
    return result;
}

}  // namespace velt::corvane::bench
