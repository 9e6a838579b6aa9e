#include "synth/pcm/synthesizer_pcm.h"

#include <new>

#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::synth {

SynthesizerPCM::SynthesizerPCM(const float& masterTune, const float& masterVolume)
    : MultiTimberSynthBase(masterTune, masterVolume),
      tables_(new (std::nothrow) SharedTables),
      slots_(new (std::nothrow) SampleData[kSampleSlotCount]),
      tones_(new (std::nothrow) TonePreset[kPresetCount]),
      samplers_(new (std::nothrow) SamplerPreset[kPresetCount]) {
    modelId_ = 0x23;
    maxPartMode_ = kModeSampler;
    if (tables_) tables_->build();
    resetPresets();
    setVoiceCount(kDefaultVoices);
    updateRates();
}

SynthesizerPCM::~SynthesizerPCM() = default;

SynthesizerPCM::VoiceUnitPCM& SynthesizerPCM::pcmVoice(int32_t index) {
    return voiceArray_[index];
}

SynthesizerPCM::VoicePool SynthesizerPCM::prepareVoicePool(int32_t count) const {
    VoicePool pool;
    const int32_t n = count < 1 ? 1 : (count > kMaxVoices ? kMaxVoices : count);
    pool.voices.reset(new (std::nothrow) VoiceUnitPCM[n]);
    pool.table.reset(new (std::nothrow) VoiceUnitBase*[n]);
    if (!pool.voices || !pool.table || !tables_) return VoicePool{};
    const VoiceUnitBase::RenderFn* renderTable = renderPath_ == RenderPath::Reference
                                                     ? VoiceUnitPCM::kReferenceRenderTable
                                                     : VoiceUnitPCM::kOptimisedRenderTable;
    // The voices point at the synthesizer's own records, which never move. Gain and rates
    // are left to installVoicePool: they may change on the audio thread meanwhile.
    auto* self = const_cast<SynthesizerPCM*>(this);
    for (int32_t i = 0; i < n; ++i) {
        pool.voices[i].bind(tables_.get(), self->parts_, self->tones_.get(), self->slots_.get(),
                            self->samplers_.get(), 0.0f, renderTable);
        pool.table[i] = &pool.voices[i];
    }
    pool.count = n;
    return pool;
}

SynthesizerPCM::VoicePool SynthesizerPCM::installVoicePool(VoicePool pool) noexcept {
    if (!pool.voices || !pool.table || pool.count < 1) return pool;
    VoicePool old;
    old.voices = std::move(voiceArray_);
    old.table = std::move(voices_);
    old.count = voiceCount_;
    voiceArray_ = std::move(pool.voices);
    voices_ = std::move(pool.table);
    voiceCount_ = pool.count;
    voiceMask_ = voiceCount_ - 1;
    voiceCursor_ = 0;
    allocatedVoice_ = -1;
    // The master volume may have changed since the pool was built.
    for (int32_t i = 0; i < voiceCount_; ++i) voiceArray_[i].masterGain = masterVolume_;
    updateRates();
    return old;
}

void SynthesizerPCM::setVoiceCount(const int32_t& count) {
    VoicePool pool = prepareVoicePool(count);
    if (!pool.voices) return;  // keep the old pool when memory runs out
    installVoicePool(std::move(pool));
}

void SynthesizerPCM::storeRatesInVoices() {
    for (int32_t i = 0; i < voiceCount_; ++i) {
        voiceArray_[i].setRates(rates_);
        voiceArray_[i].kill();
    }
}

void SynthesizerPCM::updateRates() {
    rates_ = computeRateConstants(sampleRate_, masterTune_);
    // Beyond 2^30 the envelope position could pass the sign bit within one frame.
    if (rates_.dampRate > (1 << 30) || rates_.dampRate < 1) rates_.dampRate = 1 << 30;
    storeRatesInVoices();
}

void SynthesizerPCM::resetPresets() {
    for (int32_t i = 0; voiceArray_ && i < voiceCount_; ++i) voiceArray_[i].kill();
    if (!tones_ || !samplers_ || !slots_) return;
    for (int32_t i = 0; i < kPresetCount; ++i) {
        resetTonePreset(tones_[i]);
        resetSamplerPreset(samplers_[i]);
    }
    for (int32_t i = 0; i < kSampleSlotCount; ++i) slots_[i].clear();
}

bool SynthesizerPCM::noteCanSound(const MidiEvent& e) const {
    const PartState& p = parts_[e.channel & 15];
    const int32_t slot =
        p.mode == kModeSampler ? samplers_[e.data1 & 127].smplNum : tones_[p.program & 127].wave;
    return slot >= 0 && slot < kSampleSlotCount && VoiceUnitPCM::canPlay(slots_[slot]);
}

void SynthesizerPCM::allocateVoice(MidiEvent& e) {
    // Such a note would stop at once: it must neither take an idle voice nor steal a sounding one.
    if (!noteCanSound(e)) {
        allocatedVoice_ = -1;
        return;
    }
    allocatedVoice_ = findVoiceForNote();
    if (allocatedVoice_ < 0) return;
    VoiceUnitPCM& v = voiceArray_[allocatedVoice_];
    v.renderPosition = e.offset;
    if (parts_[e.channel & 15].mode == kModeSampler)
        v.startSamplerNote(e.channel, e.data1, e.data2);
    else
        v.noteOn(e.channel, e.data1, e.data2);
}

void SynthesizerPCM::setRenderPath(RenderPath path) {
    renderPath_ = path;
    const VoiceUnitBase::RenderFn* table = path == RenderPath::Reference
                                               ? VoiceUnitPCM::kReferenceRenderTable
                                               : VoiceUnitPCM::kOptimisedRenderTable;
    for (int32_t i = 0; i < voiceCount_; ++i) voiceArray_[i].setRenderTable(table);
}

size_t SynthesizerPCM::memoryFootprint() const {
    size_t bytes = sizeof(*this) + sizeof(SharedTables) + 128 * sizeof(float);
    bytes +=
        kSampleSlotCount * sizeof(SampleData) + kPresetCount * (sizeof(TonePreset) + sizeof(SamplerPreset));
    bytes += static_cast<size_t>(voiceCount_) * (sizeof(VoiceUnitPCM) + sizeof(VoiceUnitBase*));
    for (int32_t i = 0; i < kSampleSlotCount; ++i)
        if (slots_[i].hasData)
            bytes += static_cast<size_t>(slots_[i].frameCount) * static_cast<size_t>(slots_[i].channels) *
                     sizeof(uint32_t);
    return bytes;
}

}  // namespace velt::corvane::synth
