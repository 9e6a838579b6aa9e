#pragma once
// What a frame needs from a window back end, and what the back end calls on the frame.
#include <cairo.h>

#include <string>
#include <vector>

#include "gui/lib/cbuttonstate.h"
#include "gui/lib/crect.h"
#include "gui/lib/vstkeycode.h"

namespace VSTGUI {

class IPlatformRunLoop;

/** Implemented by CFrame; coordinates are logical (the back end divides by the scale). */
class IPlatformFrameCallback {
public:
    virtual ~IPlatformFrameCallback() = default;
    /** Draws dirtyRect; cr is already scaled to logical coordinates. */
    virtual void platformDrawRect(cairo_t* cr, const CRect& dirtyRect) = 0;
    virtual CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons) = 0;
    virtual CMouseEventResult platformOnMouseMoved(CPoint& where, const CButtonState& buttons) = 0;
    virtual CMouseEventResult platformOnMouseUp(CPoint& where, const CButtonState& buttons) = 0;
    virtual bool platformOnMouseWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                                      const CButtonState& buttons) = 0;
    virtual bool platformOnKeyDown(VstKeyCode& key) = 0;
    /** Local files a drag brings over the window: true when a drop of them would be taken. */
    virtual bool platformCanDropFiles(const std::vector<std::string>& /*paths*/) { return false; }
    /** Local files dropped on the window: true when they were taken. */
    virtual bool platformOnDropFiles(const std::vector<std::string>& /*paths*/) { return false; }
};

/** A native (or off-screen) window showing one frame. */
class IPlatformFrame {
public:
    virtual ~IPlatformFrame() = default;
    /** Marks rect (logical) for redraw; the back end draws it soon, on its run loop or on flush. */
    virtual void invalidRect(const CRect& rect) = 0;
    /** Draws whatever is marked now. */
    virtual void flush() = 0;
    /** Pixel size becomes the logical size times scale. */
    virtual bool setScaleFactor(double scale) = 0;
    /** Asks the window system for keyboard input (a text field took the focus). */
    virtual void takeKeyboardFocus() {}
};

/** Extra settings for CFrame::open. */
struct IPlatformFrameConfig {
    virtual ~IPlatformFrameConfig() = default;
    /** The run loop to use instead of the current one. */
    IPlatformRunLoop* runLoop = nullptr;
};

/** Makes the window for a frame; null when it cannot. */
using PlatformFrameFactory = IPlatformFrame* (*)(IPlatformFrameCallback* frame, const CRect& size,
                                                 double scale, void* parent, PlatformType type,
                                                 IPlatformRunLoop* runLoop);

/** The factory frames use; the default makes X11 windows. Main thread only. */
PlatformFrameFactory getPlatformFrameFactory();
/** Replaces the factory (null restores the default) and returns the previous one. */
PlatformFrameFactory setPlatformFrameFactory(PlatformFrameFactory factory);

/** The content scale the desktop asks for (1, 1.5 or 2), for a host that gives none: the X
    server's Xft.dpi with the default factory, 1 with any other (an off-screen window has no
    desktop). Main thread. */
double getDesktopScaleFactor();

}  // namespace VSTGUI
