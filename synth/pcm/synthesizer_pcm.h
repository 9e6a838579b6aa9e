// The PCM synthesizer: sound data, PCM voices with their shared tables, rate
// constants, voice choice per note and SysEx reception.
#pragma once

#include <cstdint>
#include <memory>

#include "synth/core/multi_timber_synth_base.h"
#include "synth/pcm/rate_constants.h"
#include "synth/pcm/shared_tables.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::synth {

class SynthesizerPCM : public MultiTimberSynthBase {
public:
    class VoiceUnitPCM;

    /// A voice array with its pointer table, built off the audio thread.
    struct VoicePool {
        std::unique_ptr<VoiceUnitPCM[]> voices;
        std::unique_ptr<VoiceUnitBase*[]> table;
        int32_t count = 0;
    };

    /// Which family of render routines new notes use.
    enum class RenderPath { Optimised, Reference };

    SynthesizerPCM(const float& masterTune, const float& masterVolume);
    ~SynthesizerPCM() override;

    void setVoiceCount(const int32_t& count) override;
    /// Main thread: allocates count idle voices bound to this synthesizer (empty when out of memory).
    VoicePool prepareVoicePool(int32_t count) const;
    /// Audio thread (or while stopped): swaps the pool in without allocating, stops every
    /// voice, resets the cursor and retunes; returns the previous pool to be freed elsewhere.
    VoicePool installVoicePool(VoicePool pool) noexcept;
    void updateRates() override;
    void resetPresets() override;
    /// Starts the note on a voice of the pool, but only when its tone or sampler preset
    /// names a slot that can sound; otherwise no voice is searched, taken or stolen.
    void allocateVoice(MidiEvent& event) override;
    /// True when a note on of event's part and key would find a playable sample slot.
    bool noteCanSound(const MidiEvent& event) const;
    void receiveSysEx(MidiEvent& event) override;

    TonePreset* tonePresets() { return tones_.get(); }
    const TonePreset* tonePresets() const { return tones_.get(); }
    SamplerPreset* samplerPresets() { return samplers_.get(); }
    const SamplerPreset* samplerPresets() const { return samplers_.get(); }
    SampleData* sampleData() { return slots_.get(); }
    const SampleData* sampleData() const { return slots_.get(); }
    TonePreset& tonePreset(int32_t n) { return tones_[n & 127]; }
    SamplerPreset& samplerPreset(int32_t n) { return samplers_[n & 127]; }
    SampleData& sampleSlot(int32_t n) { return slots_[n & 127]; }

    const RateConstants& rates() const { return rates_; }
    const SharedTables& tables() const { return *tables_; }
    VoiceUnitPCM& pcmVoice(int32_t index);

    /// Tests compare the optimised render routines with the per-frame reference.
    void setRenderPath(RenderPath path);
    RenderPath renderPath() const { return renderPath_; }

    /// Bytes of memory owned by this synthesizer (tables, records, voices, samples).
    size_t memoryFootprint() const;

private:
    void storeRatesInVoices();

    std::unique_ptr<SharedTables> tables_;
    std::unique_ptr<SampleData[]> slots_;
    std::unique_ptr<TonePreset[]> tones_;
    std::unique_ptr<SamplerPreset[]> samplers_;
    std::unique_ptr<VoiceUnitPCM[]> voiceArray_;
    RateConstants rates_;
    RenderPath renderPath_ = RenderPath::Optimised;
};

}  // namespace velt::corvane::synth
