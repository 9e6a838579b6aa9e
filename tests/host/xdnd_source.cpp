#include "tests/host/xdnd_source.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>

namespace velt::corvane::testing {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

Display* dpy(void* d) {
    return static_cast<Display*>(d);
}

}  // namespace

XdndSource::XdndSource(const std::string& display) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return;
    display_ = d;
    window_ = XCreateWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                            0, nullptr);
    XSync(d, False);
}

XdndSource::~XdndSource() {
    if (!display_) return;
    XDestroyWindow(dpy(display_), window_);
    XCloseDisplay(dpy(display_));
}

int XdndSource::fd() const {
    return display_ ? ConnectionNumber(dpy(display_)) : -1;
}

void XdndSource::sendMessage(const char* type, long l1, long l2, long l3, long l4) {
    Display* d = dpy(display_);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = target_;
    e.xclient.message_type = XInternAtom(d, type, False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(window_);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(d, destination_, False, NoEventMask, &e);
    XFlush(d);
}

void XdndSource::serve(Outcome& outcome) {
    Display* d = dpy(display_);
    const Atom status = XInternAtom(d, "XdndStatus", False);
    const Atom finished = XInternAtom(d, "XdndFinished", False);
    const Atom copy = XInternAtom(d, "XdndActionCopy", False);
    while (XPending(d) > 0) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == SelectionRequest) {
            const XSelectionRequestEvent& r = e.xselectionrequest;
            ++outcome.requests;
            if (!answer_) continue;
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r.requestor;
            reply.xselection.selection = r.selection;
            reply.xselection.target = r.target;
            reply.xselection.time = r.time;
            reply.xselection.property = None;
            if (std::find(types_.begin(), types_.end(), r.target) != types_.end()) {
                XChangeProperty(d, r.requestor, r.property, r.target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(data_.data()),
                                static_cast<int>(data_.size()));
                reply.xselection.property = r.property;
            }
            XSendEvent(d, r.requestor, False, NoEventMask, &reply);
            XFlush(d);
        } else if (e.type == ClientMessage && static_cast<Window>(e.xclient.data.l[0]) != target_) {
            continue;
        } else if (e.type == ClientMessage && e.xclient.message_type == status) {
            const bool accepted = (e.xclient.data.l[1] & 1) != 0;
            if (outcome.statuses++ == 0) outcome.firstAccepted = accepted;
            outcome.lastAccepted = accepted;
            outcome.lastCopy = static_cast<Atom>(e.xclient.data.l[4]) == copy;
        } else if (e.type == ClientMessage && e.xclient.message_type == finished) {
            outcome.finished = true;
            outcome.finishedAccepted = (e.xclient.data.l[1] & 1) != 0;
            outcome.finishedCopy = static_cast<Atom>(e.xclient.data.l[2]) == copy;
        }
    }
}

bool XdndSource::waitFor(const std::function<bool()>& done, double seconds,
                         const std::function<void()>& pumpTarget, Outcome& outcome) {
    const Clock::time_point start = Clock::now();
    while (!done() && secondsSince(start) < seconds) {
        const Clock::time_point turn = Clock::now();
        pumpTarget();
        outcome.longestTargetTurnSeconds = std::max(outcome.longestTargetTurnSeconds, secondsSince(turn));
        serve(outcome);
    }
    return done();
}

XdndSource::Outcome XdndSource::drag(unsigned long target, const std::vector<std::string>& types,
                                     const std::string& data, const std::function<void()>& pumpTarget,
                                     bool answer) {
    Outcome outcome;
    if (!display_) return outcome;
    Display* d = dpy(display_);
    target_ = target;
    destination_ = target;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* proxy = nullptr;
    if (XGetWindowProperty(d, target, XInternAtom(d, "XdndProxy", False), 0, 1, False, XA_WINDOW, &type,
                           &format, &items, &after, &proxy) == Success &&
        type == XA_WINDOW && items == 1)
        destination_ = *reinterpret_cast<unsigned long*>(proxy);
    if (proxy) XFree(proxy);
    data_ = data;
    answer_ = answer;
    types_.clear();
    for (const std::string& t : types) types_.push_back(XInternAtom(d, t.c_str(), False));
    XSetSelectionOwner(d, XInternAtom(d, "XdndSelection", False), window_, CurrentTime);

    long flags = 5L << 24;
    long inlineTypes[3] = {0, 0, 0};
    if (types_.size() > 3) {
        flags |= 1;
        XChangeProperty(d, window_, XInternAtom(d, "XdndTypeList", False), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(types_.data()),
                        static_cast<int>(types_.size()));
    } else {
        std::copy(types_.begin(), types_.end(), inlineTypes);
    }
    sendMessage("XdndEnter", flags, inlineTypes[0], inlineTypes[1], inlineTypes[2]);

    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, target_, DefaultRootWindow(d), 100, 500, &x, &y, &child);
    const long where = (static_cast<long>(x) << 16) | y;
    const long copy = static_cast<long>(XInternAtom(d, "XdndActionCopy", False));
    sendMessage("XdndPosition", 0, where, CurrentTime, copy);
    waitFor([&] { return outcome.statuses >= 1; }, 2.0, pumpTarget, outcome);
    // The pointer rests a moment, then moves on: the second answer may know more.
    waitFor([] { return false; }, 0.2, pumpTarget, outcome);
    sendMessage("XdndPosition", 0, where + 1, CurrentTime, copy);
    waitFor([&] { return outcome.statuses >= 2; }, 2.0, pumpTarget, outcome);

    sendMessage("XdndDrop", 0, CurrentTime, 0, 0);
    const Clock::time_point dropped = Clock::now();
    if (waitFor([&] { return outcome.finished; }, 6.0, pumpTarget, outcome))
        outcome.dropToFinishSeconds = secondsSince(dropped);
    XSetSelectionOwner(d, XInternAtom(d, "XdndSelection", False), None, CurrentTime);
    XDeleteProperty(d, window_, XInternAtom(d, "XdndTypeList", False));
    XFlush(d);
    return outcome;
}

}  // namespace velt::corvane::testing
