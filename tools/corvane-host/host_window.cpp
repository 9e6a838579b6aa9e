#include "tools/corvane-host/host_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include "tools/corvane-host/host_clock.h"

namespace velt::corvane::tools {

HostWindow::~HostWindow() {
    if (display_) {
        if (window_ && !destroyed_) XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
}

bool HostWindow::openDisplay() {
    display_ = XOpenDisplay(nullptr);
    return display_ != nullptr;
}

int HostWindow::fd() const {
    return display_ ? ConnectionNumber(display_) : -1;
}

bool HostWindow::create(const std::string& title, int32_t width, int32_t height, bool resizable) {
    if (!display_ || width <= 0 || height <= 0) return false;
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    attributes.event_mask = StructureNotifyMask;
    window_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixel | CWEventMask, &attributes);
    if (!window_) return false;
    width_ = width;
    height_ = height;
    resizable_ = resizable;

    XStoreName(display_, window_, title.c_str());
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    XChangeProperty(display_, window_, netName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.c_str()), static_cast<int>(title.size()));
    XClassHint classHint{};
    char name[] = "corvane-host";
    char className[] = "Corvane-host";
    classHint.res_name = name;
    classHint.res_class = className;
    XSetClassHint(display_, window_, &classHint);
    deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_, &deleteWindow_, 1);
    setSizeHints(width, height);
    XFlush(display_);
    return true;
}

void HostWindow::setSizeHints(int32_t width, int32_t height) {
    XSizeHints* hints = XAllocSizeHints();
    if (!hints) return;
    hints->flags = PPosition | PSize;
    hints->x = 0;
    hints->y = 0;
    hints->width = width;
    hints->height = height;
    if (!resizable_) {
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
    }
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
}

void HostWindow::map() {
    if (!display_ || !window_) return;
    XMapRaised(display_, window_);
    XFlush(display_);
    // Bounded: a window manager may hold the map back, and the loop must still run.
    const double until = monotonicMs() + 2000.0;
    XEvent event;
    while (monotonicMs() < until) {
        if (XCheckTypedWindowEvent(display_, window_, MapNotify, &event)) break;
        pollfd p{ConnectionNumber(display_), POLLIN, 0};
        poll(&p, 1, 20);
    }
}

void HostWindow::resize(int32_t width, int32_t height) {
    if (!display_ || !window_ || width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    setSizeHints(width, height);
    XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(display_);
}

void HostWindow::forwardDropsToEmbedded() {
    if (!display_ || !window_) return;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window_, &root, &parent, &children, &count)) return;
    const Atom aware = XInternAtom(display_, "XdndAware", False);
    for (unsigned int i = 0; i < count; ++i) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool isAware = XGetWindowProperty(display_, children[i], aware, 0, 1, False, XA_ATOM, &type,
                                                &format, &items, &after, &data) == Success &&
                             type == XA_ATOM && items == 1;
        if (data) XFree(data);
        if (!isAware) continue;
        long proxy = static_cast<long>(children[i]);
        XChangeProperty(display_, window_, XInternAtom(display_, "XdndProxy", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&proxy), 1);
        break;
    }
    if (children) XFree(children);
    XFlush(display_);
}

void HostWindow::handleEvents() {
    if (!display_) return;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.xany.window != window_) continue;
        if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) {
            closed_ = true;
        } else if (event.type == DestroyNotify) {
            closed_ = true;
            destroyed_ = true;
        }
    }
}

}  // namespace velt::corvane::tools
