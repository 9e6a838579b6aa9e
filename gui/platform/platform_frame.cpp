#include "gui/platform/platform_frame.h"

#include "gui/x11/x11_desktop_scale.h"
#include "gui/x11/x11_window.h"

namespace VSTGUI {

namespace {
PlatformFrameFactory& currentFactory() {
    static PlatformFrameFactory factory = nullptr;
    return factory;
}
}  // namespace

PlatformFrameFactory getPlatformFrameFactory() {
    PlatformFrameFactory f = currentFactory();
    return f ? f : &X11::createX11Window;
}

PlatformFrameFactory setPlatformFrameFactory(PlatformFrameFactory factory) {
    PlatformFrameFactory previous = getPlatformFrameFactory();
    currentFactory() = factory;
    return previous;
}

double getDesktopScaleFactor() {
    return currentFactory() ? 1.0 : X11::desktopScale();
}

}  // namespace VSTGUI
