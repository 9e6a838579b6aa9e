// Drawing primitives of the panel look: faces, headings, labels, field wells and slider tracks.
#pragma once

#include <cairo.h>

#include "tools/corvane-make-art/art_palette.h"
#include "tools/corvane-make-art/page_layouts.h"

namespace velt::corvane::art {

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);

/** Fills the rectangle with a top-to-bottom gradient. */
void fillVertical(cairo_t* cr, double x, double y, double w, double h, Rgb top, Rgb bottom);

/** Adds a rounded rectangle to the current path. */
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);

/** Selects the panel font; bold for labels and titles. */
void selectFont(cairo_t* cr, double size, bool bold);

/** Largest size from start down to minimum at which text fits into maxWidth; selects it. */
double fitFont(cairo_t* cr, const char* text, double maxWidth, double start, double minimum, bool bold);

/** Draws text with its left edge at x, vertically centred on centreY. */
void drawTextLeft(cairo_t* cr, const char* text, double x, double centreY);

/** Draws text horizontally centred on centreX and vertically on centreY. */
void drawTextCentred(cairo_t* cr, const char* text, double centreX, double centreY);

/** Panel face over the whole bitmap. */
void drawPanelFace(cairo_t* cr, int width, int height);

/** Heading strip across the page with its title right of the menu button. */
void drawHeading(cairo_t* cr, int width, const Heading& h);

/** Engraved rule under a row of one column. */
void drawRowRule(cairo_t* cr, double left, double right, double y);

/** Printed row label between left and right, centred in the row. */
void drawRowLabel(cairo_t* cr, const char* text, int left, int right, int rowY);

/** Small caption such as a unit, left edge at x. */
void drawUnit(cairo_t* cr, const char* text, int x, int rowY);
/** A unit caption in heading strip h starting at x; the accent line gives way to it. */
void drawHeadingUnit(cairo_t* cr, const Heading& h, const char* text, int x);

/** Sunken well behind an editable text control. */
void drawWell(cairo_t* cr, const Box& b);

/** Flat, lighter-edged well behind a read-only value. */
void drawReadout(cairo_t* cr, const Box& b);

/** Down arrow at the right end of a choice field. */
void drawChoiceArrow(cairo_t* cr, const Box& b);

/** Groove and tick marks along the handle's travel; travel is the slider's width. */
void drawSliderTrack(cairo_t* cr, const Box& b, int travel);

}  // namespace velt::corvane::art
