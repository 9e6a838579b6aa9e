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

SynthesizerPCM::VoiceUnitPCM& SynthesizerPCM::pcmVoice(int32_t index) { return voiceArray_[index]; }

void SynthesizerPCM::setVoiceCount(const int32_t& count) {
    const int32_t n = count < 1 ? 1 : (count > kMaxVoices ? kMaxVoices : count);
    std::unique_ptr<VoiceUnitPCM[]> voices(new (std::nothrow) VoiceUnitPCM[n]);
    std::unique_ptr<VoiceUnitBase*[]> table(new (std::nothrow) VoiceUnitBase*[n]);
    if (!voices || !table || !tables_) return;  // keep the old pool when memory runs out
    const VoiceUnitBase::RenderFn* renderTable = renderPath_ == RenderPath::Reference
                                                     ? VoiceUnitPCM::kReferenceRenderTable
                                                     : VoiceUnitPCM::kOptimisedRenderTable;
    for (int32_t i = 0; i < n; ++i) {
        voices[i].bind(tables_.get(), parts_, tones_.get(), slots_.get(), samplers_.get(), masterVolume_,
                       renderTable);
        table[i] = &voices[i];
    }
    // The old pointer table goes first: it points into the old voice array.
    setVoiceTable(std::move(table), n);
    voiceArray_ = std::move(voices);
    voiceMask_ = n - 1;
    if (voiceCursor_ > voiceMask_) voiceCursor_ = 0;
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

void SynthesizerPCM::allocateVoice(MidiEvent& e) {
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
    const VoiceUnitBase::RenderFn* table =
        path == RenderPath::Reference ? VoiceUnitPCM::kReferenceRenderTable : VoiceUnitPCM::kOptimisedRenderTable;
    for (int32_t i = 0; i < voiceCount_; ++i) voiceArray_[i].setRenderTable(table);
}

size_t SynthesizerPCM::memoryFootprint() const {
    size_t bytes = sizeof(*this) + sizeof(SharedTables) + 128 * sizeof(float);
    bytes += kSampleSlotCount * sizeof(SampleData) + kPresetCount * (sizeof(TonePreset) + sizeof(SamplerPreset));
    bytes += static_cast<size_t>(voiceCount_) * (sizeof(VoiceUnitPCM) + sizeof(VoiceUnitBase*));
    for (int32_t i = 0; i < kSampleSlotCount; ++i)
        if (slots_[i].hasData)
            bytes += static_cast<size_t>(slots_[i].frameCount) * static_cast<size_t>(slots_[i].channels) *
                     sizeof(uint32_t);
    return bytes;
}

}  // namespace velt::corvane::synth
