// What the controls show, read from the engine holder: the five refresh routines (every
// 33 ms and on the processor's notifications) and the update of one value after an edit.
// A text field that holds the keyboard focus is never rewritten, so typing is not disturbed.
#include <cmath>
#include <cstdio>
#include <string>

#include "editor/corvane_vstgui_editor.h"
#include "host/editor_protocol.h"
#include "host/engine_display.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace protocol = velt::corvane::host::protocol;
namespace synth = velt::corvane::synth;
using protocol::Control;
using protocol::kSelect;
using protocol::mirrorTagOf;
using protocol::tagOf;
using velt::corvane::host::EngineView;

namespace {

std::string formatted(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", v);
    return text;
}

std::string decibels(double gain) {
    if (gain == 0.0) return "inf";
    return formatted(20.0 * std::log10(gain));
}

std::string integer(long long v) {
    return std::to_string(v);
}

float ratio(int32_t value, int32_t range) {
    return static_cast<float>(value) / static_cast<float>(range);
}

std::string presetName(const char* name) {
    return std::string(name, protocol::kNameBytes);
}

}  // namespace

void CorvaneVSTGUIEditor::setText(int32_t tag, const std::string& text) {
    auto* label = dynamic_cast<CTextLabel*>(control(tag));
    if (!label || (frame && frame->getFocusView() == label)) return;
    if (label->getText().getString() != text) label->setText(text);
}

void CorvaneVSTGUIEditor::setNormalized(int32_t tag, float value) {
    CControl* c = control(tag);
    if (!c) return;
    c->setValueNormalized(value);
    c->setDirty();
}

void CorvaneVSTGUIEditor::setSliderAndMirror(const protocol::Field& field, int32_t value) {
    setNormalized(tagOf(field.group, field.code), ratio(value, field.range));
    setText(mirrorTagOf(field.group, field.code), integer(value - field.shownOffset));
}

void CorvaneVSTGUIEditor::setMenuCheck(int32_t index, bool checked) {
    if (systemMenu_) systemMenu_->checkEntry(index, checked);
}

void CorvaneVSTGUIEditor::refreshAll() {
    if (!engine_) return;
    refreshSystem();
    refreshPart();
    refreshTone();
    refreshSampler();
    refreshSample();
}

void CorvaneVSTGUIEditor::refreshSystem() {
    if (!engine_) return;
    namespace system = protocol::system;
    constexpr int32_t kSystem = protocol::kGroupSystem;
    const EngineView& v = engine_->view();
    setNormalized(tagOf(kSystem, system::kVolume), v.masterVolume);
    setText(mirrorTagOf(kSystem, system::kVolume), decibels(v.masterVolume));
    setNormalized(tagOf(kSystem, system::kTune), (v.masterTune - system::kTuneLowest) / system::kTuneSpan);
    setText(mirrorTagOf(kSystem, system::kTune), formatted(v.masterTune));
    const int32_t voices = engine_->voiceCount();
    if (polyphonyMenu_ && voices > 0)
        polyphonyMenu_->setValueNormalized(
            static_cast<float>((std::log2(voices) - system::kFewestVoicesLog2) / system::kPolyphonySteps));
    setMenuCheck(2, v.acceptSysEx);
    setMenuCheck(3, v.nrpnEnabled);
}

void CorvaneVSTGUIEditor::refreshPart() {
    if (!engine_) return;
    const EngineView& v = engine_->view();
    const int32_t selected = engine_->selectedPart();
    const auto& p = v.parts[selected];
    for (const protocol::Field& f : protocol::kFields) {
        if (f.group != protocol::kGroupPart) continue;
        switch (f.record) {
            case protocol::kRecordSelection:
                setNormalized(tagOf(f.group, f.code), ratio(selected, f.range));
                break;
            case protocol::kRecordMode: setNormalized(tagOf(f.group, f.code), ratio(p.mode, f.range)); break;
            case protocol::kRecordProgram: setSliderAndMirror(f, p.program); break;
            case protocol::kRecordBendRange: setSliderAndMirror(f, p.pitchBendRange); break;
            case protocol::kRecordPitchBend: setSliderAndMirror(f, p.pitchBend); break;
            case protocol::kRecordController: setSliderAndMirror(f, p.controllers[f.midi]); break;
            default: break;
        }
    }
    if (outputMenu_) outputMenu_->setValueNormalized(ratio(p.outputBus, protocol::part::kOutputRange));
    choosePage();
}

void CorvaneVSTGUIEditor::choosePage() {
    if (!engine_ || !tonePage_ || !samplerPage_) return;
    const int32_t mode = engine_->view().parts[engine_->selectedPart()].mode;
    if (mode == velt::corvane::kModeSampler) {
        if (tonePage_->isVisible()) tonePage_->setVisible(false);
        if (!samplerPage_->isVisible()) samplerPage_->setVisible(true);
    } else if (mode >= velt::corvane::kModeMute && mode <= velt::corvane::kModePercussion) {
        if (samplerPage_->isVisible()) samplerPage_->setVisible(false);
        if (!tonePage_->isVisible()) tonePage_->setVisible(true);
    }
}

void CorvaneVSTGUIEditor::refreshTone() {
    if (!engine_) return;
    const EngineView& v = engine_->view();
    if (v.parts[engine_->selectedPart()].mode == velt::corvane::kModeSampler) return;
    const int32_t n = engine_->selectedTone();
    refreshPreset(protocol::kGroupTone, n, v.tones[n].presetName,
                  [&t = v.tones[n]](int32_t field) { return synth::toneField(t, field); });
}

template <typename FieldValue>
void CorvaneVSTGUIEditor::refreshPreset(int32_t group, int32_t n, const char* name, FieldValue value) {
    for (const protocol::Field& f : protocol::kFields) {
        if (f.group != group) continue;
        if (f.record == protocol::kRecordSelection)
            setSliderAndMirror(f, n);
        else if (f.control == Control::kName)
            setText(tagOf(f.group, f.code), presetName(name));
        else if (f.control == Control::kChoice)
            setNormalized(tagOf(f.group, f.code), ratio(value(f.record), f.range));
        else
            setSliderAndMirror(f, value(f.record));
    }
}

void CorvaneVSTGUIEditor::refreshSampler() {
    if (!engine_) return;
    const EngineView& v = engine_->view();
    if (v.parts[engine_->selectedPart()].mode < velt::corvane::kModeSampler) return;
    const int32_t n = engine_->selectedSampler();
    refreshPreset(protocol::kGroupSampler, n, v.samplers[n].presetName,
                  [&s = v.samplers[n]](int32_t field) { return synth::samplerField(s, field); });
}

void CorvaneVSTGUIEditor::refreshSample() {
    if (!engine_) return;
    const int32_t n = engine_->selectedSample();
    const velt::corvane::SampleData& s = engine_->slotNumbers(n);
    namespace sample = protocol::sample;
    constexpr int32_t kSample = protocol::kGroupSample;
    setSliderAndMirror(protocol::field(kSample, kSelect), n);
    const bool loop = s.loopLength >= 1;
    const auto setLabel = [this](int32_t row, const std::string& text) {
        if (CTextLabel* label = sampleLabels_[row]; label && label->getText().getString() != text)
            label->setText(text);
    };
    setLabel(0, integer(s.frameCount));
    setLabel(1, integer(s.channels));
    setLabel(2, loop ? "true" : "false");
    setText(tagOf(kSample, sample::kSampleRate), formatted(s.sampleRate));
    setText(tagOf(kSample, sample::kPitch), formatted(s.Pitch));
    setText(tagOf(kSample, sample::kStart), integer(s.PlayBackStartPoint));
    setText(tagOf(kSample, sample::kEnd), integer(s.PlayBackEndPoint));
    setText(tagOf(kSample, sample::kLoopStart), integer(loop ? s.LoopEndPoint - s.loopLength : 0));
    setText(tagOf(kSample, sample::kLoopEnd), integer(loop ? s.LoopEndPoint : 0));
}

void CorvaneVSTGUIEditor::updateValue(int32_t tag, float v) {
    if (!engine_ || !frame) return;
    const int32_t group = protocol::groupOf(tag);
    const int32_t item = protocol::codeOf(tag);
    switch (group) {
        case protocol::kGroupSystem: updateSystemValue(item, v); return;
        case protocol::kGroupPart: updatePartValue(item, v); return;
        case protocol::kGroupTone:
        case protocol::kGroupSampler: updatePresetValue(group, item, v); return;
        case protocol::kGroupSample: updateSampleValue(item, v); return;
        default: return;
    }
}

void CorvaneVSTGUIEditor::updateSystemValue(int32_t item, float v) {
    namespace system = protocol::system;
    constexpr int32_t kSystem = protocol::kGroupSystem;
    switch (item) {
        case system::kVolume:
            setText(mirrorTagOf(kSystem, item), decibels(v));
            setNormalized(tagOf(kSystem, item), v);
            return;
        case system::kTune:
            setText(mirrorTagOf(kSystem, item), formatted(v * static_cast<double>(system::kTuneSpan) +
                                                          static_cast<double>(system::kTuneLowest)));
            setNormalized(tagOf(kSystem, item), v);
            return;
        case system::kSysExSwitch: setMenuCheck(2, v > 0.5f); return;
        case system::kNrpnSwitch: setMenuCheck(3, v > 0.5f); return;
        case system::kPolyphony:
            if (polyphonyMenu_) polyphonyMenu_->setValueNormalized(v);
            return;
        default: return;
    }
}

void CorvaneVSTGUIEditor::updatePartValue(int32_t item, float v) {
    namespace part = protocol::part;
    constexpr int32_t kPart = protocol::kGroupPart;
    switch (item) {
        case protocol::kReset:
        case part::kResetControllers:
            refreshPart();
            refreshTone();
            refreshSampler();
            refreshSample();
            return;
        case part::kOutput:
            if (outputMenu_) outputMenu_->setValueNormalized(v);
            return;
        default: break;
    }
    const protocol::Field* f = protocol::fieldOf(kPart, item);
    if (!f) return;
    setNormalized(tagOf(kPart, item), v);
    switch (f->record) {
        case protocol::kRecordSelection:
            refreshPart();
            refreshTone();
            refreshSampler();
            refreshSample();
            return;
        case protocol::kRecordMode:
            choosePage();
            refreshTone();
            refreshSampler();
            refreshSample();
            return;
        case protocol::kRecordBendRange:
            setText(mirrorTagOf(kPart, item),
                    integer(static_cast<long long>(std::trunc(v * static_cast<float>(f->range)))));
            return;
        default: break;
    }
    // The MIDI-mapped rows: their text rounds, and the host's parameter follows.
    setText(mirrorTagOf(kPart, item),
            integer(static_cast<long long>(std::trunc(v * (static_cast<float>(f->range) + 0.5f))) -
                    f->shownOffset));
    if (f->record == protocol::kRecordProgram &&
        engine_->view().parts[engine_->selectedPart()].mode <= velt::corvane::kModePercussion)
        refreshTone();
    if (EditController* c = getController())
        c->setParamNormalized(static_cast<ParamID>(protocol::midiParamId(engine_->selectedPart(), f->midi)),
                              v);
}

void CorvaneVSTGUIEditor::updatePresetValue(int32_t group, int32_t item, float v) {
    const bool tone = group == protocol::kGroupTone;
    if (item == kSelect || item == protocol::kReset) {
        if (tone)
            refreshTone();
        else
            refreshSampler();
        return;
    }
    const protocol::Field* f = protocol::fieldOf(group, item);
    if (!f || f->range == 0) return;
    setNormalized(tagOf(group, item), v);
    if (f->control != Control::kSlider) return;
    // The slider and its text from the value; the timer rewrites the text from the record.
    setText(mirrorTagOf(group, item), integer(static_cast<long long>(v * static_cast<float>(f->range))));
    if (f->selectsSlot) refreshSample();
}

void CorvaneVSTGUIEditor::updateSampleValue(int32_t item, float v) {
    if (item == protocol::kReset) {
        refreshSample();
        return;
    }
    const protocol::Field* f = protocol::fieldOf(protocol::kGroupSample, item);
    if (!f) return;
    if (f->control == Control::kDecimal)
        setText(tagOf(protocol::kGroupSample, item), formatted(v));
    else
        refreshSample();
}

}  // namespace Vst
}  // namespace Steinberg
