// The product logo strip and the library logo of the about overlay.
#pragma once

#include <cairo.h>

namespace velt::corvane::art {

/** One 528 x 46 frame of the product logo at the origin. */
void drawLogoFrame(cairo_t* cr, bool pressed);

/** One 260 x 350 frame of the library logo at the origin. */
void drawLibraryLogoFrame(cairo_t* cr, bool pressed);

}  // namespace velt::corvane::art
