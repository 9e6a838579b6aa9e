#include "gui/x11/x11_desktop_scale.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace VSTGUI::X11 {

double scaleFromResources(const char* resources) {
    if (!resources) return 1.0;
    static const char kName[] = "Xft.dpi:";
    double dpi = 0.0;
    for (const char* line = resources; line && *line;) {
        if (std::strncmp(line, kName, sizeof kName - 1) == 0) {
            // The last entry wins, as in the resource database itself.
            dpi = std::strtod(line + sizeof kName - 1, nullptr);
        }
        line = std::strchr(line, '\n');
        if (line) ++line;
    }
    // Only the steps the bitmaps are drawn sharp at; 120 dpi and the like stay at 1.
    if (dpi >= 192.0) return 2.0;
    if (dpi >= 144.0) return 1.5;
    return 1.0;
}

double desktopScale() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1.0;
    const double scale = scaleFromResources(XResourceManagerString(display));
    XCloseDisplay(display);
    return scale;
}

}  // namespace VSTGUI::X11
