// The slider handle and the menu button frames.
#pragma once

#include <cairo.h>

namespace velt::corvane::art {

/** The 10 x 22 slider handle at the origin. */
void drawKnob(cairo_t* cr);

/** One 28 x 20 menu button frame at the origin: a down arrow on a small key. */
void drawMenuFrame(cairo_t* cr, bool pressed);

}  // namespace velt::corvane::art
