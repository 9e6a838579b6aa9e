#include "gui/lib/cfont.h"

#include <cairo.h>

#include "gui/lib/text_layout.h"

namespace VSTGUI {

CFontDesc::CFontDesc(const UTF8String& name, CCoord size, int32_t style)
    : name_(name), size_(size), style_(style) {}

CCoord CFontDesc::getStringWidth(const UTF8String& text) const {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    selectFont(cr, this);
    CCoord width = textAdvance(cr, text.getString());
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return width;
}

namespace {
CFontDesc gSystemFont("Arial", 12);
CFontDesc gNormalFontVeryBig("Arial", 18);
CFontDesc gNormalFontBig("Arial", 14);
CFontDesc gNormalFont("Arial", 12);
CFontDesc gNormalFontSmall("Arial", 11);
CFontDesc gNormalFontSmaller("Arial", 10);
CFontDesc gNormalFontVerySmall("Arial", 9);
}  // namespace

CFontRef kSystemFont = &gSystemFont;
CFontRef kNormalFontVeryBig = &gNormalFontVeryBig;
CFontRef kNormalFontBig = &gNormalFontBig;
CFontRef kNormalFont = &gNormalFont;
CFontRef kNormalFontSmall = &gNormalFontSmall;
CFontRef kNormalFontSmaller = &gNormalFontSmaller;
CFontRef kNormalFontVerySmall = &gNormalFontVerySmall;

}  // namespace VSTGUI
