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
#include "editor/editor_tags.h"
#include "host/engine_display.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace tags = velt::corvane::editor;

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
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        return text.find('-') == i ? -HUGE_VAL : HUGE_VAL;
    if (error != std::errc() || std::isnan(value))
        return 0.0;
    return value;
}

/// t against a field's range r: at or above r is 1, below 0 is 0.
double ofRange(long long t, long long r) {
    if (t >= r)
        return 1.0;
    if (t < 0)
        return 0.0;
    return static_cast<double>(t) / static_cast<double>(r);
}

/// t within lowest .. highest (stored shifted by -lowest), normalized.
double ofSignedRange(long long t, long long lowest, long long highest) {
    if (t >= highest)
        return 1.0;
    if (t < lowest)
        return 0.0;
    return static_cast<double>(t - lowest) / static_cast<double>(highest - lowest);
}

/// The MIDI controller number each part slider also reports to the host; -1 for none.
int32_t partParameter(int32_t item) {
    switch (item) {
        case 0x03: return 130;
        case 0x05: return 129;
        case 0x06: return 1;
        case 0x07: return 7;
        case 0x08: return 10;
        case 0x09: return 11;
        default: return -1;
    }
}

int32_t presetRange(int32_t group, int32_t item) {
    if (group == tags::kGroupTone) {
        switch (item) {
            case 0x01:
            case 0x09:
            case 0x0A:
            case 0x0B:
            case 0x0C:
            case 0x0D:
            case 0x0E:
            case 0x10: return 127;
            case 0x06:
            case 0x08: return 16383;
            case 0x07: return 15;
            case 0x0F: return 3;
            default: return 0;
        }
    }
    switch (item) {
        case 0x01:
        case 0x03:
        case 0x04:
        case 0x07:
        case 0x08:
        case 0x09:
        case 0x0A:
        case 0x0B: return 127;
        case 0x05: return 15;
        case 0x06: return 16383;
        default: return 0;
    }
}

std::string textOf(CControl* control) {
    if (auto* edit = dynamic_cast<CTextEdit*>(control))
        return edit->getText().getString();
    if (auto* label = dynamic_cast<CTextLabel*>(control))
        return label->getText().getString();
    return std::string();
}

}  // namespace

void CorvaneVSTGUIEditor::onSystemOrPart(CControl* control, int32_t group, int32_t item, float value) {
    if (item == tags::kItemMenuButton) {
        if (value > 0.5f) {
            COptionMenu* menu = group == tags::kGroupSystem ? systemMenu_ : partMenu_;
            if (menu && frame)
                menu->popup(frame, group == tags::kGroupSystem ? systemMenuPoint_ : partMenuPoint_);
        }
        return;
    }
    if (item == tags::kItemPopup) {
        onMenuChoice(static_cast<COptionMenu*>(control));
        return;
    }
    if (group == tags::kGroupSystem) {
        if (item == 0x01 || item == 0x02)
            send(control->getTag(), value);
        return;
    }
    if (item < 0x01 || item > 0x09)
        return;
    send(control->getTag(), value);
    if (const int32_t number = partParameter(item); number >= 0)
        reportParameter(number, value);
}

void CorvaneVSTGUIEditor::onMenuChoice(COptionMenu* menu) {
    if (!menu)
        return;
    int32_t index = -1;
    COptionMenu* chosenIn = menu->getLastItemMenu(index);
    if (!chosenIn || index < 0)
        return;
    const int32_t group = tags::groupOf(menu->getTag());
    if (tags::itemOf(chosenIn->getTag()) == tags::kItemSubmenu) {
        // Polyphony or output: the submenu's value is what the processor reads.
        if (group == tags::kGroupSystem || group == tags::kGroupPart)
            send(tags::tagOf(group, 0x90), chosenIn->getValueNormalized());
        return;
    }
    if (tags::itemOf(chosenIn->getTag()) != tags::kItemPopup)
        return;
    CMenuItem* entry = chosenIn->getEntry(index);
    if (!entry || entry->isSeparator())
        return;
    const int32_t item = tags::itemOf(entry->getTag());
    switch (group) {
        case tags::kGroupSystem:
            if (item == 0x81) {
                send(entry->getTag(), 0.0);
                chosenIn->checkEntry(index, false);
            } else if (item == 0x83 || item == 0x84) {
                send(entry->getTag(), 0.0);
            }
            break;
        case tags::kGroupPart:
            if (item >= 0x81 && item <= 0x83)
                send(entry->getTag(), 0.0);
            break;
        case tags::kGroupTone:
        case tags::kGroupSampler: {
            const bool tone = group == tags::kGroupTone;
            if (item == 0x81)
                send(entry->getTag(), 0.0);
            else if (item == 0x82)
                openFileDialog(tone ? tags::kRequestImportTones : tags::kRequestImportSamplers);
            else if (item == 0x83)
                openFileDialog(tone ? tags::kRequestExportTones : tags::kRequestExportSamplers);
            else if (item == 0x84)
                openFileDialog(tone ? tags::kRequestExportToneSysEx : tags::kRequestExportSamplerSysEx);
            break;
        }
        case tags::kGroupSample:
            switch (item) {
                case 0x81: send(entry->getTag(), 0.0); break;
                case 0x82: openFileDialog(tags::kRequestImportWav); break;
                case 0x83: openFileDialog(tags::kRequestImportWavDpcm); break;
                case 0x84: openFileDialog(tags::kRequestImportWavAdpcm); break;
                case 0x85: openFileDialog(tags::kRequestImportSampleData); break;
                case 0x86: openFileDialog(tags::kRequestExportSampleData); break;
                default: break;
            }
            break;
        default: break;
    }
}

void CorvaneVSTGUIEditor::onPresetControl(CControl* control, int32_t group, int32_t item, float value) {
    if (item == tags::kItemMenuButton) {
        COptionMenu* menu = group == tags::kGroupTone ? toneMenu_ : samplerMenu_;
        if (value > 0.5f && menu && frame)
            menu->popup(frame, group == tags::kGroupTone ? toneMenuPoint_ : samplerMenuPoint_);
        return;
    }
    if (item == tags::kItemPopup) {
        onMenuChoice(static_cast<COptionMenu*>(control));
        return;
    }
    if (item == 0x02) {
        onNameField(control);
        return;
    }
    if (presetRange(group, item) > 0 || (group == tags::kGroupTone && item == 0x03))
        send(control->getTag(), value);
}

void CorvaneVSTGUIEditor::onSampleControl(CControl* control, int32_t item, float value) {
    switch (item) {
        case tags::kItemMenuButton:
            if (value > 0.5f && sampleMenu_ && frame)
                sampleMenu_->popup(frame, sampleMenuPoint_);
            return;
        case tags::kItemPopup: onMenuChoice(static_cast<COptionMenu*>(control)); return;
        case 0x01: send(control->getTag(), value); return;
        case 0x04:
        case 0x05: send(control->getTag(), readDecimal(textOf(control))); return;
        case 0x07:
        case 0x08:
        case 0x09:
        case 0x0A: {
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
    const int32_t sliderTag = tags::tagOf(group, item);
    switch (group) {
        case tags::kGroupSystem: {
            const double t = readDecimal(text);
            // The field shows "inf" for silence, so committing it unchanged must not mean full
            // volume: any infinity here is silence.
            if (item == 0x01)
                send(sliderTag, std::isinf(t) ? 0.0 : t >= 0.0 ? 1.0 : t >= -96.0 ? std::pow(10.0, t / 20.0) : 0.0);
            else if (item == 0x02)
                send(sliderTag, t >= 480.0 ? 1.0 : t >= 400.0 ? (t - 400.0) / 80.0 : 0.0);
            return;
        }
        case tags::kGroupPart: {
            const long long t = readInteger(text);
            double v = 0.0;
            switch (item) {
                case 0x03:
                case 0x04:
                case 0x06:
                case 0x07:
                case 0x09: v = ofRange(t, 127); break;
                case 0x05: v = ofSignedRange(t, -8192, 8191); break;
                case 0x08: v = ofSignedRange(t, -64, 63); break;
                default: return;
            }
            send(sliderTag, v);
            if (const int32_t number = partParameter(item); number >= 0)
                reportParameter(number, v);
            return;
        }
        case tags::kGroupTone:
        case tags::kGroupSampler: {
            const int32_t range = presetRange(group, item);
            if (range > 0)
                send(sliderTag, ofRange(readInteger(text), range));
            return;
        }
        case tags::kGroupSample:
            if (item == 0x01)
                send(sliderTag, ofRange(readInteger(text), 127));
            return;
        default: return;
    }
}

void CorvaneVSTGUIEditor::onNameField(CControl* control) {
    auto* field = dynamic_cast<CTextEdit*>(control);
    if (!field || !engine_)
        return;
    const std::string text = field->getText().getString();
    char name[16];
    size_t kept = 0;
    for (unsigned char c : text) {
        if (kept == 16)
            break;
        if (c >= 0x20 && c <= 0x7E)
            name[kept++] = static_cast<char>(c);
    }
    for (size_t i = kept; i < 16; ++i)
        name[i] = ' ';
    sendNameChange(control->getTag(), name);
    field->setText(std::string(name, 16));
}

}  // namespace Vst
}  // namespace Steinberg
