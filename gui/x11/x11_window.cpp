#include "gui/x11/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

#include "gui/platform/run_loop.h"
#include "gui/x11/x11_drop_target.h"
#include "gui/x11/x11_error_trap.h"
#include "gui/x11/x11_key_translation.h"

namespace VSTGUI::X11 {

namespace {

constexpr uint32_t kServiceIntervalMs = 16;
constexpr Time kDoubleClickMs = 400;

class X11Window : public IPlatformFrame, private IRunLoopFdHandler, private IRunLoopTimerHandler {
public:
    X11Window(IPlatformFrameCallback* frame, const CRect& size, double scale, IPlatformRunLoop* loop)
        : frame_(frame), size_(size), scale_(scale), loop_(loop) {}
    ~X11Window() override;

    bool open(Window parent);
    Window windowId() const { return window_; }

    void invalidRect(const CRect& rect) override;
    void flush() override;
    bool setScaleFactor(double scale) override;
    void takeKeyboardFocus() override;

private:
    void onRunLoopFdReadable(int) override { service(); }
    void onRunLoopTimer() override { service(); }
    void service();
    void handle(XEvent& e);
    void handleButton(XButtonEvent& e, bool press);
    int pixelWidth() const { return static_cast<int>(std::ceil(size_.getWidth() * scale_)); }
    int pixelHeight() const { return static_cast<int>(std::ceil(size_.getHeight() * scale_)); }
    CPoint logical(int x, int y) const { return CPoint(x / scale_, y / scale_); }
    void makeBackBuffer();
    void present(const CRect& device);

    IPlatformFrameCallback* frame_;
    CRect size_;
    double scale_;
    IPlatformRunLoop* loop_;
    Display* display_ = nullptr;
    Window window_ = 0;
    Colormap colormap_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    GC gc_ = nullptr;
    // The back buffer lives on the client side and reaches the window through XPutImage: no
    // flicker, and no per-connection drawing state to clean up.
    cairo_surface_t* backBuffer_ = nullptr;
    CRect dirty_;
    std::unique_ptr<DropTarget> dropTarget_;
    bool* destroyedFlag_ = nullptr;
    bool registered_ = false;
    Time lastPressTime_ = 0;
    unsigned int lastPressButton_ = 0;
    int lastPressX_ = 0, lastPressY_ = 0;
};

X11Window::~X11Window() {
    if (destroyedFlag_) *destroyedFlag_ = true;
    if (registered_) {
        loop_->unregisterFd(this);
        loop_->unregisterTimer(this);
    }
    if (backBuffer_) cairo_surface_destroy(backBuffer_);
    if (display_) {
        if (gc_) XFreeGC(display_, gc_);
        if (window_) XDestroyWindow(display_, window_);
        if (colormap_) XFreeColormap(display_, colormap_);
        XSync(display_, False);
        unwatchDisplayErrors(display_);
        XCloseDisplay(display_);
    }
}

bool X11Window::open(Window parent) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return false;
    watchDisplayErrors(display_);
    if (!parent) parent = DefaultRootWindow(display_);
    XWindowAttributes pa;
    if (!XGetWindowAttributes(display_, parent, &pa) || takeDisplayErrors(display_) != 0) return false;
    visual_ = pa.visual;
    depth_ = pa.depth;
    // The back buffer's pixels are 0xAARRGGBB words: the window needs a visual laid out the same.
    if (visual_->c_class != TrueColor || visual_->red_mask != 0xFF0000 || visual_->green_mask != 0xFF00 ||
        visual_->blue_mask != 0xFF || (depth_ != 24 && depth_ != 32))
        return false;
    colormap_ = XCreateColormap(display_, parent, visual_, AllocNone);
    XSetWindowAttributes swa{};
    swa.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                     KeyReleaseMask | StructureNotifyMask | FocusChangeMask | EnterWindowMask |
                     LeaveWindowMask;
    swa.border_pixel = 0;
    swa.background_pixmap = None;  // no server-side clear before our own drawing: no flicker
    swa.colormap = colormap_;
    window_ = XCreateWindow(display_, parent, 0, 0, pixelWidth(), pixelHeight(), 0, pa.depth, InputOutput,
                            visual_, CWEventMask | CWBorderPixel | CWBackPixmap | CWColormap, &swa);
    if (takeDisplayErrors(display_) != 0) {
        window_ = 0;
        return false;
    }
    // XEMBED: protocol version 0, mapped.
    Atom info = XInternAtom(display_, "_XEMBED_INFO", False);
    long infoData[2] = {0, 1};
    XChangeProperty(display_, window_, info, info, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(infoData), 2);
    XStoreName(display_, window_, "Corvane");
    dropTarget_.reset(new (std::nothrow) DropTarget(display_, window_, frame_));
    if (dropTarget_) dropTarget_->advertise();
    XMapWindow(display_, window_);
    gc_ = XCreateGC(display_, window_, 0, nullptr);
    makeBackBuffer();
    if (takeDisplayErrors(display_) != 0 || !backBuffer_) return false;
    if (!loop_->registerFd(ConnectionNumber(display_), this)) return false;
    if (!loop_->registerTimer(kServiceIntervalMs, this)) {
        loop_->unregisterFd(this);
        return false;
    }
    registered_ = true;
    dirty_ = CRect(0, 0, size_.getWidth(), size_.getHeight());
    XFlush(display_);
    return true;
}

void X11Window::makeBackBuffer() {
    if (backBuffer_) cairo_surface_destroy(backBuffer_);
    backBuffer_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth(), pixelHeight());
    if (cairo_surface_status(backBuffer_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(backBuffer_);
        backBuffer_ = nullptr;
    }
}

void X11Window::present(const CRect& device) {
    cairo_surface_flush(backBuffer_);
    int w = cairo_image_surface_get_width(backBuffer_);
    int h = cairo_image_surface_get_height(backBuffer_);
    XImage* image = XCreateImage(display_, visual_, static_cast<unsigned int>(depth_), ZPixmap, 0,
                                 reinterpret_cast<char*>(cairo_image_surface_get_data(backBuffer_)),
                                 static_cast<unsigned int>(w), static_cast<unsigned int>(h), 32,
                                 cairo_image_surface_get_stride(backBuffer_));
    if (!image) return;
    image->byte_order = LSBFirst;  // cairo's words are native (little-endian) order; Xlib converts
    image->bitmap_bit_order = LSBFirst;
    XPutImage(display_, window_, gc_, image, static_cast<int>(device.left), static_cast<int>(device.top),
              static_cast<int>(device.left), static_cast<int>(device.top),
              static_cast<unsigned int>(device.getWidth()), static_cast<unsigned int>(device.getHeight()));
    image->data = nullptr;  // the pixels belong to cairo
    XDestroyImage(image);
}

void X11Window::invalidRect(const CRect& rect) {
    CRect r(rect);
    r.bound(CRect(0, 0, size_.getWidth(), size_.getHeight()));
    dirty_.unite(r);
}

void X11Window::flush() {
    if (dirty_.isEmpty() || !window_ || !backBuffer_) return;
    CRect dirty = dirty_;
    dirty_ = CRect();
    CRect device(std::floor(dirty.left * scale_), std::floor(dirty.top * scale_),
                 std::ceil(dirty.right * scale_), std::ceil(dirty.bottom * scale_));
    device.bound(CRect(0, 0, pixelWidth(), pixelHeight()));
    cairo_t* cr = cairo_create(backBuffer_);
    cairo_rectangle(cr, device.left, device.top, device.getWidth(), device.getHeight());
    cairo_clip(cr);
    cairo_scale(cr, scale_, scale_);
    frame_->platformDrawRect(
        cr, CRect(device.left / scale_, device.top / scale_, device.right / scale_, device.bottom / scale_));
    cairo_destroy(cr);
    present(device);
    XFlush(display_);
}

bool X11Window::setScaleFactor(double scale) {
    if (scale <= 0) return false;
    scale_ = scale;
    if (!window_) return true;
    XResizeWindow(display_, window_, pixelWidth(), pixelHeight());
    makeBackBuffer();
    dirty_ = CRect(0, 0, size_.getWidth(), size_.getHeight());
    XFlush(display_);
    return true;
}

void X11Window::takeKeyboardFocus() {
    if (!window_) return;
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XFlush(display_);
}

void X11Window::service() {
    bool destroyed = false;
    destroyedFlag_ = &destroyed;
    while (XPending(display_) > 0) {
        XEvent e;
        XNextEvent(display_, &e);
        handle(e);
        if (destroyed) return;
    }
    destroyedFlag_ = nullptr;
    if (dropTarget_) dropTarget_->checkTimeout();
    flush();
}

void X11Window::handleButton(XButtonEvent& e, bool press) {
    CPoint where = logical(e.x, e.y);
    int32_t state = buttonStateFromX(e.state) & ~(kLButton | kMButton | kRButton);
    if (e.button >= 4 && e.button <= 7) {
        if (!press) return;
        CMouseWheelAxis axis = e.button <= 5 ? kMouseWheelAxisY : kMouseWheelAxisX;
        float distance = (e.button == 4 || e.button == 6) ? 1.f : -1.f;
        frame_->platformOnMouseWheel(where, axis, distance, CButtonState(state));
        return;
    }
    if (e.button == 1)
        state |= kLButton;
    else if (e.button == 2)
        state |= kMButton;
    else if (e.button == 3)
        state |= kRButton;
    else
        return;
    if (press) {
        bool near = std::abs(e.x - lastPressX_) < 4 && std::abs(e.y - lastPressY_) < 4;
        if (e.button == lastPressButton_ && e.time - lastPressTime_ < kDoubleClickMs && near)
            state |= kDoubleClick;
        lastPressTime_ = e.time;
        lastPressButton_ = e.button;
        lastPressX_ = e.x;
        lastPressY_ = e.y;
        frame_->platformOnMouseDown(where, CButtonState(state));
    } else {
        frame_->platformOnMouseUp(where, CButtonState(state));
    }
}

void X11Window::handle(XEvent& e) {
    switch (e.type) {
        case Expose:
            invalidRect(CRect(e.xexpose.x / scale_, e.xexpose.y / scale_,
                              (e.xexpose.x + e.xexpose.width) / scale_,
                              (e.xexpose.y + e.xexpose.height) / scale_));
            if (e.xexpose.count == 0) flush();
            break;
        case ButtonPress: handleButton(e.xbutton, true); break;
        case ButtonRelease: handleButton(e.xbutton, false); break;
        case MotionNotify: {
            // Only the latest position matters.
            while (XCheckTypedWindowEvent(display_, window_, MotionNotify, &e)) {
            }
            CPoint where = logical(e.xmotion.x, e.xmotion.y);
            frame_->platformOnMouseMoved(where, CButtonState(buttonStateFromX(e.xmotion.state)));
            break;
        }
        case KeyPress: {
            VstKeyCode key;
            if (translateKeyEvent(e.xkey, key)) frame_->platformOnKeyDown(key);
            break;
        }
        case ClientMessage:
        case SelectionNotify:
            if (dropTarget_) dropTarget_->handle(e);
            break;
        case DestroyNotify:
            if (e.xdestroywindow.window == window_) window_ = 0;
            break;
        default: break;
    }
}

}  // namespace

IPlatformFrame* createX11Window(IPlatformFrameCallback* frame, const CRect& size, double scale, void* parent,
                                PlatformType type, IPlatformRunLoop* runLoop) {
    if (!runLoop || (type != PlatformType::kX11EmbedWindowID && type != PlatformType::kDefaultNative))
        return nullptr;
    X11Window* window = new (std::nothrow) X11Window(frame, size, scale, runLoop);
    if (!window) return nullptr;
    if (!window->open(static_cast<Window>(reinterpret_cast<uintptr_t>(parent)))) {
        delete window;
        return nullptr;
    }
    return window;
}

unsigned long windowIdOf(IPlatformFrame* platformFrame) {
    auto* w = dynamic_cast<X11Window*>(platformFrame);
    return w ? w->windowId() : 0;
}

}  // namespace VSTGUI::X11
