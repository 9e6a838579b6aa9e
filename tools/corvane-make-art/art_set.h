// Renders each of the eight bitmaps and writes them as PNG files.
#pragma once

#include <cairo.h>

#include <ostream>
#include <string>

#include "tools/corvane-make-art/art_catalog.h"

namespace velt::corvane::art {

/** A new ARGB surface holding the bitmap with all its frames; null when it cannot be made. */
cairo_surface_t* renderBitmap(const BitmapEntry& entry);

/** Writes all eight PNGs into outDir (which must exist); false after the first failure. */
bool writeAllBitmaps(const std::string& outDir, std::ostream& err);

}  // namespace velt::corvane::art
