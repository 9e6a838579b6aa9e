#include "gui/lib/cbitmap.h"

#include <new>

#include "gui/lib/cdrawcontext.h"
#include "gui/lib/resource_folder.h"

namespace VSTGUI {

CBitmap::CBitmap(const CResourceDescription& desc) : desc_(desc) {
    if (!desc.name().empty()) load(getResourceFolder() + desc.name());
}

CBitmap::CBitmap(const CResourceDescription& desc, const std::string& path) : desc_(desc) {
    load(path);
}

CBitmap* CBitmap::fromFile(const std::string& path) {
    return new (std::nothrow) CBitmap(CResourceDescription(path), path);
}

CBitmap::~CBitmap() {
    if (surface_) cairo_surface_destroy(surface_);
}

void CBitmap::load(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    surface_ = s;
}

CCoord CBitmap::getWidth() const {
    return surface_ ? cairo_image_surface_get_width(surface_) : 0;
}
CCoord CBitmap::getHeight() const {
    return surface_ ? cairo_image_surface_get_height(surface_) : 0;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha) {
    if (!surface_ || !context || rect.isEmpty()) return;
    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface_, rect.left - offset.x, rect.top - offset.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha * context->getGlobalAlpha());
    cairo_restore(cr);
}

}  // namespace VSTGUI
