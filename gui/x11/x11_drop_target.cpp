#include "gui/x11/x11_drop_target.h"

#include <X11/Xatom.h>

#include "gui/lib/uri_list.h"
#include "gui/platform/platform_frame.h"

namespace VSTGUI::X11 {

namespace {

constexpr long kVersion = 5;
// Long enough for a slow file manager, short enough that a stuck one is not noticed.
constexpr std::chrono::seconds kDropTimeout(2);

}  // namespace

DropTarget::DropTarget(Display* display, Window window, IPlatformFrameCallback* frame)
    : display_(display), window_(window), frame_(frame) {
    aware_ = XInternAtom(display_, "XdndAware", False);
    enter_ = XInternAtom(display_, "XdndEnter", False);
    position_ = XInternAtom(display_, "XdndPosition", False);
    status_ = XInternAtom(display_, "XdndStatus", False);
    leave_ = XInternAtom(display_, "XdndLeave", False);
    drop_ = XInternAtom(display_, "XdndDrop", False);
    finished_ = XInternAtom(display_, "XdndFinished", False);
    selection_ = XInternAtom(display_, "XdndSelection", False);
    typeList_ = XInternAtom(display_, "XdndTypeList", False);
    actionCopy_ = XInternAtom(display_, "XdndActionCopy", False);
    uriList_ = XInternAtom(display_, "text/uri-list", False);
    property_ = XInternAtom(display_, "CORVANE_DROP_DATA", False);
    incr_ = XInternAtom(display_, "INCR", False);
}

void DropTarget::advertise() {
    long version = kVersion;
    XChangeProperty(display_, window_, aware_, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&version), 1);
    // Sources that look only at top-level windows reach us when the host names this window its
    // top-level's XdndProxy; a proxy must name itself.
    long self = static_cast<long>(window_);
    XChangeProperty(display_, window_, XInternAtom(display_, "XdndProxy", False), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&self), 1);
}

void DropTarget::reset() {
    source_ = 0;
    addressed_ = 0;
    offersUriList_ = false;
    verdict_ = Verdict::Unknown;
    paths_.clear();
    requested_ = false;
    requestForDrop_ = false;
    earlyRequestFailed_ = false;
    dropped_ = false;
}

void DropTarget::handle(const XEvent& e) {
    if (e.type == SelectionNotify) {
        onSelection(e.xselection);
        return;
    }
    if (e.type != ClientMessage || e.xclient.format != 32) return;
    const XClientMessageEvent& m = e.xclient;
    if (m.message_type == enter_) {
        onEnter(m);
        return;
    }
    // Everything else belongs to the drag that entered last.
    if (!source_ || static_cast<Window>(m.data.l[0]) != source_) return;
    if (m.message_type == position_)
        onPosition(m);
    else if (m.message_type == drop_)
        onDrop(m);
    else if (m.message_type == leave_ && !dropped_)
        reset();
}

void DropTarget::onEnter(const XClientMessageEvent& m) {
    reset();
    // A newer protocol than ours may mean what we do not know: such a source is ignored.
    if ((m.data.l[1] >> 24) > kVersion) return;
    source_ = static_cast<Window>(m.data.l[0]);
    addressed_ = m.window;
    if (m.data.l[1] & 1) {
        offersUriList_ = readTypeList(source_);
        return;
    }
    for (int i = 2; i <= 4; ++i)
        if (static_cast<Atom>(m.data.l[i]) == uriList_) offersUriList_ = true;
}

bool DropTarget::readTypeList(Window source) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, source, typeList_, 0, 0x10000, False, XA_ATOM, &type, &format, &count,
                           &after, &data) != Success)
        return false;
    bool found = false;
    if (type == XA_ATOM && format == 32 && data) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            if (atoms[i] == uriList_) found = true;
    }
    if (data) XFree(data);
    return found;
}

void DropTarget::onPosition(const XClientMessageEvent& m) {
    // The files are read before the drop, so that the pointer can show a refusal while it is
    // still over the window.
    if (offersUriList_ && verdict_ == Verdict::Unknown && !requested_ && !earlyRequestFailed_)
        request(static_cast<Time>(m.data.l[3]), false);
    const bool accept = offersUriList_ && verdict_ != Verdict::Refuse;
    // An empty rectangle with bit 1: every move is reported, so a later verdict shows at once.
    sendToSource(status_, (accept ? 1 : 0) | 2, 0, 0, accept ? static_cast<long>(actionCopy_) : None);
}

void DropTarget::onDrop(const XClientMessageEvent& m) {
    dropped_ = true;
    dropTime_ = static_cast<Time>(m.data.l[2]);
    if (!offersUriList_ || verdict_ != Verdict::Unknown) {
        finish(verdict_ == Verdict::Accept);
        return;
    }
    deadline_ = std::chrono::steady_clock::now() + kDropTimeout;
    if (!requested_) request(static_cast<Time>(m.data.l[2]), true);
}

void DropTarget::request(Time time, bool forDrop) {
    XDeleteProperty(display_, window_, property_);
    XConvertSelection(display_, selection_, uriList_, property_, window_, time);
    XFlush(display_);
    requested_ = true;
    requestForDrop_ = forDrop;
    requestTime_ = time;
}

void DropTarget::onSelection(const XSelectionEvent& e) {
    // An answer to an earlier drag's request, or to someone else's, is not ours.
    if (!requested_ || e.requestor != window_ || e.selection != selection_ || e.time != requestTime_) return;
    requested_ = false;
    std::string data;
    if (e.property == None || !readData(data)) {
        if (requestForDrop_) {
            finish(false);
        } else {
            // Some sources give their data only once dropped: ask again then.
            earlyRequestFailed_ = true;
            if (dropped_) request(dropTime_, true);
        }
        return;
    }
    DroppedFiles files = filesFromUriList(data.data(), data.size());
    verdict_ = files.local && frame_->platformCanDropFiles(files.paths) ? Verdict::Accept : Verdict::Refuse;
    paths_ = std::move(files.paths);
    if (dropped_) finish(verdict_ == Verdict::Accept);
}

bool DropTarget::readData(std::string& data) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* bytes = nullptr;
    // A first look for the size, then the whole property at once: a long list is read whole.
    if (XGetWindowProperty(display_, window_, property_, 0, 0, False, AnyPropertyType, &type, &format, &count,
                           &after, &bytes) != Success)
        return false;
    if (bytes) XFree(bytes);
    bytes = nullptr;
    if (type == incr_ || format != 8) {
        XDeleteProperty(display_, window_, property_);
        return false;
    }
    if (XGetWindowProperty(display_, window_, property_, 0, static_cast<long>((after + 3) / 4), True,
                           AnyPropertyType, &type, &format, &count, &after, &bytes) != Success)
        return false;
    const bool whole = format == 8 && after == 0 && bytes;
    if (whole) data.assign(reinterpret_cast<const char*>(bytes), count);
    if (bytes) XFree(bytes);
    return whole;
}

void DropTarget::finish(bool accepted) {
    const bool taken = accepted && frame_->platformOnDropFiles(paths_);
    sendToSource(finished_, taken ? 1 : 0, taken ? static_cast<long>(actionCopy_) : None, 0, 0);
    reset();
}

void DropTarget::checkTimeout() {
    if (dropped_ && requested_ && std::chrono::steady_clock::now() >= deadline_) finish(false);
}

void DropTarget::sendToSource(Atom type, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.display = display_;
    e.xclient.window = source_;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(addressed_);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(display_, source_, False, NoEventMask, &e);
    XFlush(display_);
}

}  // namespace VSTGUI::X11
