#include "gui/offscreen/graphics_caches.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

namespace VSTGUI {

void releaseGraphicsCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace VSTGUI
