// The host's top-level X11 window the editor is embedded into, on the host's own connection.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

namespace velt::corvane::tools {

class HostWindow {
public:
    HostWindow() = default;
    /// Destroys the window and closes the connection.
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    /// Opens the display ($DISPLAY); false when there is none.
    bool openDisplay();
    /// Creates the (unmapped) window at the screen's top left; false when X refuses.
    bool create(const std::string& title, int32_t width, int32_t height, bool resizable);
    /// Shows the window and waits until the server has mapped it.
    void map();
    /// New size of the window, and of its fixed-size hints when not resizable.
    void resize(int32_t width, int32_t height);

    /// Names the embedded window that takes drops (XdndAware) as the drop proxy of ours, for
    /// drag sources that only look at top-level windows; nothing when none is embedded yet.
    void forwardDropsToEmbedded();

    /// Handles the events queued on the host's connection; they only tell whether the window closed.
    void handleEvents();
    /// The user closed the window (WM_DELETE_WINDOW), or it was destroyed.
    bool closed() const { return closed_; }

    Display* display() const { return display_; }
    Window window() const { return window_; }
    /// The connection's file descriptor, for the run loop; -1 without a display.
    int fd() const;
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    void setSizeHints(int32_t width, int32_t height);

    Display* display_ = nullptr;
    Window window_ = 0;
    Atom deleteWindow_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool resizable_ = false;
    bool closed_ = false;
    bool destroyed_ = false;
};

}  // namespace velt::corvane::tools
