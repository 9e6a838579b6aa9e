#include "tools/corvane-make-art/panel_painter.h"

#include <cmath>

namespace velt::corvane::art {

void setColour(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void fillVertical(cairo_t* cr, double x, double y, double w, double h, Rgb top, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::fmin(radius, std::fmin(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void selectFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double fitFont(cairo_t* cr, const char* text, double maxWidth, double start, double minimum, bool bold) {
    double size = start;
    for (; size > minimum; size -= 0.5) {
        selectFont(cr, size, bold);
        cairo_text_extents_t e;
        cairo_text_extents(cr, text, &e);
        if (e.x_advance <= maxWidth) return size;
    }
    selectFont(cr, minimum, bold);
    return minimum;
}

namespace {

// Baseline that centres capitals (and the digits the editor shows) on centreY.
double baselineFor(cairo_t* cr, double centreY) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, "H", &e);
    return std::round(centreY + e.height / 2);
}

}  // namespace

void drawTextLeft(cairo_t* cr, const char* text, double x, double centreY) {
    cairo_move_to(cr, std::round(x), baselineFor(cr, centreY));
    cairo_show_text(cr, text);
}

void drawTextCentred(cairo_t* cr, const char* text, double centreX, double centreY) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    cairo_move_to(cr, std::round(centreX - e.x_advance / 2), baselineFor(cr, centreY));
    cairo_show_text(cr, text);
}

void drawPanelFace(cairo_t* cr, int width, int height) {
    fillVertical(cr, 0, 0, width, height, kPanelTop, kPanelBottom);
    // A faint edge at both sides so the stacked pages read as one framed panel.
    setColour(cr, kPanelEdge);
    cairo_rectangle(cr, 0, 0, 1, height);
    cairo_rectangle(cr, width - 1, 0, 1, height);
    cairo_fill(cr);
    setColour(cr, kRuleLight);
    cairo_rectangle(cr, 1, 0, 1, height);
    cairo_fill(cr);
}

void drawHeading(cairo_t* cr, int width, const Heading& h) {
    fillVertical(cr, 0, h.top, width, h.height, kHeadingTop, kHeadingBottom);
    setColour(cr, kRuleLight, 0.35);
    cairo_rectangle(cr, 0, h.top, width, 1);
    cairo_fill(cr);
    setColour(cr, kKnobEdge, 0.6);
    cairo_rectangle(cr, 0, h.top + h.height - 1, width, 1);
    cairo_fill(cr);

    selectFont(cr, 12, true);
    setColour(cr, kHeadingText);
    drawTextLeft(cr, h.title, h.menuX + 28 + 10, h.top + h.height / 2.0);

    // A thin accent line running out from the title towards the right edge.
    cairo_text_extents_t e;
    cairo_text_extents(cr, h.title, &e);
    const double lineLeft = h.menuX + 28 + 10 + e.x_advance + 10;
    setColour(cr, kAccent, 0.45);
    cairo_rectangle(cr, lineLeft, std::round(h.top + h.height / 2.0), width - 12 - lineLeft, 1);
    cairo_fill(cr);
}

void drawRowRule(cairo_t* cr, double left, double right, double y) {
    setColour(cr, kRule);
    cairo_rectangle(cr, left, y - 1, right - left, 1);
    cairo_fill(cr);
    setColour(cr, kRuleLight);
    cairo_rectangle(cr, left, y, right - left, 1);
    cairo_fill(cr);
}

void drawRowLabel(cairo_t* cr, const char* text, int left, int right, int rowY) {
    const double x = left + 6;
    fitFont(cr, text, right - 4 - x, 11, 8.5, true);
    setColour(cr, kLabelText);
    drawTextLeft(cr, text, x, rowY + kRowHeight / 2.0);
}

void drawUnit(cairo_t* cr, const char* text, int x, int rowY) {
    selectFont(cr, 10, false);
    setColour(cr, kUnitText);
    drawTextLeft(cr, text, x, rowY + kRowHeight / 2.0);
}

void drawHeadingUnit(cairo_t* cr, const Heading& h, const char* text, int x) {
    selectFont(cr, 10, false);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    // The strip's gradient laid again behind the caption clears the accent line there and
    // keeps the strip's top and bottom edges.
    cairo_save(cr);
    cairo_rectangle(cr, x - 5, h.top + 2, e.x_advance + 10, h.height - 4);
    cairo_clip(cr);
    fillVertical(cr, x - 5, h.top, e.x_advance + 10, h.height, kHeadingTop, kHeadingBottom);
    cairo_restore(cr);
    setColour(cr, kHeadingText, 0.8);
    drawTextLeft(cr, text, x, h.top + h.height / 2.0);
}

void drawWell(cairo_t* cr, const Box& b) {
    const double x = b.left + 0.5, y = b.top + 0.5;
    const double w = b.right - b.left - 1, h = b.bottom - b.top - 1;
    roundedRect(cr, x, y, w, h, 3);
    setColour(cr, kWellFill);
    cairo_fill_preserve(cr);
    setColour(cr, kWellBorder);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Inner shade along the top edge gives the sunken look.
    setColour(cr, kWellShade);
    cairo_rectangle(cr, b.left + 2, b.top + 1, b.right - b.left - 4, 1);
    cairo_fill(cr);
}

void drawReadout(cairo_t* cr, const Box& b) {
    const double x = b.left + 0.5, y = b.top + 0.5;
    const double w = b.right - b.left - 1, h = b.bottom - b.top - 1;
    roundedRect(cr, x, y, w, h, 3);
    setColour(cr, kReadoutFill);
    cairo_fill_preserve(cr);
    setColour(cr, kReadoutBorder);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void drawChoiceArrow(cairo_t* cr, const Box& b) {
    const double cx = b.right - kChoiceArrowWidth / 2.0, cy = (b.top + b.bottom) / 2.0;
    setColour(cr, kRule);
    cairo_rectangle(cr, b.right - kChoiceArrowWidth, b.top + 4, 1, b.bottom - b.top - 8);
    cairo_fill(cr);
    cairo_move_to(cr, cx - 4, cy - 2);
    cairo_line_to(cr, cx + 4, cy - 2);
    cairo_line_to(cr, cx, cy + 3);
    cairo_close_path(cr);
    setColour(cr, kGrooveDark);
    cairo_fill(cr);
}

void drawSliderTrack(cairo_t* cr, const Box& b, int travel) {
    // The handle is 10 wide and its left edge travels over [left, left + travel].
    const double x0 = b.left + 5, x1 = b.left + 5 + travel;
    const double cy = (b.top + b.bottom) / 2.0;
    for (int i = 0; i <= 8; ++i) {
        const double tx = std::round(x0 + (x1 - x0) * i / 8.0);
        const double len = (i % 4 == 0) ? 4 : 2;
        setColour(cr, kTick);
        cairo_rectangle(cr, tx, cy + 5, 1, len);
        cairo_fill(cr);
    }
    roundedRect(cr, x0 - 2, cy - 2, x1 - x0 + 4, 4, 2);
    setColour(cr, kGroove);
    cairo_fill(cr);
    setColour(cr, kGrooveDark);
    cairo_rectangle(cr, x0 - 1, cy - 2, x1 - x0 + 2, 1);
    cairo_fill(cr);
    setColour(cr, kRuleLight);
    cairo_rectangle(cr, x0 - 1, cy + 2, x1 - x0 + 2, 1);
    cairo_fill(cr);
}

}  // namespace velt::corvane::art
