// The editor's value changes: each becomes engine edits for the audio thread, and the
// reply is worked out here from the same rules, so it reports the value as it will be
// stored without waiting for a block.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "host/editor_protocol.h"
#include "host/editor_requests.h"
#include "host/engine_edit_builder.h"

namespace velt::corvane::host {

using protocol::kReset;
using synth::EditKind;
using synth::EngineEdit;

namespace {

/// Round half up of val × range, with val held to 0..1 (a host or a stray message may
/// send anything, NaN included).
int32_t scaled(double val, int32_t range) {
    if (!(val > 0.0)) return 0;
    if (val >= 1.0) return range;
    return static_cast<int32_t>(val * range + 0.5);
}

float ratio(int32_t value, int32_t range) {
    return static_cast<float>(value) / static_cast<float>(range);
}

/// A sample position: truncated; NaN and negatives are no position (-1), huge values INT32_MAX.
int32_t position(double val) {
    if (!(val >= 0.0)) return -1;
    if (val >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(val);
}

/// A frequency in Hz as the float the slot stores; NaN becomes 0 (no rate).
float hertz(double val) {
    if (!(val == val)) return 0.0f;
    return static_cast<float>(std::clamp(val, -3.0e38, 3.0e38));
}

}  // namespace

bool EditorRequests::applyValueChange(int64_t tag, double val, float& echo) {
    std::lock_guard<std::recursive_mutex> lock(engine_.mainSide());
    const int32_t group = protocol::groupOf(tag);
    const int32_t code = protocol::codeOf(tag);
    switch (group) {
        case protocol::kGroupSystem: return systemChange(code, val, echo);
        case protocol::kGroupPart: return partChange(code, val, echo);
        case protocol::kGroupTone: return presetChange(true, code, val, echo);
        case protocol::kGroupSampler: return presetChange(false, code, val, echo);
        case protocol::kGroupSample: return slotChange(code, val, echo);
        default: return false;
    }
}

bool EditorRequests::systemChange(int32_t code, double val, float& echo) {
    const float v = static_cast<float>(std::clamp(val == val ? val : 0.0, 0.0, 1.0));
    namespace system = protocol::system;
    switch (code) {
        case system::kVolume:
            engine_.submit(edit(EditKind::MasterVolume, 0, 0, 0, v));
            echo = v;
            return true;
        case system::kTune:
            engine_.submit(edit(EditKind::MasterTune, 0, 0, 0, v * system::kTuneSpan + system::kTuneLowest));
            echo = v;
            return true;
        case kReset:
            engine_.stopAllVoices();
            engine_.submit(edit(EditKind::ResetAllParts, 0, 1));
            echo = 0.0f;
            return true;
        case system::kSysExSwitch: {
            // A song's system reset may switch it off on the audio thread; the view has that.
            const bool on = !engine_.view().acceptSysEx;
            engine_.submit(edit(EditKind::AcceptSysEx, 0, on ? 1 : 0));
            echo = on ? 1.0f : 0.0f;
            return true;
        }
        case system::kNrpnSwitch: {
            const bool on = !engine_.view().nrpnEnabled;
            engine_.submit(edit(EditKind::NrpnEnabled, 0, on ? 1 : 0));
            echo = on ? 1.0f : 0.0f;
            return true;
        }
        case system::kPolyphony: {
            constexpr auto steps = static_cast<float>(system::kPolyphonySteps);
            engine_.changePolyphony((1 << system::kFewestVoicesLog2)
                                    << static_cast<int32_t>(std::min(v * steps, steps)));
            echo = v;
            return true;
        }
        default: return false;
    }
}

void EditorRequests::selectPart(int32_t part, int32_t programOverride) {
    selectedPart_ = part & 15;
    const EngineView& v = engine_.view();
    const PartState& p = v.parts[selectedPart_];
    if (p.mode <= kModePercussion) {
        selectedTone_ = (programOverride >= 0 ? programOverride : p.program) & 127;
        selectedSample_ = v.tones[selectedTone_].wave & 127;
    } else {
        selectedSample_ = v.samplers[selectedSampler_].smplNum & 127;
    }
}

bool EditorRequests::partChange(int32_t code, double val, float& echo) {
    const int32_t part = selectedPart_;
    if (const protocol::Field* f = protocol::fieldOf(protocol::kGroupPart, code)) {
        const int32_t value = scaled(val, f->range);
        switch (f->record) {
            case protocol::kRecordSelection:
                selectPart(value, -1);
                echo = ratio(selectedPart_, f->range);
                return true;
            case protocol::kRecordMode:
                setSelectedPartMode(value);
                // The mode as it will be stored: clamped to the engine's highest.
                echo = ratio(std::clamp(value, 0, engine_.view().maxPartMode), f->range);
                return true;
            case protocol::kRecordProgram: {
                engine_.submit(edit(EditKind::ProgramChange, part, value));
                const EngineView& v = engine_.view();
                if (v.parts[part].mode <= kModePercussion) {
                    selectedTone_ = value;
                    selectedSample_ = v.tones[value].wave & 127;
                }
                echo = ratio(value, f->range);
                return true;
            }
            case protocol::kRecordBendRange:
                engine_.submit(edit(EditKind::PartBendRange, part, value));
                break;
            case protocol::kRecordPitchBend: engine_.submit(edit(EditKind::PitchBend, part, value)); break;
            case protocol::kRecordController:
                engine_.submit(edit(EditKind::ControlChange, part, f->midi, value));
                break;
            default: return false;
        }
        echo = ratio(value, f->range);
        return true;
    }
    namespace ids = protocol::part;
    switch (code) {
        case kReset:
            engine_.stopAllVoices();
            engine_.submit(edit(EditKind::ResetPart, part));
            setSelectedPartMode(kModeInstrument);
            // The reset sets program 0, which the view (a block behind) may not show yet.
            selectPart(part, 0);
            echo = 0.0f;
            return true;
        case ids::kResetControllers:
            engine_.submit(edit(EditKind::ControlChange, part, protocol::kResetAllControllersNumber, 0));
            echo = 0.0f;
            return true;
        case ids::kAllSoundOff:
            engine_.submit(edit(EditKind::DampVoices, -1));
            echo = 0.0f;
            return true;
        case ids::kOutput: {
            const int32_t bus = scaled(val, ids::kOutputRange);
            engine_.submit(edit(EditKind::PartOutput, part, bus));
            echo = static_cast<float>(std::clamp(val == val ? val : 0.0, 0.0, 1.0));
            return true;
        }
        default: return false;
    }
}

bool EditorRequests::presetChange(bool tone, int32_t code, double val, float& echo) {
    int32_t& selected = tone ? selectedTone_ : selectedSampler_;
    const int32_t group = tone ? protocol::kGroupTone : protocol::kGroupSampler;
    const protocol::Field* f = protocol::fieldOf(group, code);
    if (f && f->record == protocol::kRecordSelection) {
        selected = scaled(val, f->range);
        const EngineView& v = engine_.view();
        selectedSample_ = (tone ? v.tones[selected].wave : v.samplers[selected].smplNum) & 127;
        echo = ratio(selected, f->range);
        return true;
    }
    if (code == kReset) {
        EngineEdit e = edit(tone ? EditKind::TonePreset : EditKind::SamplerPreset, selected);
        if (tone)
            resetTonePreset(e.tone);
        else
            resetSamplerPreset(e.sampler);
        engine_.submit(e);
        echo = 0.0f;
        return true;
    }
    if (!f || f->range == 0) return false;
    const int32_t value = scaled(val, f->range);
    engine_.submit(edit(tone ? EditKind::ToneField : EditKind::SamplerField, selected, f->record, value));
    if (f->selectsSlot) selectedSample_ = value;
    echo = ratio(value, f->range);
    return true;
}

void EditorRequests::setSelectedPartMode(int32_t m) {
    std::lock_guard<std::recursive_mutex> lock(engine_.mainSide());
    const int32_t mode = std::clamp(m, 0, engine_.view().maxPartMode);
    // The engine compares with the mode it holds when the edit arrives (a SysEx message may
    // have changed it since), so the edit is sent even when the view shows this mode.
    engine_.submit(edit(EditKind::PartMode, selectedPart_, mode));
    const EngineView& v = engine_.view();
    if (mode <= kModePercussion) {
        selectedTone_ = v.parts[selectedPart_].program & 127;
        selectedSample_ = v.tones[selectedTone_].wave & 127;
    } else {
        selectedSample_ = v.samplers[selectedSampler_].smplNum & 127;
    }
}

bool EditorRequests::applyNameChange(int64_t tag, const char (&name)[16]) {
    const int32_t group = protocol::groupOf(tag);
    if (protocol::messageTag(static_cast<int32_t>(tag)) !=
        protocol::messageTag(group, protocol::preset::kName))
        return false;
    if (group == protocol::kGroupTone)
        setSelectedToneName(name);
    else if (group == protocol::kGroupSampler)
        setSelectedSamplerName(name);
    else
        return false;
    return true;
}

void EditorRequests::setSelectedToneName(const char (&name)[16]) {
    std::lock_guard<std::recursive_mutex> lock(engine_.mainSide());
    EngineEdit e = edit(EditKind::ToneName, selectedTone_);
    std::memcpy(e.tone.presetName, name, kPresetNameLength);
    engine_.submit(e);
}

void EditorRequests::setSelectedSamplerName(const char (&name)[16]) {
    std::lock_guard<std::recursive_mutex> lock(engine_.mainSide());
    EngineEdit e = edit(EditKind::SamplerName, selectedSampler_);
    std::memcpy(e.sampler.presetName, name, kPresetNameLength);
    engine_.submit(e);
}

bool EditorRequests::slotChange(int32_t code, double val, float& echo) {
    const int32_t slot = selectedSample_;
    SampleData s;
    copySlotNumbers(engine_.slotNumbers(slot), s);
    if (code == kReset) {
        engine_.clearSlot(slot);
        echo = 0.0f;
        return true;
    }
    const protocol::Field* f = protocol::fieldOf(protocol::kGroupSample, code);
    if (!f) return false;
    switch (f->record) {
        case protocol::kRecordSelection:
            selectedSample_ = scaled(val, f->range);
            echo = ratio(selectedSample_, f->range);
            return true;
        case protocol::kRecordSampleRate:
            setSampleRateFields(s, hertz(val));
            engine_.setSlotNumbers(slot, s);
            echo = s.sampleRate;
            return true;
        case protocol::kRecordPitch:
            setSamplePitch(s, hertz(val));
            engine_.setSlotNumbers(slot, s);
            echo = s.Pitch;
            return true;
        case protocol::kRecordStart: {
            engine_.stopAllVoices();
            const int32_t start = position(val);
            if (start >= 0 && start < s.PlayBackEndPoint && s.PlayBackEndPoint <= s.frameCount) {
                s.PlayBackStartPoint = start;
                s.LoopEndPoint = s.PlayBackEndPoint;
                s.loopLength = s.releaseLoopLength = 0;
            }
            engine_.setSlotNumbers(slot, s);
            echo = static_cast<float>(s.PlayBackStartPoint);
            return true;
        }
        case protocol::kRecordEnd: {
            engine_.stopAllVoices();
            const int32_t end = position(val);
            if (end >= 0 && s.PlayBackStartPoint < end && end <= s.frameCount) {
                s.PlayBackEndPoint = s.LoopEndPoint = end;
                s.loopLength = s.releaseLoopLength = 0;
            }
            engine_.setSlotNumbers(slot, s);
            echo = static_cast<float>(s.PlayBackEndPoint);
            return true;
        }
        case protocol::kRecordLoopStart:
        case protocol::kRecordLoopEnd: {
            engine_.stopAllVoices();
            const bool first = f->record == protocol::kRecordLoopStart;
            const int32_t p = position(val);
            const int32_t start = first ? p : s.loopStartPoint();
            const int32_t end = first ? (s.loopLength > 0 ? s.LoopEndPoint : 0) : p;
            if (start >= 0 && s.PlayBackStartPoint <= start && start < end && end <= s.PlayBackEndPoint) {
                s.LoopEndPoint = end;
                s.loopLength = end - start;
                s.releaseLoopLength = end == s.PlayBackEndPoint ? s.loopLength : 0;
            } else {
                s.LoopEndPoint = s.PlayBackEndPoint;
                s.loopLength = s.releaseLoopLength = 0;
            }
            engine_.setSlotNumbers(slot, s);
            const bool loop = s.loopLength > 0;
            echo = static_cast<float>(!loop ? 0 : first ? s.LoopEndPoint - s.loopLength : s.LoopEndPoint);
            return true;
        }
        default: return false;
    }
}

}  // namespace velt::corvane::host
