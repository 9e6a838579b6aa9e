// What the controls send: each becomes a value-change message to the processor (and, for
// the part's MIDI-mapped values, a parameter edit the host sees), a file dialog, or a name
// written into the selected preset.
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/corvane_vstgui_editor.h"
#include "host/editor_protocol.h"
#include "host/engine_display.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace protocol = velt::corvane::host::protocol;
using protocol::Control;
using protocol::kMenu;
using protocol::kMenuButton;
using protocol::kReset;

namespace {

/// The text's leading decimal integer, as the standard conversion reads it: blanks and a
/// sign first; anything else, or nothing, reads as 0; far too large values saturate.
long long readInteger(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

/// The text's leading decimal number with a point, whatever locale the host runs in;
/// "inf" reads as infinity, anything unreadable (NaN included) as 0.
double readDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) return text.find('-') == i ? -HUGE_VAL : HUGE_VAL;
    if (error != std::errc() || std::isnan(value)) return 0.0;
    return value;
}

/// t within lowest .. highest (stored shifted by -lowest), normalized: at or above highest is
/// 1, below lowest 0.
double ofRange(long long t, long long lowest, long long highest) {
    if (t >= highest) return 1.0;
    if (t < lowest) return 0.0;
    return static_cast<double>(t - lowest) / static_cast<double>(highest - lowest);
}

std::string textOf(CControl* control) {
    if (auto* edit = dynamic_cast<CTextEdit*>(control)) return edit->getText().getString();
    if (auto* label = dynamic_cast<CTextLabel*>(control)) return label->getText().getString();
    return std::string();
}

}  // namespace

void CorvaneVSTGUIEditor::onSystemOrPart(CControl* control, int32_t group, int32_t item, float value) {
    if (item == kMenuButton) {
        if (value > 0.5f) {
            const bool system = group == protocol::kGroupSystem;
            COptionMenu* menu = system ? systemMenu_ : partMenu_;
            if (menu && frame) menu->popup(frame, system ? systemMenuPoint_ : partMenuPoint_);
        }
        return;
    }
    if (item == kMenu) {
        onMenuChoice(static_cast<COptionMenu*>(control));
        return;
    }
    const protocol::Field* f = protocol::fieldOf(group, item);
    if (!f) return;
    send(control->getTag(), value);
    if (f->midi >= 0) reportParameter(f->midi, value);
}

void CorvaneVSTGUIEditor::onMenuChoice(COptionMenu* menu) {
    if (!menu) return;
    int32_t index = -1;
    COptionMenu* chosenIn = menu->getLastItemMenu(index);
    if (!chosenIn || index < 0) return;
    const int32_t group = protocol::groupOf(menu->getTag());
    if (protocol::codeOf(chosenIn->getTag()) == protocol::kSubmenu) {
        // Polyphony or output.
        if (group == protocol::kGroupSystem || group == protocol::kGroupPart)
            send(protocol::tagOf(group, protocol::kSubmenu), chosenIn->getValueNormalized());
        return;
    }
    if (protocol::codeOf(chosenIn->getTag()) != kMenu) return;
    CMenuItem* entry = chosenIn->getEntry(index);
    if (!entry || entry->isSeparator()) return;
    const int32_t item = protocol::codeOf(entry->getTag());
    switch (group) {
        case protocol::kGroupSystem:
            if (item == kReset) {
                send(entry->getTag(), 0.0);
                chosenIn->checkEntry(index, false);
            } else if (item == protocol::system::kSysExSwitch || item == protocol::system::kNrpnSwitch) {
                send(entry->getTag(), 0.0);
            }
            break;
        case protocol::kGroupPart:
            if (item == kReset || item == protocol::part::kResetControllers ||
                item == protocol::part::kAllSoundOff)
                send(entry->getTag(), 0.0);
            break;
        case protocol::kGroupTone:
        case protocol::kGroupSampler: {
            namespace preset = protocol::preset;
            const bool tone = group == protocol::kGroupTone;
            if (item == kReset)
                send(entry->getTag(), 0.0);
            else if (item == preset::kImport)
                openFileDialog(tone ? protocol::kRequestImportTones : protocol::kRequestImportSamplers);
            else if (item == preset::kExport)
                openFileDialog(tone ? protocol::kRequestExportTones : protocol::kRequestExportSamplers);
            else if (item == preset::kExportSysEx)
                openFileDialog(tone ? protocol::kRequestExportToneSysEx
                                    : protocol::kRequestExportSamplerSysEx);
            break;
        }
        case protocol::kGroupSample: {
            namespace sample = protocol::sample;
            switch (item) {
                case kReset: send(entry->getTag(), 0.0); break;
                case sample::kImportWav: openFileDialog(protocol::kRequestImportWav); break;
                case sample::kImportWavDpcm: openFileDialog(protocol::kRequestImportWavDpcm); break;
                case sample::kImportWavAdpcm: openFileDialog(protocol::kRequestImportWavAdpcm); break;
                case sample::kImportData: openFileDialog(protocol::kRequestImportSampleData); break;
                case sample::kExportData: openFileDialog(protocol::kRequestExportSampleData); break;
                default: break;
            }
            break;
        }
        default: break;
    }
}

void CorvaneVSTGUIEditor::onPresetControl(CControl* control, int32_t group, int32_t item, float value) {
    const bool tone = group == protocol::kGroupTone;
    if (item == kMenuButton) {
        COptionMenu* menu = tone ? toneMenu_ : samplerMenu_;
        if (value > 0.5f && menu && frame) menu->popup(frame, tone ? toneMenuPoint_ : samplerMenuPoint_);
        return;
    }
    if (item == kMenu) {
        onMenuChoice(static_cast<COptionMenu*>(control));
        return;
    }
    const protocol::Field* f = protocol::fieldOf(group, item);
    if (!f) return;
    if (f->control == Control::kName)
        onNameField(control);
    else if (f->control == Control::kSlider || f->control == Control::kChoice)
        send(control->getTag(), value);
}

void CorvaneVSTGUIEditor::onSampleControl(CControl* control, int32_t item, float value) {
    if (item == kMenuButton) {
        if (value > 0.5f && sampleMenu_ && frame) sampleMenu_->popup(frame, sampleMenuPoint_);
        return;
    }
    if (item == kMenu) {
        onMenuChoice(static_cast<COptionMenu*>(control));
        return;
    }
    const protocol::Field* f = protocol::fieldOf(protocol::kGroupSample, item);
    if (!f) return;
    switch (f->control) {
        case Control::kSlider: send(control->getTag(), value); return;
        case Control::kDecimal: send(control->getTag(), readDecimal(textOf(control))); return;
        case Control::kFrames: {
            // Frames travel as a float; the processor truncates and checks them.
            const long long t = readInteger(textOf(control));
            send(control->getTag(), static_cast<double>(t));
            return;
        }
        default: return;
    }
}

void CorvaneVSTGUIEditor::onMirrorText(CControl* control, int32_t group, int32_t item) {
    const std::string text = textOf(control);
    const int32_t sliderTag = protocol::tagOf(group, item);
    if (group == protocol::kGroupSystem) {
        namespace system = protocol::system;
        const double t = readDecimal(text);
        // The field shows "inf" for silence, so committing it unchanged must not mean full
        // volume: any infinity here is silence.
        if (item == system::kVolume) {
            send(sliderTag, std::isinf(t) ? 0.0
                            : t >= 0.0    ? 1.0
                            : t >= -96.0  ? std::pow(10.0, t / 20.0)
                                          : 0.0);
        } else if (item == system::kTune) {
            const double lowest = system::kTuneLowest;
            const double span = system::kTuneSpan;
            send(sliderTag, t >= lowest + span ? 1.0 : t >= lowest ? (t - lowest) / span : 0.0);
        }
        return;
    }
    const protocol::Field* f = protocol::fieldOf(group, item);
    if (!f || f->control != Control::kSlider || f->range == 0) return;
    const double v = ofRange(readInteger(text), -f->shownOffset, f->range - f->shownOffset);
    send(sliderTag, v);
    if (f->midi >= 0) reportParameter(f->midi, v);
}

void CorvaneVSTGUIEditor::onNameField(CControl* control) {
    auto* field = dynamic_cast<CTextEdit*>(control);
    if (!field || !engine_) return;
    const std::string text = field->getText().getString();
    constexpr size_t kBytes = protocol::kNameBytes;
    char name[kBytes];
    size_t kept = 0;
    for (unsigned char c : text) {
        if (kept == kBytes) break;
        if (c >= 0x20 && c <= 0x7E) name[kept++] = static_cast<char>(c);
    }
    for (size_t i = kept; i < kBytes; ++i) name[i] = ' ';
    sendNameChange(control->getTag(), name);
    field->setText(std::string(name, kBytes));
}

}  // namespace Vst
}  // namespace Steinberg
