// The window's pages and the six control factories they are built from. Every label is
// printed in the page bitmaps; the controls sit at the rows those bitmaps leave for them.
#include <cstdio>

#include "editor/corvane_vstgui_editor.h"
#include "editor/editor_tags.h"
#include "editor/horizontal_slider_ext.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace tags = velt::corvane::editor;
namespace protocol = velt::corvane::host::protocol;
using protocol::kMenu;
using protocol::kMenuButton;
using protocol::kSelect;
using protocol::tagOf;

namespace {

constexpr CColor kFontColor(49, 71, 59, 255);
constexpr CColor kFieldColor(23, 23, 23, 0);
constexpr CColor kAboutColor(127, 127, 127, 255);
constexpr CColor kOverlayColor(23, 23, 23, 235);

constexpr int32_t kSliderLabelWidth = 160;
constexpr int32_t kSliderWidth = 84;
constexpr int32_t kMirrorLabelWidth = 96;
constexpr int32_t kMirrorWidth = 64;
constexpr CCoord kLineHeight = 24;
constexpr CCoord kColumnWidth = 256;
// The continuous sliders' wheel steps.
constexpr int32_t kVolumeSteps = 200;
constexpr int32_t kTuneSteps = 800;
// The decibel and hertz fields show six decimals ("-96.000000"); their units are printed
// in the heading strip above them, as the row has no room left beside them.
constexpr int32_t kSynthFieldLabelWidth = 86;
constexpr int32_t kSynthFieldWidth = 74;
// The backgrounds draw a drop-down arrow in the right end of every choice well; the chosen
// entry is centred in what is left.
constexpr CCoord kChoiceArrowWidth = 20;

/// Takes a new bitmap by resource name; the caller forgets it once a view holds it.
CBitmap* bitmap(const char* name) {
    return new (std::nothrow) CBitmap(CResourceDescription(name));
}

template <typename Display>
void styleText(Display* d, CCoord size = 12, const CColor& font = kFontColor,
               const CColor& back = kFieldColor) {
    CFontDesc* f = new (std::nothrow) CFontDesc("Arial", size);
    if (f) {
        d->setFont(f);
        f->forget();
    }
    d->setFontColor(font);
    d->setBackColor(back);
    d->setFrameColor(back);
}

}  // namespace

CKickButton* CorvaneVSTGUIEditor::makeMenuButton(CViewContainer* into, int32_t tag, const CRect& rect,
                                                 const char* name, CCoord frameHeight) {
    CBitmap* b = bitmap(name);
    auto* button = new (std::nothrow) CKickButton(rect, this, tag, frameHeight, b);
    if (b) b->forget();
    if (button && into) into->addView(button);
    keep(tag, button);
    return button;
}

COptionMenu* CorvaneVSTGUIEditor::makePopupMenu(int32_t tag, int32_t style,
                                                std::initializer_list<const char*> titles) {
    auto* menu = new (std::nothrow) COptionMenu(CRect(0, 0, 1, 1), this, tag, nullptr, nullptr, style);
    if (!menu) return nullptr;
    int32_t index = 0;
    for (const char* title : titles) {
        if (CMenuItem* item = menu->addEntry(title, -1, CMenuItem::kNoFlags)) item->setTag(tag + 1 + index);
        ++index;
    }
    if (EditController* c = getController())
        menu->setValueNormalized(static_cast<float>(c->getParamNormalized(static_cast<ParamID>(tag))));
    return menu;
}

CHorizontalSlider* CorvaneVSTGUIEditor::makeSlider(CViewContainer* into, int32_t tag, CCoord x, CCoord y,
                                                   int32_t steps) {
    const CCoord left = x + kSliderLabelWidth + 1;
    const CCoord top = y + 1;
    const CRect rect(left, top, left + kSliderWidth + 10, top + 22);
    CBitmap* handle = bitmap("knob0.png");
    // The handle travels from the slider's left edge over its width.
    auto* slider = new (std::nothrow) CHorizontalSliderExt(rect, this, tag, static_cast<int32_t>(left),
                                                           static_cast<int32_t>(left + kSliderWidth), handle,
                                                           nullptr, CPoint(0, 0), kLeft | kHorizontal);
    if (handle) handle->forget();
    if (!slider) return nullptr;
    slider->setWheelInc(1.0f / static_cast<float>(steps));
    if (into) into->addView(slider);
    keep(tag, slider);
    return slider;
}

COptionMenu* CorvaneVSTGUIEditor::makeChoice(CViewContainer* into, int32_t tag, CCoord x, CCoord y,
                                             CCoord labelWidth, CCoord width,
                                             std::initializer_list<const char*> titles) {
    const CCoord left = x + labelWidth + 1;
    const CCoord top = y + 1;
    auto* menu = new (std::nothrow) COptionMenu(CRect(left, top, left + width, top + 22), this, tag);
    if (!menu) return nullptr;
    for (const char* title : titles) menu->addEntry(title);
    if (EditController* c = getController())
        menu->setValueNormalized(static_cast<float>(c->getParamNormalized(static_cast<ParamID>(tag))));
    styleText(menu);
    menu->setTextRightRoom(kChoiceArrowWidth);
    if (into) into->addView(menu);
    keep(tag, menu);
    return menu;
}

CTextLabel* CorvaneVSTGUIEditor::makeLabel(CViewContainer* into, CCoord x, CCoord y, CCoord labelWidth,
                                           CCoord width, const char* text) {
    const CCoord left = x + labelWidth + 1;
    const CCoord top = y + 1;
    auto* label = new (std::nothrow) CTextLabel(CRect(left, top, left + width, top + 22), text);
    if (!label) return nullptr;
    styleText(label);
    if (into) into->addView(label);
    return label;
}

CTextEdit* CorvaneVSTGUIEditor::makeTextField(CViewContainer* into, int32_t tag, CCoord x, CCoord y,
                                              CCoord labelWidth, CCoord width, const char* text) {
    const CCoord left = x + labelWidth + 1;
    const CCoord top = y + 1;
    auto* field = new (std::nothrow) CTextEdit(CRect(left, top, left + width, top + 22), this, tag, text);
    if (!field) return nullptr;
    styleText(field);
    if (into) into->addView(field);
    keep(tag, field);
    return field;
}

void CorvaneVSTGUIEditor::makeSliderRow(CViewContainer* into, const protocol::Field& field, CCoord x,
                                        CCoord y) {
    makeSlider(into, tagOf(field.group, field.code), x, y, field.range);
    makeTextField(into, protocol::mirrorTagOf(field.group, field.code), x, y, kMirrorLabelWidth, kMirrorWidth,
                  "0");
}

void CorvaneVSTGUIEditor::makeSliderRows(CViewContainer* into, int32_t group, int32_t first, int32_t last,
                                         CCoord x, CCoord top, int32_t columns) {
    int32_t n = 0;
    for (const protocol::Field& f : protocol::kFields) {
        if (f.group != group || f.control != protocol::Control::kSlider || f.code < first || f.code > last)
            continue;
        makeSliderRow(into, f, x + (n % columns) * kColumnWidth, top + (n / columns) * kLineHeight);
        ++n;
    }
}

void CorvaneVSTGUIEditor::buildTopPage() {
    topPage_ = new (std::nothrow) CViewContainer(CRect(0, 0, 528, 240));
    if (!topPage_) return;
    CBitmap* background = bitmap("bg0.png");
    topPage_->setBackground(background);
    if (background) background->forget();
    frame->addView(topPage_);
    logoButton_ = makeMenuButton(topPage_, tags::kLogoTag, CRect(0, 0, 528, 46), "logo.png", 46);

    // Synthesizer settings.
    namespace system = protocol::system;
    constexpr int32_t kSystem = protocol::kGroupSystem;
    makeMenuButton(topPage_, tagOf(kSystem, kMenuButton), CRect(8, 50, 36, 70), "menu.png", 20);
    systemMenu_ = makePopupMenu(tagOf(kSystem, kMenu), kPopupStyle | kMultipleCheckStyle,
                                {"System Reset", "Polyphony", "Recieve sysEx", "NRPN Controlle"});
    polyphonyMenu_ = makePopupMenu(tagOf(kSystem, system::kPolyphony), kCheckStyle,
                                   {"4", "8", "16", "32", "64", "128", "256", "512", "1024"});
    if (systemMenu_) {
        for (int32_t i = 0; i < 4; ++i) systemMenu_->checkEntry(i, false);
        if (CMenuItem* polyphony = systemMenu_->getEntry(1); polyphony && polyphonyMenu_) {
            polyphony->setSubmenu(polyphonyMenu_);
            // Disabled as an entry of its own; its submenu stays reachable.
            polyphony->setEnabled(false);
        }
    }
    makeSlider(topPage_, tagOf(kSystem, system::kVolume), 8, 72, kVolumeSteps);
    if (CTextEdit* db = makeTextField(topPage_, protocol::mirrorTagOf(kSystem, system::kVolume), 8, 72,
                                      kSynthFieldLabelWidth, kSynthFieldWidth, "0"))
        db->setHoriAlign(kLeftText);
    makeSlider(topPage_, tagOf(kSystem, system::kTune), 264, 72, kTuneSteps);
    if (CTextEdit* hz = makeTextField(topPage_, protocol::mirrorTagOf(kSystem, system::kTune), 264, 72,
                                      kSynthFieldLabelWidth, kSynthFieldWidth, "0"))
        hz->setHoriAlign(kLeftText);

    // The selected part.
    namespace part = protocol::part;
    constexpr int32_t kPart = protocol::kGroupPart;
    makeMenuButton(topPage_, tagOf(kPart, kMenuButton), CRect(8, 98, 36, 118), "menu.png", 20);
    partMenu_ = makePopupMenu(tagOf(kPart, kMenu), kPopupStyle,
                              {"Reset Part", "Reset All Controller", "All Sound Off", "OutPut"});
    outputMenu_ =
        makePopupMenu(tagOf(kPart, part::kOutput), kCheckStyle,
                      {"Out 1 [Main]", "Out 2", "Out 3", "Out 4", "Out 5", "Out 6", "Out 7", "Out 8", "Out 9",
                       "Out 10", "Out 11", "Out 12", "Out 13", "Out 14", "Out 15", "Out 16"});
    if (partMenu_) {
        partMenu_->addSeparator(1);
        partMenu_->addSeparator(3);
        if (CMenuItem* output = partMenu_->getEntry(5); output && outputMenu_) {
            output->setSubmenu(outputMenu_);
        }
    }
    makeChoice(
        topPage_, tagOf(kPart, kSelect), 8, 120, 96, 142,
        {"0 [MIDI CH 1]", "1 [MIDI CH 2]", "2 [MIDI CH 3]", "3 [MIDI CH 4]", "4 [MIDI CH 5]", "5 [MIDI CH 6]",
         "6 [MIDI CH 7]", "7 [MIDI CH 8]", "8 [MIDI CH 9]", "9 [MIDI CH 10]", "10 [MIDI CH 11]",
         "11 [MIDI CH 12]", "12 [MIDI CH 13]", "13 [MIDI CH 14]", "14 [MIDI CH 15]", "15 [MIDI CH 16]"});
    makeChoice(topPage_, tagOf(kPart, part::kMode), 264, 120, 96, 142,
               {"0 [Mute]", "1 [Instrument]", "2 [Percussion]", "3 [Sampler]"});
    makeSliderRows(topPage_, kPart, part::kProgram, part::kExpression, 8, 144, 2);
}

void CorvaneVSTGUIEditor::buildTonePage() {
    if (!lowerArea_) return;
    tonePage_ = new (std::nothrow) CLayeredViewContainer(CRect(0, 0, 528, 216));
    if (!tonePage_) return;
    CBitmap* background = bitmap("bg1.png");
    tonePage_->setBackground(background);
    if (background) background->forget();
    lowerArea_->addView(tonePage_);
    namespace tone = protocol::tone;
    constexpr int32_t kTone = protocol::kGroupTone;
    makeMenuButton(tonePage_, tagOf(kTone, kMenuButton), CRect(8, 2, 36, 22), "menu.png", 20);
    toneMenu_ = makePopupMenu(tagOf(kTone, kMenu), kPopupStyle,
                              {"Reset Preset", "Import Presets", "Export Presets", "Export SysEx Text"});
    if (toneMenu_) {
        toneMenu_->addSeparator(1);
        toneMenu_->addSeparator(4);
    }
    makeSliderRow(tonePage_, protocol::field(kTone, kSelect), 8, 24);
    makeTextField(tonePage_, tagOf(kTone, protocol::preset::kName), 264, 24, 96, 160, "preset Name");
    makeChoice(tonePage_, tagOf(kTone, tone::kStrc), 8, 48, 96, 142,
               {"0 [NO LFO]", "1 [LFO PM]", "2 [LFO AM]"});
    // The LFO's rows under its choice, the envelope's in the right column.
    makeSliderRows(tonePage_, kTone, tone::kLfoFreq, tone::kWave, 8, 120, 1);
    makeSliderRows(tonePage_, kTone, tone::kTl, tone::kKfStart, 264, 48, 1);
}

void CorvaneVSTGUIEditor::buildSamplerPage() {
    if (!lowerArea_) return;
    samplerPage_ = new (std::nothrow) CLayeredViewContainer(CRect(0, 0, 528, 216));
    if (!samplerPage_) return;
    CBitmap* background = bitmap("bg2.png");
    samplerPage_->setBackground(background);
    if (background) background->forget();
    lowerArea_->addView(samplerPage_);
    constexpr int32_t kSampler = protocol::kGroupSampler;
    makeMenuButton(samplerPage_, tagOf(kSampler, kMenuButton), CRect(8, 2, 36, 22), "menu.png", 20);
    samplerMenu_ = makePopupMenu(tagOf(kSampler, kMenu), kPopupStyle,
                                 {"Reset Preset", "Import Presets", "Export Presets", "Export SysEx Text"});
    if (samplerMenu_) {
        samplerMenu_->addSeparator(1);
        samplerMenu_->addSeparator(4);
    }
    makeSliderRow(samplerPage_, protocol::field(kSampler, kSelect), 8, 24);
    makeTextField(samplerPage_, tagOf(kSampler, protocol::preset::kName), 264, 24, 96, 160, "preset Name");
    makeSliderRows(samplerPage_, kSampler, protocol::sampler::kSmplNum, protocol::sampler::kRr, 8, 48, 2);
}

void CorvaneVSTGUIEditor::buildSamplePage() {
    if (!lowerArea_) return;
    samplePage_ = new (std::nothrow) CLayeredViewContainer(CRect(0, 216, 528, 368));
    if (!samplePage_) return;
    CBitmap* background = bitmap("bg3.png");
    samplePage_->setBackground(background);
    if (background) background->forget();
    lowerArea_->addView(samplePage_);
    namespace sample = protocol::sample;
    constexpr int32_t kSample = protocol::kGroupSample;
    makeMenuButton(samplePage_, tagOf(kSample, kMenuButton), CRect(8, 2, 36, 22), "menu.png", 20);
    sampleMenu_ = makePopupMenu(
        tagOf(kSample, kMenu), kPopupStyle,
        {"Clear SampleData", "Import WAV File", "Import WAV File (DPCM enocode)",
         "Import WAV File (ADPCM encode)", "Import SampleData Parameters", "Export SampleData Parameters"});
    if (sampleMenu_) {
        sampleMenu_->addSeparator(1);
        sampleMenu_->addSeparator(5);
    }
    makeSliderRow(samplePage_, protocol::field(kSample, kSelect), 8, 24);
    sampleLabels_[0] = makeLabel(samplePage_, 264, 24, 128, 128, "0");
    sampleLabels_[1] = makeLabel(samplePage_, 264, 48, 128, 128, "0");
    makeTextField(samplePage_, tagOf(kSample, sample::kSampleRate), 264, 72, 128, 96, "0.0");
    makeTextField(samplePage_, tagOf(kSample, sample::kPitch), 264, 96, 128, 96, "0.0");
    sampleLabels_[2] = makeLabel(samplePage_, 264, 120, 128, 128, "false");
    makeTextField(samplePage_, tagOf(kSample, sample::kStart), 8, 48, 128, 128, "0");
    makeTextField(samplePage_, tagOf(kSample, sample::kEnd), 8, 72, 128, 128, "0");
    makeTextField(samplePage_, tagOf(kSample, sample::kLoopStart), 8, 96, 128, 128, "0");
    makeTextField(samplePage_, tagOf(kSample, sample::kLoopEnd), 8, 120, 128, 128, "0");
}

void CorvaneVSTGUIEditor::buildAboutOverlay() {
    aboutOverlay_ = new (std::nothrow) CLayeredViewContainer(CRect(0, 0, 528, 608));
    if (!aboutOverlay_) return;
    aboutOverlay_->setBackgroundColor(kOverlayColor);
    frame->addView(aboutOverlay_);
    libraryLogoButton_ =
        makeMenuButton(aboutOverlay_, tags::kLibraryLogoTag, CRect(134, 80, 394, 430), "libLogo.png", 350);
    struct Line {
        CCoord y;
        const char* text;
    };
    static constexpr Line kLines[] = {
        {551, "Copyright (C) 2026 the Corvane developers, GPL-3.0-or-later"},
        {515, "Library Version : 22.12.4"},
        {491, "VST Version : 22.8.8"},
    };
    for (const Line& line : kLines) {
        auto* label = new (std::nothrow) CTextLabel(CRect(35, line.y, 35 + 460, line.y + 22), line.text);
        if (!label) continue;
        styleText(label, 14, kAboutColor, kTransparentCColor);
        aboutOverlay_->addView(label);
    }
}

}  // namespace Vst
}  // namespace Steinberg
