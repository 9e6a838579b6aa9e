#include <malloc.h>

#include <memory>

#include "bench/bench_load.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::bench {

size_t engineHeapBytes(int32_t voices, size_t* footprint) {
    const size_t before = mallinfo2().uordblks;
    auto rack = std::make_unique<ModuleRack>();
    auto synth = std::make_unique<synth::SynthesizerPCM>(440.0f, 0.8f);
    auto midi = std::make_unique<util::MidiController>();
    rack->setModule(0, midi.get());
    rack->setModule(1, synth.get());
    synth->setPolyphony(voices);
    const size_t after = mallinfo2().uordblks;
    if (footprint) *footprint = synth->memoryFootprint() + sizeof(ModuleRack) + sizeof(util::MidiController) +
                                kEventQueueCapacity * sizeof(MidiEvent);
    return after - before;
}

}  // namespace velt::corvane::bench
