// The four page backgrounds, drawn from the row tables.
#pragma once

#include <cairo.h>

#include "tools/corvane-make-art/page_layouts.h"

namespace velt::corvane::art {

/** Draws the background of page p at the origin, p.width x p.height pixels. */
void drawPageBackground(cairo_t* cr, const PageLayout& p);

}  // namespace velt::corvane::art
