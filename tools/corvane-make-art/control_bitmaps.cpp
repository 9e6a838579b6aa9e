#include "tools/corvane-make-art/control_bitmaps.h"

#include "tools/corvane-make-art/art_palette.h"
#include "tools/corvane-make-art/panel_painter.h"

namespace velt::corvane::art {

void drawKnob(cairo_t* cr) {
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 10, 0);
    cairo_pattern_add_color_stop_rgb(body, 0, kKnobLight.r, kKnobLight.g, kKnobLight.b);
    cairo_pattern_add_color_stop_rgb(body, 1, kKnobDark.r, kKnobDark.g, kKnobDark.b);
    roundedRect(cr, 0.5, 0.5, 9, 21, 2.5);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setColour(cr, kKnobEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // Centre line marks the value; short grooves give the grip.
    setColour(cr, kKnobGrip);
    cairo_rectangle(cr, 4, 3, 2, 16);
    cairo_fill(cr);
    setColour(cr, kKnobEdge, 0.55);
    cairo_rectangle(cr, 2, 6, 1, 10);
    cairo_rectangle(cr, 7, 6, 1, 10);
    cairo_fill(cr);
}

void drawMenuFrame(cairo_t* cr, bool pressed) {
    const Rgb top = pressed ? kButtonPressedLight : kButtonLight;
    const Rgb bottom = pressed ? kButtonPressedDark : kButtonDark;
    cairo_pattern_t* face = cairo_pattern_create_linear(0, 1, 0, 19);
    cairo_pattern_add_color_stop_rgb(face, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(face, 1, bottom.r, bottom.g, bottom.b);
    roundedRect(cr, 1.5, 1.5, 25, 17, 4);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    setColour(cr, kButtonEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (!pressed) {
        setColour(cr, kRuleLight, 0.9);
        cairo_rectangle(cr, 4, 2, 20, 1);
        cairo_fill(cr);
    }

    const double dy = pressed ? 1 : 0;
    cairo_move_to(cr, 8, 8 + dy);
    cairo_line_to(cr, 20, 8 + dy);
    cairo_line_to(cr, 14, 14 + dy);
    cairo_close_path(cr);
    setColour(cr, kKnobDark);
    cairo_fill(cr);
}

}  // namespace velt::corvane::art
