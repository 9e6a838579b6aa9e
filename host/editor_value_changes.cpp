// The editor's value changes: each becomes engine edits for the audio thread, and the
// reply is worked out here from the same rules, so it reports the value as it will be
// stored without waiting for a block.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "host/engine_edit_builder.h"
#include "host/editor_requests.h"

namespace velt::corvane::host {

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

float ratio(int32_t value, int32_t range) { return static_cast<float>(value) / static_cast<float>(range); }

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
    const auto low = static_cast<uint32_t>(tag);
    const int32_t group = static_cast<int32_t>((low >> 8) & 0xFF);
    const int32_t code = static_cast<int32_t>(low & 0xFF);
    if (code == 0) return false;
    switch (group) {
        case 0x00: return code <= 144 && systemChange(code, val, echo);
        case 0x01: return code <= 144 && partChange(code, val, echo);
        case 0x10: return code <= 129 && presetChange(true, code, val, echo);
        case 0x20: return code <= 129 && presetChange(false, code, val, echo);
        case 0x30: return code <= 129 && slotChange(code, val, echo);
        default: return false;
    }
}

bool EditorRequests::systemChange(int32_t code, double val, float& echo) {
    const float v = static_cast<float>(std::clamp(val == val ? val : 0.0, 0.0, 1.0));
    switch (code) {
        case 1:
            engine_.submit(edit(EditKind::MasterVolume, 0, 0, 0, v));
            echo = v;
            return true;
        case 2:
            engine_.submit(edit(EditKind::MasterTune, 0, 0, 0, v * 80.0f + 400.0f));
            echo = v;
            return true;
        case 129:
            engine_.stopAllVoices();
            engine_.submit(edit(EditKind::ResetAllParts, 0, 1));
            echo = 0.0f;
            return true;
        case 131: {
            // A song's system reset may switch it off on the audio thread; the view has that.
            const bool on = !engine_.view().acceptSysEx;
            engine_.submit(edit(EditKind::AcceptSysEx, 0, on ? 1 : 0));
            echo = on ? 1.0f : 0.0f;
            return true;
        }
        case 132: {
            const bool on = !engine_.view().nrpnEnabled;
            engine_.submit(edit(EditKind::NrpnEnabled, 0, on ? 1 : 0));
            echo = on ? 1.0f : 0.0f;
            return true;
        }
        case 144:
            engine_.changePolyphony(4 << static_cast<int32_t>(std::min(v * 8.0f, 8.0f)));
            echo = v;
            return true;
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
    switch (code) {
        case 1: {
            selectPart(scaled(val, 15), -1);
            echo = ratio(selectedPart_, 15);
            return true;
        }
        case 2: {
            setSelectedPartMode(scaled(val, 3));
            // The mode as it will be stored: clamped to the engine's highest.
            echo = ratio(std::clamp(scaled(val, 3), 0, engine_.view().maxPartMode), 3);
            return true;
        }
        case 3: {
            const int32_t n = scaled(val, 127);
            engine_.submit(edit(EditKind::ProgramChange, part, n));
            const EngineView& v = engine_.view();
            if (v.parts[part].mode <= kModePercussion) {
                selectedTone_ = n;
                selectedSample_ = v.tones[n].wave & 127;
            }
            echo = ratio(n, 127);
            return true;
        }
        case 4: {
            const int32_t range = scaled(val, 127);
            engine_.submit(edit(EditKind::PartBendRange, part, range));
            echo = ratio(range, 127);
            return true;
        }
        case 5: {
            const int32_t bend = scaled(val, 16383);
            engine_.submit(edit(EditKind::PitchBend, part, bend));
            echo = ratio(bend, 16383);
            return true;
        }
        case 6:
        case 7:
        case 8:
        case 9: {
            static constexpr int32_t kControllers[4] = {1, 7, 10, 11};
            const int32_t value = scaled(val, 127);
            engine_.submit(edit(EditKind::ControlChange, part, kControllers[code - 6], value));
            echo = ratio(value, 127);
            return true;
        }
        case 129:
            engine_.stopAllVoices();
            engine_.submit(edit(EditKind::ResetPart, part));
            setSelectedPartMode(kModeInstrument);
            // The reset sets program 0, which the view (a block behind) may not show yet.
            selectPart(part, 0);
            echo = 0.0f;
            return true;
        case 130:
            engine_.submit(edit(EditKind::ControlChange, part, 121, 0));
            echo = 0.0f;
            return true;
        case 131:
            engine_.submit(edit(EditKind::DampVoices, -1));
            echo = 0.0f;
            return true;
        case 144: {
            const int32_t bus = scaled(val, 15);
            engine_.submit(edit(EditKind::PartOutput, part, bus));
            echo = static_cast<float>(std::clamp(val == val ? val : 0.0, 0.0, 1.0));
            return true;
        }
        default: return false;
    }
}

namespace {

struct PresetField {
    int32_t code, field, range;
    bool selectsSlot;  ///< the field names a sample slot, which becomes the selected one
};

constexpr PresetField kToneFields[] = {
    {3, synth::kToneStrc, 2, false},    {6, synth::kToneLfoFreq, 16383, false}, {7, synth::kToneLms, 15, false},
    {8, synth::kToneTune, 16383, false}, {9, synth::kToneWave, 127, true},      {10, synth::kToneTl, 127, false},
    {11, synth::kToneAr, 127, false},   {12, synth::kToneDr, 127, false},       {13, synth::kToneSl, 127, false},
    {14, synth::kToneRr, 127, false},   {15, synth::kToneKf, 3, false},         {16, synth::kToneKfStart, 127, false},
};

constexpr PresetField kSamplerFields[] = {
    {3, synth::kSamplerSmplNum, 127, true}, {4, synth::kSamplerPan, 127, false}, {5, synth::kSamplerOctv, 15, false},
    {6, synth::kSamplerTune, 16383, false}, {7, synth::kSamplerTl, 127, false},  {8, synth::kSamplerAr, 127, false},
    {9, synth::kSamplerDr, 127, false},     {10, synth::kSamplerSl, 127, false}, {11, synth::kSamplerRr, 127, false},
};

template <size_t N>
const PresetField* fieldOf(const PresetField (&fields)[N], int32_t code) {
    for (const PresetField& f : fields)
        if (f.code == code) return &f;
    return nullptr;
}

}  // namespace

bool EditorRequests::presetChange(bool tone, int32_t code, double val, float& echo) {
    int32_t& selected = tone ? selectedTone_ : selectedSampler_;
    if (code == 1) {
        selected = scaled(val, 127);
        const EngineView& v = engine_.view();
        selectedSample_ = (tone ? v.tones[selected].wave : v.samplers[selected].smplNum) & 127;
        echo = ratio(selected, 127);
        return true;
    }
    if (code == 129) {
        EngineEdit e = edit(tone ? EditKind::TonePreset : EditKind::SamplerPreset, selected);
        if (tone)
            resetTonePreset(e.tone);
        else
            resetSamplerPreset(e.sampler);
        engine_.submit(e);
        echo = 0.0f;
        return true;
    }
    const PresetField* f = tone ? fieldOf(kToneFields, code) : fieldOf(kSamplerFields, code);
    if (!f) return false;
    const int32_t value = scaled(val, f->range);
    engine_.submit(edit(tone ? EditKind::ToneField : EditKind::SamplerField, selected, f->field, value));
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
    const auto low = static_cast<uint32_t>(tag) & 0xFFFF;
    if (low == 0x1002)
        setSelectedToneName(name);
    else if (low == 0x2002)
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
    switch (code) {
        case 1:
            selectedSample_ = scaled(val, 127);
            echo = ratio(selectedSample_, 127);
            return true;
        case 4:
            setSampleRateFields(s, hertz(val));
            engine_.setSlotNumbers(slot, s);
            echo = s.sampleRate;
            return true;
        case 5:
            setSamplePitch(s, hertz(val));
            engine_.setSlotNumbers(slot, s);
            echo = s.Pitch;
            return true;
        case 7: {
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
        case 8: {
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
        case 9:
        case 10: {
            engine_.stopAllVoices();
            const int32_t p = position(val);
            const int32_t start = code == 9 ? p : s.loopStartPoint();
            const int32_t end = code == 9 ? (s.loopLength > 0 ? s.LoopEndPoint : 0) : p;
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
            echo = static_cast<float>(!loop ? 0 : code == 9 ? s.LoopEndPoint - s.loopLength : s.LoopEndPoint);
            return true;
        }
        case 129:
            engine_.clearSlot(slot);
            echo = 0.0f;
            return true;
        default: return false;
    }
}

}  // namespace velt::corvane::host
