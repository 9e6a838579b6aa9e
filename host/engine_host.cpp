#include "host/engine_host.h"

#include <algorithm>
#include <new>

#include "host/engine_edit_builder.h"
#include "synth/pcm/sample_import.h"

namespace velt::corvane::host {

using synth::EditKind;
using synth::EngineEdit;

void copySlotNumbers(const SampleData& from, SampleData& to) {
    to.samples = nullptr;
    to.hasData = from.hasData;
    to.frameCount = from.frameCount;
    to.channels = from.channels;
    synth::setSlotFields(to, synth::slotFieldsOf(from));
}

EngineHost::EngineHost()
    : rack_(new (std::nothrow) ModuleRack),
      synth_(new (std::nothrow) synth::SynthesizerPCM(kDefaultMasterTune, kDefaultMasterVolume)),
      midiIn_(new (std::nothrow) util::MidiController),
      slotShadow_(new (std::nothrow) SampleData[kSampleSlotCount]) {
    if (rack_ && synth_) handoff_.reset(new (std::nothrow) EditHandoff(*rack_, *synth_));
    if (!valid()) return;
    for (int32_t i = 0; i < kSampleSlotCount; ++i) copySlotNumbers(synth_->sampleSlot(i), slotShadow_[i]);
    rack_->setModule(0, midiIn_.get());
    rack_->setModule(1, synth_.get());
    voiceCount_ = synth_->getVoiceCount();
}

EngineHost::~EngineHost() {
    // Unapplied edits and handed-back arrays go before the engine they were meant for.
    handoff_.reset();
    if (rack_) {
        rack_->setModule(0, nullptr);
        rack_->setModule(1, nullptr);
    }
}

bool EngineHost::valid() const {
    return rack_ && synth_ && midiIn_ && slotShadow_ && handoff_ && handoff_->valid();
}

void EngineHost::setSuspended(bool suspended) {
    // The rack is looked at only when it has a slot besides the MIDI input.
    if (rack_->slotCount() > 1) submit(edit(EditKind::SynthSuspended, 1, suspended ? 1 : 0));
}

void EngineHost::endLongEdit(int32_t clearMask) {
    const int32_t left = flags_.fetch_and(~clearMask, std::memory_order_relaxed) & ~clearMask;
    if (left == 0) setSuspended(false);
}

void EngineHost::stopAllVoices() {
    submit(edit(EditKind::KillVoices, -1));
}

void EngineHost::changePolyphony(int32_t n) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    if (n == voiceCount_) return;
    stopAllVoices();
    flags_.fetch_or(kFlagPolyphonyChange, std::memory_order_relaxed);
    setSuspended(true);
    if (n >= 1) {
        int32_t count = 1;
        while (count < n && count < kMaxVoices) count <<= 1;
        // Even a count that rounds to the present one rebuilds the pool, as it always has.
        synth::SynthesizerPCM::VoicePool pool = synth_->prepareVoicePool(count);
        // Out of memory keeps the pool that plays now.
        if (pool.count == count) {
            submit(synth::voicePoolEdit(std::move(pool)));
            voiceCount_ = count;
        }
    }
    endLongEdit(kFlagPolyphonyChange);
}

void EngineHost::submitSlotNumbers(int32_t slot) {
    EngineEdit e = edit(EditKind::SlotParameters, slot);
    e.slotFields = synth::slotFieldsOf(slotShadow_[slot]);
    submit(e);
}

void EngineHost::clearSlot(int32_t slot) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    slot &= 127;
    stopAllVoices();
    EngineEdit e = edit(EditKind::SlotSamples, slot);
    e.samples.codes = nullptr;
    e.samples.frameCount = 0;
    e.samples.channels = 0;
    e.samples.fields = synth::SlotFields{};
    slotShadow_[slot].clear();
    submit(e);
    // The recorded path stays, and with it what a save writes; a file found nowhere on
    // restore is no longer waiting to be written back.
    unresolved_[slot].reset();
}

void EngineHost::setSlotNumbers(int32_t slot, const SampleData& numbers) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    synth::setSlotFields(slotShadow_[slot & 127], synth::slotFieldsOf(numbers));
    submitSlotNumbers(slot & 127);
}

void EngineHost::installSlot(int32_t slot, PreparedSample& prepared) {
    // The conversion is done: only the swap of the array happens while suspended.
    SampleData filled;
    installPreparedSample(filled, prepared);
    EngineEdit e = edit(EditKind::SlotSamples, slot);
    e.samples.codes = filled.hasData ? filled.samples : nullptr;
    e.samples.frameCount = filled.frameCount;
    e.samples.channels = filled.channels;
    e.samples.fields = synth::slotFieldsOf(filled);
    copySlotNumbers(filled, slotShadow_[slot]);
    filled.samples = nullptr;
    filled.hasData = false;

    flags_.fetch_or(kFlagSampleImport, std::memory_order_relaxed);
    setSuspended(true);
    submit(e);
    unresolved_[slot].reset();
    endLongEdit(kFlagSampleImport | ~0xF);
}

bool EngineHost::importSample(int32_t slot, const char* path, int32_t encoding) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    if (slot < 0 || slot >= kSampleSlotCount || !path) return false;
    PreparedSample prepared = prepareSampleFromFile(path, encoding);
    switch (prepared.result) {
        case SampleImportResult::Unreadable: return false;
        case SampleImportResult::Rejected: return true;
        case SampleImportResult::UnknownEncoding:
            samplePaths_[slot] = path;
            sampleEncodings_[slot] = static_cast<uint8_t>(encoding);
            return true;
        case SampleImportResult::Imported:
        case SampleImportResult::NoSamples: break;
    }
    samplePaths_[slot] = path;
    sampleEncodings_[slot] = static_cast<uint8_t>(encoding);
    installSlot(slot, prepared);
    return true;
}

}  // namespace velt::corvane::host
