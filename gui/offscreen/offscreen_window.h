#pragma once
#include <cairo.h>

#include <string>

#include "gui/lib/ccolor.h"
#include "gui/offscreen/offscreen_run_loop.h"
#include "gui/platform/platform_frame.h"

namespace VSTGUI {

/** A frame's window drawn into a cairo image surface, with event injection for tests and tools.
    Redraws happen on flush() (the frame's idle) or before any pixel is read. Coordinates of the
    injected events are logical. */
class OffscreenWindow : public IPlatformFrame {
public:
    OffscreenWindow(IPlatformFrameCallback* frame, const CRect& size, double scale);
    ~OffscreenWindow() override;

    /** The off-screen window of frame, or null when it is open elsewhere (or not at all). */
    static OffscreenWindow* of(CFrame* frame);
    /** The factory to install with setPlatformFrameFactory. */
    static IPlatformFrame* create(IPlatformFrameCallback* frame, const CRect& size, double scale,
                                  void* parent, PlatformType type, IPlatformRunLoop* runLoop);

    CMouseEventResult mouseDown(const CPoint& where, CButtonState buttons = kLButton);
    CMouseEventResult mouseMoved(const CPoint& where, CButtonState buttons = kLButton);
    CMouseEventResult mouseUp(const CPoint& where, CButtonState buttons = kLButton);
    /** Press and release at where. */
    void click(const CPoint& where, CButtonState buttons = kLButton);
    /** Press at from, move in steps, release at to. */
    void drag(const CPoint& from, const CPoint& to, int steps = 4, CButtonState buttons = kLButton);
    bool wheel(const CPoint& where, CMouseWheelAxis axis, float distance, CButtonState buttons = 0);
    bool key(VstKeyCode key);
    /** A key without a character (VKEY_RETURN, VKEY_ESCAPE...). */
    bool virtualKey(unsigned char virt, unsigned char modifier = 0);
    /** One key press per code point of utf8 (invalid bytes are sent as they are). */
    void typeText(const std::string& utf8);

    // IPlatformFrame
    void invalidRect(const CRect& rect) override;
    void flush() override;
    bool setScaleFactor(double scale) override;

    bool hasPendingRedraw() const { return !dirty_.isEmpty(); }
    /** The area last drawn and how many draws happened. */
    const CRect& lastDrawnRect() const { return lastDrawn_; }
    int drawCount() const { return drawCount_; }

    int pixelWidth() const;
    int pixelHeight() const;
    double scale() const { return scale_; }
    /** A device pixel (after drawing what is pending); transparent black outside. */
    CColor pixel(int x, int y);
    /** The device pixel at the centre of a logical point's pixel. */
    CColor pixelAt(const CPoint& logical);
    /** Writes the whole window as a PNG; false on failure. */
    bool writePng(const std::string& path);
    cairo_surface_t* surface() {
        flush();
        return surface_;
    }

private:
    void makeSurface();

    IPlatformFrameCallback* frame_;
    CRect size_;
    double scale_;
    cairo_surface_t* surface_ = nullptr;
    CRect dirty_;
    CRect lastDrawn_;
    int drawCount_ = 0;
    bool pressed_ = false;
};

/** Makes frames open off screen for its lifetime and, unless told otherwise, provides an
    OffscreenRunLoop as the current run loop. */
class OffscreenSession {
public:
    explicit OffscreenSession(bool provideRunLoop = true);
    ~OffscreenSession();
    OffscreenSession(const OffscreenSession&) = delete;
    OffscreenSession& operator=(const OffscreenSession&) = delete;

    OffscreenRunLoop& runLoop() { return loop_; }

private:
    OffscreenRunLoop loop_;
    PlatformFrameFactory previous_;
    bool providesRunLoop_;
};

}  // namespace VSTGUI
