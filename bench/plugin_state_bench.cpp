// plugin_state_bench [--quick]: how long a host waits for getState and setState of the built
// bundle while it processes on an audio thread of its own, while it is active without calling
// process, and while it is inactive. The state holds the ten demo samples.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/state_chunk.h"
#include "public.sdk/source/common/memorystream.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"
#include "tools/vst3host/vst3_processing.h"

using namespace Steinberg;
using namespace velt::corvane;

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const char* const kDemoWaves[] = {"bass.wav", "clap.wav", "epiano.wav", "hat-closed.wav", "hat-open.wav",
                                  "kick.wav", "lead.wav", "pad.wav",    "snare.wav",      "tom.wav"};

Bytes saveState(Vst::IComponent* component) {
    IPtr<MemoryStream> stream = owned(new MemoryStream);
    if (component->getState(stream) != kResultOk) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(stream->getData());
    return Bytes(p, p + stream->getSize());
}

tresult loadState(Vst::IComponent* component, const Bytes& bytes) {
    IPtr<MemoryStream> stream = owned(new MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return component->setState(stream);
}

/// A fresh instance's state with the demo samples in slots 0..9.
Bytes demoState(Vst::IComponent* component) {
    const Bytes fresh = saveState(component);
    state::MemorySource source(fresh.data(), fresh.size());
    state::StateChunk chunk;
    if (!state::readStateChunk(source, chunk).complete) return {};
    for (size_t i = 0; i < std::size(kDemoWaves); ++i) {
        state::SlotEntry& slot = chunk.slots[i];
        slot.present = true;
        slot.path = std::string(CORVANE_SOURCE_DIR) + "/resources/demo/" + kDemoWaves[i];
        slot.sampleRate = 44100.0f;
        slot.Pitch = 261.63f;
        slot.end = 4000;
    }
    return state::stateChunkBytes(chunk);
}

struct Timing {
    double medianMs = 0.0;
    double worstMs = 0.0;
};

template <typename Call>
Timing timeCalls(int count, Call call) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const auto from = Clock::now();
        call();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - from).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

void report(const char* hostState, const char* call, const Timing& t) {
    std::printf("%-22s %-9s median %7.3f ms   worst %7.3f ms\n", hostState, call, t.medianMs, t.worstMs);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int saves = quick ? 20 : 200;
    const int restores = quick ? 3 : 20;
    std::string error;
    auto module = tools::Vst3Module::load(CORVANE_BUNDLE_PATH, &error);
    auto instance = module ? tools::Vst3Instance::create(*module, &error) : nullptr;
    if (!instance) {
        std::fprintf(stderr, "plugin_state_bench: %s\n", error.c_str());
        return 1;
    }
    Vst::IComponent* component = instance->component();
    const Bytes demo = demoState(component);
    if (demo.empty() || loadState(component, demo) != kResultOk) {
        std::fprintf(stderr, "plugin_state_bench: the demo state would not load\n");
        return 1;
    }
    std::printf("state of %zu bytes, ten demo samples\n", demo.size());

    report("inactive", "getState", timeCalls(saves, [&] { saveState(component); }));
    report("inactive", "setState", timeCalls(restores, [&] { loadState(component, demo); }));

    tools::Vst3Processing processing(*instance);
    if (processing.prepare(48000.0, 256) != kResultOk) {
        std::fprintf(stderr, "plugin_state_bench: the processor would not start\n");
        return 1;
    }
    report("active, no process", "getState", timeCalls(saves, [&] { saveState(component); }));
    report("active, no process", "setState", timeCalls(restores, [&] { loadState(component, demo); }));

    // An audio thread at the pace of 256-frame periods at 48 kHz.
    std::atomic<bool> running{true};
    std::thread audio([&] {
        auto next = Clock::now();
        while (running.load()) {
            processing.processBlock(256, nullptr, nullptr);
            next += std::chrono::microseconds(5333);
            std::this_thread::sleep_until(next);
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    report("processing", "getState", timeCalls(saves, [&] { saveState(component); }));
    report("processing", "setState", timeCalls(restores, [&] { loadState(component, demo); }));
    running.store(false);
    audio.join();
    processing.stop();
    return 0;
}
