// One PCM voice: plays a sample slot without interpolation, shaped by a
// four-phase envelope and an optional LFO, all on log-amplitude codes.
#pragma once

#include <cstdint>

#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::synth {

class SynthesizerPCM::VoiceUnitPCM final : public MultiTimberSynthBase::VoiceUnitBase {
public:
    enum EnvelopePhase : int32_t {
        kEnvEnded = 0,
        kEnvAttack = 1,
        kEnvDecay = 2,
        kEnvSustain = 4,
        kEnvRelease = 8
    };
    static constexpr int32_t kRenderVariantCount = 8;

    VoiceUnitPCM() = default;

    void kill() override;
    void noteOff() override;
    void damp() override;
    /// Tone note start (Instrument and Percussion parts).
    void noteOn(const int32_t& channel, const int32_t& key, const int32_t& velocity) override;
    void setMasterVolume(const float& volume) override;
    void setBendRange(const int32_t& semitones) override;
    void setBend(const int32_t& value) override;
    void setModulation(const int32_t& value) override;
    void setVolume(const int32_t& value) override;
    void setExpression(const int32_t& value) override;
    void setPan(const int32_t& value) override;
    /// Sampler note start: the key picks the sampler preset, not the pitch.
    void startSamplerNote(const int32_t& channel, const int32_t& key, const int32_t& velocity);

    /// Binds the voice to its synthesizer's tables and records; leaves it idle.
    void bind(const SharedTables* tables, PartState* parts, TonePreset* tones, SampleData* slots,
              SamplerPreset* samplers, float masterGain, const RenderFn* table);
    void setRates(const RateConstants& rates);
    void setRenderTable(const RenderFn* table) { renderTable = table; }

    /// True when a note on slot can sound (it holds a sample array of a playable size).
    static bool canPlay(const SampleData& slot);

    /// Playback advance per output frame in 2^-18 frame for pitch value x (1/8192 octave).
    int32_t step(int32_t x) const;
    /// Envelope rate for parameter r (0..127) with a key-follow offset.
    int32_t rate(int32_t r, int32_t keyOffset) const;
    /// Runs the phase change; returns false when the envelope has ended.
    bool advanceEnvelope();

    /// The render routines: optimised and per-frame reference, in variant order.
    static const RenderFn kOptimisedRenderTable[kRenderVariantCount];
    static const RenderFn kReferenceRenderTable[kRenderVariantCount];

    // Gains and pan.
    const float* volumeCurve = nullptr;
    const float* expressionCurve = nullptr;
    const float* velocityCurve = nullptr;
    const float* panCurve = nullptr;
    float masterGain = 0.0f;
    int32_t panBase = 64;
    float panLeft = 0.0f, panRight = 0.0f;
    float volumeGain = 0.0f, expressionGain = 0.0f, velocityGain = 0.0f, velocityMaster = 0.0f;
    float baseGain = 0.0f, gainLeft = 0.0f, gainRight = 0.0f;
    const RenderFn* renderTable = nullptr;

    // Tables and records.
    const SharedTables* tables = nullptr;
    PartState* parts = nullptr;
    TonePreset* tones = nullptr;
    SampleData* slots = nullptr;
    SamplerPreset* samplers = nullptr;
    RateConstants rates;

    // LFO and bend.
    int32_t bendValue = 0, bendRangeLog = 0;
    int32_t lfoIndex = 0, lfoPhase = 0, lfoStep = 0, lfoDepth = 0, lms = 0;
    int32_t lfoPitch = 0, lfoLevel = 0;

    const uint32_t* samples = nullptr;

    // Envelope.
    int32_t envPhase = kEnvEnded;
    const int32_t* envTable = nullptr;
    uint32_t envPos = 0;
    int32_t envRate = 0, decayRate = 0, releaseRate = 0;
    int32_t sustainPos = 0, endPos = 0, phaseEnd = 0, sustainLevel = 0, tlCode = 0;

    // Pitch.
    int32_t basePitch = 0, bendPitch = 0;
    int32_t samplePos = 0, sampleFrac = 0, pitchStep = 0;

    // Loop, copied from the slot at note start.
    int32_t playEnd = 0, curEnd = 0, curLoop = 0, releaseLoop = 0;

private:
    /// Common part of both note starts: the slot's array and points. False: no sound.
    bool takeSlot(const SampleData& slot);
    void setGains(const PartState& p, int32_t velocity);
    void setEnvelope(int32_t tl, int32_t ar, int32_t dr, int32_t sl, int32_t rr, int32_t keyOffset);
    void recomputeGains();
    /// Moves an attack onto the log scale; false when that already ends the voice.
    bool releaseFromAttack();
};

}  // namespace velt::corvane::synth
