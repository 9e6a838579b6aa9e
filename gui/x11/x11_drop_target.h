#pragma once
// Files dropped on our window from a file manager, by the X drag-and-drop protocol (version 5).
// It all happens as the window's events come in on the run loop: nothing waits for the drag's
// source, and a drop whose data does not come is given up after a while.
#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

namespace VSTGUI {
class IPlatformFrameCallback;
}

namespace VSTGUI::X11 {

class DropTarget {
public:
    DropTarget(Display* display, Window window, IPlatformFrameCallback* frame);
    /** Tells drag sources that the window takes drops. */
    void advertise();
    /** Handles the protocol's client messages and the selection's arrival; other events are
        left alone. */
    void handle(const XEvent& e);
    /** Ends a drop whose data is overdue, as not accepted. Called from the window's timer. */
    void checkTimeout();

private:
    enum class Verdict { Unknown, Accept, Refuse };
    void reset();
    void onEnter(const XClientMessageEvent& m);
    void onPosition(const XClientMessageEvent& m);
    void onDrop(const XClientMessageEvent& m);
    void onSelection(const XSelectionEvent& e);
    bool readTypeList(Window source);
    bool readData(std::string& data);
    void request(Time time, bool forDrop);
    void finish(bool accepted);
    void sendToSource(Atom type, long l1, long l2, long l3, long l4);

    Display* display_;
    Window window_;
    IPlatformFrameCallback* frame_;
    Atom aware_, enter_, position_, status_, leave_, drop_, finished_, selection_, typeList_, actionCopy_,
        uriList_, property_, incr_;

    Window source_ = 0;
    Window addressed_ = 0;  ///< the window the source talks to: ours, or a top-level we are the proxy of
    bool offersUriList_ = false;
    Verdict verdict_ = Verdict::Unknown;
    std::vector<std::string> paths_;
    bool requested_ = false;  ///< a conversion is under way
    bool requestForDrop_ = false;
    bool earlyRequestFailed_ = false;
    Time requestTime_ = 0;
    Time dropTime_ = 0;
    bool dropped_ = false;
    std::chrono::steady_clock::time_point deadline_{};
};

}  // namespace VSTGUI::X11
