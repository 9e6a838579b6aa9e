#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "fuzz/fuzz_bodies/small_wav.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/sample_import.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::fuzz {
namespace {

constexpr int32_t kBlockFrames = 128;
constexpr int32_t kMessagesPerBlock = 64;

struct SysExRig {
    synth::SynthesizerPCM synth{kDefaultMasterTune, kDefaultMasterVolume};
    util::MidiController midi;
    ModuleRack rack;
    std::vector<float> buffers[kChannelCount];
    float* channels[kChannelCount];

    SysExRig() {
        rack.setModule(0, &midi);
        rack.setModule(1, &synth);
        rack.setSampleRate(kDefaultSampleRate);
        rack.setMaxBlockSize(kBlockFrames);
        for (int32_t c = 0; c < kChannelCount; ++c) {
            buffers[c].assign(kBlockFrames, 0.0f);
            channels[c] = buffers[c].data();
        }
        synth.setAcceptSysEx(true);
        // Samples in a few slots, in mono and stereo, so that the notes afterwards sound.
        for (int32_t i = 0; i < 4; ++i) {
            const std::vector<uint8_t> wav = smallWav(1 + (i & 1), 16, 200);
            PreparedSample p = prepareSampleFromWav(wav.data(), wav.size(), i % 3);
            installPreparedSample(synth.sampleSlot(i), p);
        }
    }
    ~SysExRig() {
        rack.setModule(0, nullptr);
        rack.setModule(1, nullptr);
    }

    void renderBlock() {
        for (auto& b : buffers) std::fill(b.begin(), b.end(), 0.0f);
        rack.processBlock(channels, kBlockFrames);
    }
};

/// Queues one message as the processor does with a host's SysEx event: bytes from F0 to F7.
void queueMessage(util::MidiController& midi, int32_t offset, const std::vector<uint8_t>& message) {
    const int32_t length = std::min<int32_t>(static_cast<int32_t>(message.size()) - 1, kSysExCapacity);
    midi.queueSysEx(offset, message.data() + 1, length);
}

}  // namespace

int fuzzSysEx(const uint8_t* data, size_t size) {
    std::unique_ptr<SysExRig> rig(new (std::nothrow) SysExRig);
    if (!rig) return 0;

    std::vector<uint8_t> message;
    int32_t queued = 0;
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && data[end] != 0xF7) ++end;
        message.assign(1, 0xF0);
        const size_t first = data[at] == 0xF0 ? at + 1 : at;
        message.insert(message.end(), data + first, data + std::max(first, end));
        message.push_back(0xF7);
        queueMessage(rig->midi, (queued * 7) % kBlockFrames, message);
        if (++queued % kMessagesPerBlock == 0) rig->renderBlock();
        at = end + 1;
    }
    rig->renderBlock();

    // Play what the messages set up: a note on every part, held, then released.
    for (int32_t ch = 0; ch < kPartCount; ++ch) {
        rig->midi.queueNoteOn(ch, ch, 36 + 5 * ch, 100);
        rig->midi.queueNoteOn(ch + 1, ch, 60, 127);
    }
    rig->renderBlock();
    rig->renderBlock();
    for (int32_t ch = 0; ch < kPartCount; ++ch) {
        rig->midi.queueNoteOff(0, ch, 36 + 5 * ch);
        rig->midi.queueNoteOff(3, ch, 60);
    }
    rig->renderBlock();
    return 0;
}

}  // namespace velt::corvane::fuzz
