// Edits of the engine as small fixed-size records, so that the main thread can hand
// them to the audio thread through a ring and the audio thread applies them
// between blocks without allocating or freeing anything.
#pragma once

#include <cstdint>

#include "synth/core/spsc_ring.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::synth {

enum class EditKind : uint8_t {
    MasterVolume,    ///< value
    MasterTune,      ///< value (Hz), then the rate update
    AcceptSysEx,     ///< a: 0 or 1
    NrpnEnabled,     ///< a: 0 or 1
    KillVoices,      ///< part (-1 every voice)
    DampVoices,      ///< part (-1 every voice)
    ResetAllParts,   ///< every voice stops; a: restore modes
    ResetPart,       ///< every voice stops; part reset; then mode Instrument
    PartOutput,      ///< part, a: bus
    PartMode,        ///< part, a: mode
    ProgramChange,   ///< part, a: program (damps the part's voices)
    PartBendRange,   ///< part, a: semitones (no voice is told)
    PitchBend,       ///< part, a: 14-bit value
    ControlChange,   ///< part, a: controller, b: value
    PartRecord,      ///< part, partFields: the stored fields of a restore
    TonePreset,      ///< index, tone
    SamplerPreset,   ///< index, sampler
    SlotParameters,  ///< index, slotFields: rates, pitch and points
    SlotSamples,     ///< index, samples: every voice stops, the array is swapped in
    VoicePool,       ///< pool: every voice stops, the pool is swapped in
    SlotRestore,     ///< index, restore: a saved slot's rates and points over its import
    SynthSuspended,  ///< a: 1 skips the synthesizer's rack slot, 0 resumes it (the holder applies it)
    ToneField,       ///< index, a: ToneField, b: value
    SamplerField,    ///< index, a: SamplerField, b: value
    ToneName,        ///< index, tone.presetName: the 16 name bytes only
    SamplerName,     ///< index, sampler.presetName: the 16 name bytes only
};

/// One field of a preset, so that an edit leaves the preset's other fields as the audio
/// thread holds them (a SysEx message may have changed them since the main thread looked).
enum ToneFieldId : int32_t {
    kToneStrc,
    kToneLfoFreq,
    kToneLms,
    kToneTune,
    kToneWave,
    kToneTl,
    kToneAr,
    kToneDr,
    kToneSl,
    kToneRr,
    kToneKf,
    kToneKfStart
};
enum SamplerFieldId : int32_t {
    kSamplerSmplNum,
    kSamplerPan,
    kSamplerOctv,
    kSamplerTune,
    kSamplerTl,
    kSamplerAr,
    kSamplerDr,
    kSamplerSl,
    kSamplerRr
};

/// The part fields that a restore writes directly.
struct PartFields {
    int32_t outputBus, defaultMode, mode, program, pitchBendRange, pitchBend;
    int32_t modulation, volume, pan, expression;
};

/// A slot's numbers apart from its sample array.
struct SlotFields {
    float sampleRate, Pitch;
    int32_t rateLog, pitchLog, pitchOffset;
    int32_t PlayBackStartPoint, PlayBackEndPoint, LoopEndPoint, loopLength, releaseLoopLength;
};

/// A saved slot's numbers, applied with the same rules as the editor's edits.
struct SlotRestoreFields {
    int32_t stage;  ///< 1 sampleRate, 2 + Pitch, 3 + start/end, 4 + loop
    float sampleRate, Pitch;
    int32_t start, end, loopStart, loopEnd;  ///< larger saved values arrive as INT32_MAX
};

/// A new sample array for a slot; ownership travels with the edit.
struct SlotSamples {
    uint32_t* codes;  ///< new[]-allocated, null for an empty slot
    int32_t frameCount, channels;
    SlotFields fields;
};

struct EngineEdit {
    EditKind kind;
    int32_t index;  ///< part, preset or slot; -1 where it means "all"
    int32_t a, b;
    float value;
    union {
        TonePreset tone;
        SamplerPreset sampler;
        PartFields partFields;
        SlotFields slotFields;
        SlotSamples samples;
        SlotRestoreFields restore;
        struct {
            SynthesizerPCM::VoiceUnitPCM* voices;
            MultiTimberSynthBase::VoiceUnitBase** table;
            int32_t count;
        } pool;
    };
};

/// What the audio thread hands back to be freed on the main thread.
struct EngineDisposal {
    uint32_t* codes = nullptr;
    SynthesizerPCM::VoiceUnitPCM* voices = nullptr;
    MultiTimberSynthBase::VoiceUnitBase** table = nullptr;
};

using EditRing = SpscRing<EngineEdit>;
using DisposalRing = SpscRing<EngineDisposal>;

/// Sets one field; unknown ids change nothing.
void setToneField(TonePreset& tone, int32_t field, int32_t value);
void setSamplerField(SamplerPreset& sampler, int32_t field, int32_t value);
/// The value of one field; 0 for an unknown field.
int32_t toneField(const TonePreset& tone, int32_t field);
int32_t samplerField(const SamplerPreset& sampler, int32_t field);
/// Reads a slot's numbers.
SlotFields slotFieldsOf(const SampleData& slot);
/// Writes a slot's numbers (not its array, frame count or channels).
void setSlotFields(SampleData& slot, const SlotFields& fields);
/// Builds the edit that swaps in a prepared pool (takes its ownership).
EngineEdit voicePoolEdit(SynthesizerPCM::VoicePool pool);
/// Applies one edit. Audio thread (or main thread while no block renders); allocates
/// nothing and frees nothing: replaced arrays go to disposals.
void applyEngineEdit(SynthesizerPCM& synth, EngineEdit& edit, DisposalRing& disposals) noexcept;
/// Main thread: frees what a disposal holds. Also frees what an edit still owns when
/// it is dropped unapplied.
void freeDisposal(const EngineDisposal& d);
void freeUnappliedEdit(const EngineEdit& edit);

}  // namespace velt::corvane::synth
