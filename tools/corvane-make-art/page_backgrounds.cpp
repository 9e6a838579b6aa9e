#include "tools/corvane-make-art/page_backgrounds.h"

#include <cmath>
#include <cstring>

#include "tools/corvane-make-art/logo_bitmaps.h"
#include "tools/corvane-make-art/panel_painter.h"

namespace velt::corvane::art {

namespace {

constexpr int kColumnWidth = 248;

bool isHeadingRow(const PageLayout& p, int y) {
    for (std::size_t i = 0; i < p.headingCount; ++i) {
        if (p.headings[i].top + p.headings[i].height >= y && p.headings[i].top <= y) return true;
    }
    return false;
}

// One engraved rule under every row that holds a control, per column.
void drawRules(cairo_t* cr, const PageLayout& p) {
    for (std::size_t i = 0; i < p.rowCount; ++i) {
        const FieldRow& r = p.rows[i];
        bool first = true;
        for (std::size_t j = 0; j < i; ++j) {
            if (p.rows[j].x == r.x && p.rows[j].y == r.y) first = false;
        }
        const int bottom = r.y + kRowHeight;
        if (!first || bottom >= p.height || isHeadingRow(p, bottom)) continue;
        drawRowRule(cr, r.x + 2, r.x + kColumnWidth, bottom);
    }
}

// The heading strip that ends right above row y, or null.
const Heading* headingAbove(const PageLayout& p, int y) {
    for (std::size_t i = 0; i < p.headingCount; ++i) {
        const int bottom = p.headings[i].top + p.headings[i].height;
        if (bottom <= y && bottom >= y - 2) return &p.headings[i];
    }
    return nullptr;
}

void drawControl(cairo_t* cr, const PageLayout& p, const FieldRow& r) {
    const Box b = controlBox(r);
    switch (r.kind) {
        case FieldKind::Slider: drawSliderTrack(cr, b, r.width); break;
        case FieldKind::Choice:
            drawWell(cr, b);
            drawChoiceArrow(cr, b);
            break;
        case FieldKind::Readout: drawReadout(cr, b); break;
        case FieldKind::Number:
        case FieldKind::Name:
        case FieldKind::Entry: drawWell(cr, b); break;
    }
    if (std::strlen(r.unit) == 0) return;
    if (r.unitPlace == UnitPlace::After) {
        drawUnit(cr, r.unit, b.right + 3, r.y);
    } else if (const Heading* h = headingAbove(p, r.y)) {
        // Over the field's text, which starts 2 px inside its box.
        drawHeadingUnit(cr, *h, r.unit, b.left + 2);
    }
}

// The tone page's free left rows carry a small sketch of the envelope its sliders shape.
void drawEnvelopeSketch(cairo_t* cr, double left, double top, double width, double height) {
    roundedRect(cr, left + 0.5, top + 0.5, width - 1, height - 1, 4);
    setColour(cr, kReadoutFill, 0.7);
    cairo_fill_preserve(cr);
    setColour(cr, kReadoutBorder);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const double x0 = left + 12, base = top + height - 15, peak = top + 6;
    const double sustain = peak + (base - peak) * 0.45;
    const double xa = x0 + 28, xd = xa + 32, xs = xd + 54, xr = xs + 38;
    setColour(cr, kRule);
    cairo_rectangle(cr, x0 - 4, base, xr - x0 + 12, 1);
    cairo_fill(cr);
    cairo_move_to(cr, x0, base);
    cairo_line_to(cr, xa, peak);
    cairo_curve_to(cr, xa + 8, peak + 10, xd - 12, sustain, xd, sustain);
    cairo_line_to(cr, xs, sustain);
    cairo_curve_to(cr, xs + 10, sustain + 8, xr - 14, base, xr, base);
    setColour(cr, kKnobLight);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);

    // Segment names under the baseline, as the sliders on the right call them.
    selectFont(cr, 8.5, true);
    setColour(cr, kUnitText);
    const double labelY = base + 7;
    drawTextCentred(cr, "AR", (x0 + xa) / 2, labelY);
    drawTextCentred(cr, "DR", (xa + xd) / 2, labelY);
    drawTextCentred(cr, "SL", (xd + xs) / 2, labelY);
    drawTextCentred(cr, "RR", (xs + xr) / 2, labelY);
    selectFont(cr, 9, true);
    setColour(cr, kLabelText, 0.75);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "ENVELOPE", &e);
    drawTextLeft(cr, "ENVELOPE", left + width - 10 - e.x_advance, top + height / 2.0);
}

// The sampler page's free bottom rows show the keyboard whose keys pick the sampler presets.
void drawKeyMapSketch(cairo_t* cr, double left, double top, double width, double height) {
    roundedRect(cr, left + 0.5, top + 0.5, width - 1, height - 1, 4);
    setColour(cr, kReadoutFill, 0.7);
    cairo_fill_preserve(cr);
    setColour(cr, kReadoutBorder);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const int whiteKeys = 75;  // keys 0 to 127
    const double kx = left + 6, ky = top + 5, kw = width - 12, kh = height - 17;
    const double keyW = kw / whiteKeys;
    setColour(cr, kWellFill);
    cairo_rectangle(cr, kx, ky, kw, kh);
    cairo_fill(cr);
    setColour(cr, kWellBorder);
    for (int i = 0; i <= whiteKeys; ++i) {
        cairo_rectangle(cr, std::round(kx + i * keyW), ky, 1, kh);
    }
    cairo_rectangle(cr, kx, ky + kh, kw + 1, 1);
    cairo_fill(cr);
    int white = 0;
    for (int key = 0; key < 128; ++key) {
        const int inOctave = key % 12;
        const bool black = inOctave == 1 || inOctave == 3 || inOctave == 6 || inOctave == 8 || inOctave == 10;
        if (!black) {
            if (key == 60) {
                setColour(cr, kAccent);
                cairo_arc(cr, kx + (white + 0.5) * keyW, ky + kh - 3, 1.6, 0, 2 * M_PI);
                cairo_fill(cr);
            }
            ++white;
            continue;
        }
        setColour(cr, kKnobDark);
        cairo_rectangle(cr, std::round(kx + white * keyW - keyW * 0.32), ky, std::round(keyW * 0.64),
                        kh * 0.6);
        cairo_fill(cr);
    }
    selectFont(cr, 8.5, true);
    setColour(cr, kUnitText);
    const double textY = top + height - 6;
    drawTextLeft(cr, "KEY 0", kx, textY);
    drawTextCentred(cr, "one sampler preset per key", left + width / 2, textY);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "KEY 127", &e);
    drawTextLeft(cr, "KEY 127", kx + kw - e.x_advance, textY);
}

}  // namespace

void drawPageBackground(cairo_t* cr, const PageLayout& p) {
    drawPanelFace(cr, p.width, p.height);
    if (std::strcmp(p.file, "bg0.png") == 0) {
        // Hidden behind the logo button, but keeps the page whole on its own.
        drawLogoFrame(cr, false);
    }
    for (std::size_t i = 0; i < p.headingCount; ++i) drawHeading(cr, p.width, p.headings[i]);
    drawRules(cr, p);
    for (std::size_t i = 0; i < p.rowCount; ++i) {
        const FieldRow& r = p.rows[i];
        if (std::strlen(r.label) > 0) drawRowLabel(cr, r.label, r.x, labelRight(p, r), r.y);
        drawControl(cr, p, r);
    }
    if (std::strcmp(p.file, "bg1.png") == 0) drawEnvelopeSketch(cr, 14, 74, 236, 44);
    if (std::strcmp(p.file, "bg2.png") == 0) drawKeyMapSketch(cr, 14, 172, 500, 40);
}

}  // namespace velt::corvane::art
