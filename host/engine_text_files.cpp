// Preset text files. Imports run against main-thread
// copies and hand over only the records that changed, so that a preset the audio thread
// changed meanwhile (by SysEx) is not overwritten with an older copy.
#include <cstring>
#include <memory>
#include <new>

#include "host/engine_host.h"
#include "presetfiles/preset_text_export.h"
#include "presetfiles/preset_text_import.h"
#include "presetfiles/sysex_text_export.h"

namespace velt::corvane::host {

using synth::EditKind;
using synth::EngineEdit;

namespace {

bool sameTone(const TonePreset& a, const TonePreset& b) {
    return std::memcmp(a.presetName, b.presetName, kPresetNameLength) == 0 && a.lfoFreq == b.lfoFreq &&
           a.strc == b.strc && a.tune == b.tune && a.lms == b.lms && a.wave == b.wave && a.tl == b.tl &&
           a.ar == b.ar && a.dr == b.dr && a.sl == b.sl && a.rr == b.rr && a.kf == b.kf &&
           a.kfStart == b.kfStart;
}

bool sameSampler(const SamplerPreset& a, const SamplerPreset& b) {
    return std::memcmp(a.presetName, b.presetName, kPresetNameLength) == 0 && a.smplNum == b.smplNum &&
           a.pan == b.pan && a.octv == b.octv && a.tune == b.tune && a.tl == b.tl && a.ar == b.ar &&
           a.dr == b.dr && a.sl == b.sl && a.rr == b.rr;
}

bool sameSlot(const SampleData& a, const synth::SlotFields& b) {
    const synth::SlotFields f = synth::slotFieldsOf(a);
    return std::memcmp(&f, &b, sizeof f) == 0;
}

}  // namespace

bool EngineHost::importText(const char* path, int32_t kind) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    if (!path) return false;
    switch (kind) {
        case 0: {
            std::unique_ptr<TonePreset[]> tones(new (std::nothrow) TonePreset[kPresetCount]);
            if (!tones) return false;
            const EngineView& v = view();
            for (int32_t i = 0; i < kPresetCount; ++i) tones[i] = v.tones[i];
            presetfiles::SoundTables tables;
            tables.tones = tones.get();
            if (!presetfiles::importText(path, kind, tables)) return false;
            for (int32_t i = 0; i < kPresetCount; ++i) {
                if (sameTone(tones[i], v.tones[i])) continue;
                EngineEdit e{};
                e.kind = EditKind::TonePreset;
                e.index = i;
                e.tone = tones[i];
                submit(e);
            }
            return true;
        }
        case 1: {
            std::unique_ptr<SamplerPreset[]> samplers(new (std::nothrow) SamplerPreset[kPresetCount]);
            if (!samplers) return false;
            const EngineView& v = view();
            for (int32_t i = 0; i < kPresetCount; ++i) samplers[i] = v.samplers[i];
            presetfiles::SoundTables tables;
            tables.samplers = samplers.get();
            if (!presetfiles::importText(path, kind, tables)) return false;
            for (int32_t i = 0; i < kPresetCount; ++i) {
                if (sameSampler(samplers[i], v.samplers[i])) continue;
                EngineEdit e{};
                e.kind = EditKind::SamplerPreset;
                e.index = i;
                e.sampler = samplers[i];
                submit(e);
            }
            return true;
        }
        case 2: {
            synth::SlotFields before[kSampleSlotCount];
            for (int32_t i = 0; i < kSampleSlotCount; ++i) before[i] = synth::slotFieldsOf(slotShadow_[i]);
            presetfiles::SoundTables tables;
            tables.slots = slotShadow_.get();
            if (!presetfiles::importText(path, kind, tables)) return false;
            for (int32_t i = 0; i < kSampleSlotCount; ++i)
                if (!sameSlot(slotShadow_[i], before[i])) submitSlotNumbers(i);
            return true;
        }
        default: return false;
    }
}

bool EngineHost::exportText(const char* path, int32_t kind) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    if (!path || kind < 0 || kind > 2) return false;
    // The view can lag a block behind; getState's rule applies: include what was submitted.
    const EngineView& v = view();
    presetfiles::SoundTables tables;
    tables.tones = const_cast<TonePreset*>(v.tones.data());
    tables.samplers = const_cast<SamplerPreset*>(v.samplers.data());
    tables.slots = slotShadow_.get();
    return presetfiles::exportText(path, kind, tables);
}

bool EngineHost::exportSysExText(const char* path, int32_t kind) {
    std::lock_guard<std::recursive_mutex> lock(handoff_->mainSide());
    if (!path || kind < 0 || kind > 1) return false;
    const EngineView& v = view();
    presetfiles::SoundTables tables;
    tables.tones = const_cast<TonePreset*>(v.tones.data());
    tables.samplers = const_cast<SamplerPreset*>(v.samplers.data());
    return presetfiles::exportSysExText(path, kind, tables);
}

}  // namespace velt::corvane::host
