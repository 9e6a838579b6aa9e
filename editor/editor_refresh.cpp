// What the controls show, read from the engine holder: the five refresh routines (every
// 33 ms and on the processor's notifications) and the update of one value after an edit.
// A text field that holds the keyboard focus is never rewritten, so typing is not disturbed.
#include <cmath>
#include <cstdio>
#include <string>

#include "editor/corvane_vstgui_editor.h"
#include "editor/editor_tags.h"
#include "host/engine_display.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace tags = velt::corvane::editor;
using velt::corvane::host::EngineView;

namespace {

std::string formatted(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", v);
    return text;
}

std::string decibels(double gain) {
    if (gain == 0.0)
        return "inf";
    return formatted(20.0 * std::log10(gain));
}

std::string integer(long long v) {
    return std::to_string(v);
}

float ratio(int32_t value, int32_t range) {
    return static_cast<float>(value) / static_cast<float>(range);
}

std::string presetName(const char* name) {
    return std::string(name, 16);
}

}  // namespace

void CorvaneVSTGUIEditor::setText(int32_t tag, const std::string& text) {
    auto* label = dynamic_cast<CTextLabel*>(control(tag));
    if (!label || (frame && frame->getFocusView() == label))
        return;
    if (label->getText().getString() != text)
        label->setText(text);
}

void CorvaneVSTGUIEditor::setNormalized(int32_t tag, float value) {
    CControl* c = control(tag);
    if (!c)
        return;
    c->setValueNormalized(value);
    c->setDirty();
}

void CorvaneVSTGUIEditor::setSliderAndMirror(int32_t group, int32_t item, int32_t value, int32_t range,
                                             int32_t shown) {
    setNormalized(tags::tagOf(group, item), ratio(value, range));
    setText(tags::mirrorTagOf(group, item), integer(shown));
}

void CorvaneVSTGUIEditor::setMenuCheck(int32_t index, bool checked) {
    if (systemMenu_)
        systemMenu_->checkEntry(index, checked);
}

void CorvaneVSTGUIEditor::refreshAll() {
    if (!engine_)
        return;
    refreshSystem();
    refreshPart();
    refreshTone();
    refreshSampler();
    refreshSample();
}

void CorvaneVSTGUIEditor::refreshSystem() {
    if (!engine_)
        return;
    const EngineView& v = engine_->view();
    setNormalized(tags::tagOf(0x00, 0x01), v.masterVolume);
    setText(tags::mirrorTagOf(0x00, 0x01), decibels(v.masterVolume));
    setNormalized(tags::tagOf(0x00, 0x02), (v.masterTune - 400.0f) / 80.0f);
    setText(tags::mirrorTagOf(0x00, 0x02), formatted(v.masterTune));
    const int32_t voices = engine_->voiceCount();
    if (polyphonyMenu_ && voices > 0)
        polyphonyMenu_->setValueNormalized(static_cast<float>((std::log2(voices) - 2.0) * 0.125));
    setMenuCheck(2, v.acceptSysEx);
    setMenuCheck(3, v.nrpnEnabled);
}

void CorvaneVSTGUIEditor::refreshPart() {
    if (!engine_)
        return;
    const EngineView& v = engine_->view();
    const int32_t selected = engine_->selectedPart();
    const auto& p = v.parts[selected];
    setNormalized(tags::tagOf(0x01, 0x01), ratio(selected, 15));
    setNormalized(tags::tagOf(0x01, 0x02), ratio(p.mode, 3));
    setSliderAndMirror(0x01, 0x03, p.program, 127, p.program);
    setSliderAndMirror(0x01, 0x04, p.pitchBendRange, 127, p.pitchBendRange);
    setSliderAndMirror(0x01, 0x05, p.pitchBend, 16383, p.pitchBend - 8192);
    setSliderAndMirror(0x01, 0x06, p.controllers[1], 127, p.controllers[1]);
    setSliderAndMirror(0x01, 0x07, p.controllers[7], 127, p.controllers[7]);
    setSliderAndMirror(0x01, 0x08, p.controllers[10], 127, p.controllers[10] - 64);
    setSliderAndMirror(0x01, 0x09, p.controllers[11], 127, p.controllers[11]);
    if (outputMenu_)
        outputMenu_->setValueNormalized(ratio(p.outputBus, 15));
    choosePage();
}

void CorvaneVSTGUIEditor::choosePage() {
    if (!engine_ || !tonePage_ || !samplerPage_)
        return;
    const int32_t mode = engine_->view().parts[engine_->selectedPart()].mode;
    if (mode == 3) {
        if (tonePage_->isVisible())
            tonePage_->setVisible(false);
        if (!samplerPage_->isVisible())
            samplerPage_->setVisible(true);
    } else if (mode >= 0 && mode <= 2) {
        if (samplerPage_->isVisible())
            samplerPage_->setVisible(false);
        if (!tonePage_->isVisible())
            tonePage_->setVisible(true);
    }
}

void CorvaneVSTGUIEditor::refreshTone() {
    if (!engine_)
        return;
    const EngineView& v = engine_->view();
    if (v.parts[engine_->selectedPart()].mode == 3)
        return;
    const int32_t n = engine_->selectedTone();
    const auto& t = v.tones[n];
    setSliderAndMirror(0x10, 0x01, n, 127, n);
    setText(tags::tagOf(0x10, 0x02), presetName(t.presetName));
    setNormalized(tags::tagOf(0x10, 0x03), ratio(t.strc, 2));
    setSliderAndMirror(0x10, 0x06, t.lfoFreq, 16383, t.lfoFreq);
    setSliderAndMirror(0x10, 0x07, t.lms, 15, t.lms);
    setSliderAndMirror(0x10, 0x08, t.tune, 16383, t.tune);
    setSliderAndMirror(0x10, 0x09, t.wave, 127, t.wave);
    setSliderAndMirror(0x10, 0x0A, t.tl, 127, t.tl);
    setSliderAndMirror(0x10, 0x0B, t.ar, 127, t.ar);
    setSliderAndMirror(0x10, 0x0C, t.dr, 127, t.dr);
    setSliderAndMirror(0x10, 0x0D, t.sl, 127, t.sl);
    setSliderAndMirror(0x10, 0x0E, t.rr, 127, t.rr);
    setSliderAndMirror(0x10, 0x0F, t.kf, 3, t.kf);
    setSliderAndMirror(0x10, 0x10, t.kfStart, 127, t.kfStart);
}

void CorvaneVSTGUIEditor::refreshSampler() {
    if (!engine_)
        return;
    const EngineView& v = engine_->view();
    if (v.parts[engine_->selectedPart()].mode < 3)
        return;
    const int32_t n = engine_->selectedSampler();
    const auto& s = v.samplers[n];
    setSliderAndMirror(0x20, 0x01, n, 127, n);
    setText(tags::tagOf(0x20, 0x02), presetName(s.presetName));
    setSliderAndMirror(0x20, 0x03, s.smplNum, 127, s.smplNum);
    setSliderAndMirror(0x20, 0x04, s.pan, 127, s.pan);
    setSliderAndMirror(0x20, 0x05, s.octv, 15, s.octv);
    setSliderAndMirror(0x20, 0x06, s.tune, 16383, s.tune);
    setSliderAndMirror(0x20, 0x07, s.tl, 127, s.tl);
    setSliderAndMirror(0x20, 0x08, s.ar, 127, s.ar);
    setSliderAndMirror(0x20, 0x09, s.dr, 127, s.dr);
    setSliderAndMirror(0x20, 0x0A, s.sl, 127, s.sl);
    setSliderAndMirror(0x20, 0x0B, s.rr, 127, s.rr);
}

void CorvaneVSTGUIEditor::refreshSample() {
    if (!engine_)
        return;
    const int32_t n = engine_->selectedSample();
    const velt::corvane::SampleData& s = engine_->slotNumbers(n);
    setSliderAndMirror(0x30, 0x01, n, 127, n);
    const bool loop = s.loopLength >= 1;
    const auto setLabel = [this](int32_t row, const std::string& text) {
        if (CTextLabel* label = sampleLabels_[row]; label && label->getText().getString() != text)
            label->setText(text);
    };
    setLabel(0, integer(s.frameCount));
    setLabel(1, integer(s.channels));
    setLabel(2, loop ? "true" : "false");
    setText(tags::tagOf(0x30, 0x04), formatted(s.sampleRate));
    setText(tags::tagOf(0x30, 0x05), formatted(s.Pitch));
    setText(tags::tagOf(0x30, 0x07), integer(s.PlayBackStartPoint));
    setText(tags::tagOf(0x30, 0x08), integer(s.PlayBackEndPoint));
    setText(tags::tagOf(0x30, 0x09), integer(loop ? s.LoopEndPoint - s.loopLength : 0));
    setText(tags::tagOf(0x30, 0x0A), integer(loop ? s.LoopEndPoint : 0));
}

void CorvaneVSTGUIEditor::updateValue(int32_t tag, float v) {
    if (!engine_ || !frame)
        return;
    const int32_t group = (tag >> 8) & 0xFF;
    const int32_t item = tag & 0xFF;
    const auto mirror = [&](int32_t range, int32_t shift) {
        setNormalized(tags::tagOf(group, item), v);
        setText(tags::mirrorTagOf(group, item),
                integer(static_cast<long long>(std::trunc(v * (static_cast<float>(range) + 0.5f))) - shift));
    };
    const auto setPartParameter = [&](int32_t number) {
        if (EditController* c = getController()) {
            const auto id = static_cast<ParamID>(((engine_->selectedPart() | 0x100) << 8) | number);
            c->setParamNormalized(id, v);
        }
    };
    switch (tag & 0xFFFF) {
        case 0x0001:
            setText(tags::mirrorTagOf(0x00, 0x01), decibels(v));
            setNormalized(tags::tagOf(0x00, 0x01), v);
            return;
        case 0x0002:
            setText(tags::mirrorTagOf(0x00, 0x02), formatted(v * 80.0 + 400.0));
            setNormalized(tags::tagOf(0x00, 0x02), v);
            return;
        case 0x0083: setMenuCheck(2, v > 0.5f); return;
        case 0x0084: setMenuCheck(3, v > 0.5f); return;
        case 0x0090:
            if (polyphonyMenu_)
                polyphonyMenu_->setValueNormalized(v);
            return;
        case 0x0101:
            setNormalized(tags::tagOf(0x01, 0x01), v);
            refreshPart();
            refreshTone();
            refreshSampler();
            refreshSample();
            return;
        case 0x0102:
            setNormalized(tags::tagOf(0x01, 0x02), v);
            choosePage();
            refreshTone();
            refreshSampler();
            refreshSample();
            return;
        case 0x0103:
            mirror(127, 0);
            if (engine_->view().parts[engine_->selectedPart()].mode <= 2)
                refreshTone();
            setPartParameter(130);
            return;
        case 0x0105: mirror(16383, 8192); setPartParameter(129); return;
        case 0x0106: mirror(127, 0); setPartParameter(1); return;
        case 0x0107: mirror(127, 0); setPartParameter(7); return;
        case 0x0108: mirror(127, 64); setPartParameter(10); return;
        case 0x0109: mirror(127, 0); setPartParameter(11); return;
        case 0x0104:
            setNormalized(tags::tagOf(0x01, 0x04), v);
            setText(tags::mirrorTagOf(0x01, 0x04), integer(static_cast<long long>(std::trunc(v * 127.0f))));
            return;
        case 0x0181:
        case 0x0182:
            refreshPart();
            refreshTone();
            refreshSampler();
            refreshSample();
            return;
        case 0x0190:
            if (outputMenu_)
                outputMenu_->setValueNormalized(v);
            return;
        case 0x1001:
        case 0x1081: refreshTone(); return;
        case 0x1003: setNormalized(tags::tagOf(0x10, 0x03), v); return;
        case 0x2001:
        case 0x2081: refreshSampler(); return;
        case 0x3001:
        case 0x3081: refreshSample(); return;
        case 0x3004: setText(tags::tagOf(0x30, 0x04), formatted(v)); return;
        case 0x3005: setText(tags::tagOf(0x30, 0x05), formatted(v)); return;
        case 0x3007:
        case 0x3008:
        case 0x3009:
        case 0x300A: refreshSample(); return;
        default: break;
    }
    // The preset rows: slider and its text from the value; the timer rewrites the text
    // from the record.
    const auto presetRow = [&](int32_t range) {
        setNormalized(tags::tagOf(group, item), v);
        setText(tags::mirrorTagOf(group, item), integer(static_cast<long long>(v * static_cast<float>(range))));
    };
    if (group == 0x10 && item >= 0x06 && item <= 0x10) {
        static constexpr int32_t kRanges[] = {16383, 15, 16383, 127, 127, 127, 127, 127, 127, 3, 127};
        presetRow(kRanges[item - 0x06]);
        if (item == 0x09)
            refreshSample();
        return;
    }
    if (group == 0x20 && item >= 0x03 && item <= 0x0B) {
        static constexpr int32_t kRanges[] = {127, 127, 15, 16383, 127, 127, 127, 127, 127};
        presetRow(kRanges[item - 0x03]);
        if (item == 0x03)
            refreshSample();
    }
}

}  // namespace Vst
}  // namespace Steinberg
