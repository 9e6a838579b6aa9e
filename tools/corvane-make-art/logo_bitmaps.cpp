#include "tools/corvane-make-art/logo_bitmaps.h"

#include <cmath>

#include "tools/corvane-make-art/art_palette.h"
#include "tools/corvane-make-art/panel_painter.h"

namespace velt::corvane::art {

namespace {

Rgb mix(Rgb a, Rgb b, double t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A ring holding one period of a sine and the samples taken of it: a sampled wave.
void drawEmblem(cairo_t* cr, double cx, double cy, double radius, bool lit) {
    const double line = std::fmax(1.5, radius / 14);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    setColour(cr, lit ? kAccentBright : kAccent);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);

    const bool small = radius < 30;  // stems would blur at logo size; dots alone read better
    const int samples = small ? 6 : 12;
    const double span = radius * 1.36, left = cx - span / 2, amp = radius * 0.46;
    setColour(cr, kMuted, 0.5);
    cairo_rectangle(cr, left - radius * 0.08, cy - 0.5, span + radius * 0.16, 1);
    cairo_fill(cr);

    for (int i = 0; i <= 96; ++i) {
        const double t = static_cast<double>(i) / 96;
        const double x = left + span * t, y = cy - amp * std::sin(2 * M_PI * t);
        if (i == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    setColour(cr, lit ? kAccentBright : kAccent, 0.75);
    cairo_set_line_width(cr, std::fmax(1, line * 0.55));
    cairo_stroke(cr);

    const double dot = small ? 1.7 : radius / 20;
    for (int i = 0; i < samples; ++i) {
        const double t = (i + 0.5) / samples;
        const double x = left + span * t, y = cy - amp * std::sin(2 * M_PI * t);
        setColour(cr, kLogoText, lit ? 1.0 : 0.85);
        if (!small) {
            cairo_move_to(cr, x, cy);
            cairo_line_to(cr, x, y);
            cairo_set_line_width(cr, std::fmax(1, line * 0.45));
            cairo_stroke(cr);
        }
        cairo_arc(cr, x, y, dot, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

}  // namespace

void drawLogoFrame(cairo_t* cr, bool pressed) {
    const int w = 528, h = 46;
    const Rgb top = pressed ? mix(kLogoTop, kAccent, 0.18) : kLogoTop;
    const Rgb bottom = pressed ? mix(kLogoBottom, kAccent, 0.12) : kLogoBottom;
    fillVertical(cr, 0, 0, w, h, top, bottom);
    setColour(cr, kAccent, pressed ? 0.9 : 0.55);
    cairo_rectangle(cr, 0, h - 2, w, 2);
    cairo_fill(cr);

    const double d = pressed ? 1 : 0;
    drawEmblem(cr, 30 + d, 22 + d, 15, pressed);

    selectFont(cr, 24, true);
    setColour(cr, kLogoText);
    const double textX = 56 + d, centreY = 22 + d;
    drawTextLeft(cr, "Corvane", textX, centreY);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "Corvane ", &e);
    selectFont(cr, 24, false);
    setColour(cr, pressed ? kAccentBright : kAccent);
    drawTextLeft(cr, "Synth PCM", textX + e.x_advance, centreY);

    selectFont(cr, 9, true);
    setColour(cr, kMuted);
    const char* caption = "16-PART PCM SAMPLE SYNTHESIZER";
    cairo_text_extents(cr, caption, &e);
    drawTextLeft(cr, caption, w - 16 - e.x_advance + d, 16 + d);
    selectFont(cr, 9, false);
    const char* hint = "click for about";
    cairo_text_extents(cr, hint, &e);
    setColour(cr, kMuted, 0.8);
    drawTextLeft(cr, hint, w - 16 - e.x_advance + d, 30 + d);
}

void drawLibraryLogoFrame(cairo_t* cr, bool pressed) {
    const double w = 260, h = 350;
    const Rgb top = pressed ? mix(kLogoTop, kAccent, 0.2) : kLogoTop;
    const Rgb bottom = pressed ? mix(kLogoBottom, kAccent, 0.1) : kLogoBottom;
    cairo_pattern_t* face = cairo_pattern_create_linear(0, 6, 0, h - 6);
    cairo_pattern_add_color_stop_rgb(face, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(face, 1, bottom.r, bottom.g, bottom.b);
    roundedRect(cr, 6.5, 6.5, w - 13, h - 13, 16);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    setColour(cr, pressed ? kAccentBright : kAccent, pressed ? 0.95 : 0.6);
    cairo_set_line_width(cr, pressed ? 2 : 1.5);
    cairo_stroke(cr);

    drawEmblem(cr, w / 2, 136, 74, pressed);

    selectFont(cr, 21, true);
    setColour(cr, kLogoText);
    drawTextCentred(cr, "velt corvane engine", w / 2, 252);
    setColour(cr, kAccent, 0.6);
    cairo_rectangle(cr, w / 2 - 60, 272, 120, 1);
    cairo_fill(cr);
    selectFont(cr, 10, true);
    setColour(cr, kMuted);
    drawTextCentred(cr, "MULTI-TIMBRAL PCM SAMPLE ENGINE", w / 2, 290);
    selectFont(cr, 10, false);
    setColour(cr, kMuted, 0.8);
    drawTextCentred(cr, "click to close", w / 2, 320);
}

}  // namespace velt::corvane::art
