// A copy of the engine's records for the main thread: what getState saves, what
// replies report and what the editor draws, taken between blocks so it is never torn.
#pragma once

#include <array>
#include <cstdint>

#include "synth/core/engine_limits.h"
#include "synth/core/part_state.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::synth {
class SynthesizerPCM;
}

namespace velt::corvane::host {

/// A slot's numbers without its sample array.
struct SlotView {
    bool hasData = false;
    float sampleRate = 0.0f;
    float Pitch = 0.0f;
    int32_t frameCount = 0;
    int32_t channels = 0;
    int32_t rateLog = 0;
    int32_t pitchLog = 0;
    int32_t pitchOffset = 0;
    int32_t PlayBackStartPoint = 0;
    int32_t PlayBackEndPoint = 0;
    int32_t LoopEndPoint = 0;
    int32_t loopLength = 0;
    int32_t releaseLoopLength = 0;

    int32_t loopStartPoint() const { return loopLength > 0 ? LoopEndPoint - loopLength : 0; }
};

struct EngineView {
    uint64_t editsApplied = 0;  ///< queued edits applied before this copy was taken
    uint64_t publication = 0;   ///< how many copies the audio thread had published before this one
    float masterVolume = 0.0f;
    float masterTune = 0.0f;
    float sampleRate = 0.0f;
    bool acceptSysEx = false;
    bool nrpnEnabled = false;
    int32_t voiceCount = 0;
    int32_t activeVoices = 0;
    int32_t maxPartMode = 0;
    std::array<PartState, kPartCount> parts{};
    std::array<TonePreset, kPresetCount> tones{};
    std::array<SamplerPreset, kPresetCount> samplers{};
    std::array<SlotView, kSampleSlotCount> slots{};
};

/// Copies the synthesizer's records into view (editsApplied untouched). Allocates nothing.
void captureView(const synth::SynthesizerPCM& synth, EngineView& view) noexcept;

}  // namespace velt::corvane::host
