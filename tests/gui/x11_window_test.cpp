#include "gui/x11/x11_window.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "gui_test_support.h"

// Xlib's macros (None, Bool) collide with the test framework's names: include it last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

extern char** environ;

using namespace guitest;

namespace {

// A display to test on: $DISPLAY when it answers, else a private Xvfb started for the test.
class TestDisplay {
public:
    TestDisplay() {
        if (const char* d = std::getenv("DISPLAY"); d && *d) {
            if (Display* probe = XOpenDisplay(d)) {
                XCloseDisplay(probe);
                ok_ = true;
                return;
            }
        }
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        // Xvfb picks a free display number itself and tells it through -displayfd: no races with
        // other test programs starting servers at the same time.
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        const char* argv[] = {"/usr/bin/Xvfb", "-displayfd", "3",   "-noreset", "-screen", "0",
                              "640x480x24",    "-nolisten",  "tcp", nullptr};
        pid_t pid = -1;
        int rc = posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (rc != 0) {
            close(fds[0]);
            return;
        }
        std::string number;
        pollfd pfd{fds[0], POLLIN, 0};
        while (number.find('\n') == std::string::npos && poll(&pfd, 1, 10000) > 0) {
            char buffer[16];
            ssize_t n = read(fds[0], buffer, sizeof(buffer));
            if (n <= 0) break;
            number.append(buffer, static_cast<size_t>(n));
        }
        close(fds[0]);
        while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
        std::string name = ":" + number;
        Display* probe = number.empty() ? nullptr : XOpenDisplay(name.c_str());
        if (!probe) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            return;
        }
        XCloseDisplay(probe);
        const char* old = std::getenv("DISPLAY");
        savedDisplay_ = old ? old : "";
        hadDisplay_ = old != nullptr;
        setenv("DISPLAY", name.c_str(), 1);
        server_ = pid;
        ok_ = true;
    }
    ~TestDisplay() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
            if (hadDisplay_)
                setenv("DISPLAY", savedDisplay_.c_str(), 1);
            else
                unsetenv("DISPLAY");
        }
    }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
    pid_t server_ = -1;
    std::string savedDisplay_;
    bool hadDisplay_ = false;
};

unsigned long pixelOf(Display* d, Window w, int x, int y) {
    XImage* img = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return 0;
    unsigned long p = XGetPixel(img, 0, 0);
    XDestroyImage(img);
    return p & 0xFFFFFF;
}

void sendButton(Display* d, Window w, int type, unsigned int button, int x, int y) {
    XEvent e{};
    e.xbutton.type = type;
    e.xbutton.display = d;
    e.xbutton.window = w;
    e.xbutton.root = DefaultRootWindow(d);
    e.xbutton.x = x;
    e.xbutton.y = y;
    e.xbutton.button = button;
    e.xbutton.same_screen = True;
    e.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
    e.xbutton.time = CurrentTime;
    XSendEvent(d, w, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
}

void sendKey(Display* d, Window w, KeySym sym) {
    XEvent e{};
    e.xkey.type = KeyPress;
    e.xkey.display = d;
    e.xkey.window = w;
    e.xkey.root = DefaultRootWindow(d);
    e.xkey.keycode = XKeysymToKeycode(d, sym);
    e.xkey.same_screen = True;
    XSendEvent(d, w, False, KeyPressMask, &e);
}

}  // namespace

TEST(X11Window, EmbedsDrawsOnExposeAndTakesClicks) {
    TestDisplay display;
    if (!display.ok()) GTEST_SKIP() << "no X display and no Xvfb";
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr) << "DISPLAY=" << (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    Window parent = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 500, 400, 0, 0, 0);
    XMapWindow(d, parent);
    XSync(d, False);

    OffscreenRunLoop loop;
    ScopedRunLoop scoped(&loop);
    RecordingListener listener;
    auto* frame = new CFrame(CRect(0, 0, 200, 150), nullptr);
    auto* page = new CViewContainer(CRect(0, 0, 200, 150));
    page->setBackgroundColor(CColor(0, 128, 255));
    frame->addView(page);
    auto* button = new CKickButton(CRect(10, 10, 60, 40), &listener, 3, nullptr);
    page->addView(button);
    auto* edit = new CTextEdit(CRect(10, 100, 110, 122), &listener, 4, "x");
    page->addView(edit);
    auto* slider = new CHorizontalSlider(CRect(100, 10, 190, 32), &listener, 5, 100, 180, nullptr, nullptr);
    slider->setWheelInc(0.25f);
    page->addView(slider);

    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(static_cast<uintptr_t>(parent)),
                            PlatformType::kX11EmbedWindowID));
    Window child = X11::windowIdOf(frame->getPlatformFrame());
    ASSERT_NE(child, 0u);
    Window root = 0, parentOfChild = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(d, child, &root, &parentOfChild, &children, &count);
    if (children) XFree(children);
    EXPECT_EQ(parentOfChild, parent) << "embedded in the host's window";
    EXPECT_GE(loop.fdCount(), 1u) << "the X connection is watched through the run loop";

    const unsigned long blue = 0x0080FF;
    EXPECT_TRUE(loop.runUntil([&] { return pixelOf(d, child, 150, 120) == blue; }, 3000));

    // Paint over the window from outside, then ask for an Expose: the frame redraws.
    GC gc = XCreateGC(d, child, 0, nullptr);
    XSetForeground(d, gc, 0xFF0000);
    XFillRectangle(d, child, gc, 0, 0, 200, 150);
    XFreeGC(d, gc);
    XSync(d, False);
    ASSERT_EQ(pixelOf(d, child, 150, 120), 0xFF0000u);
    XClearArea(d, child, 0, 0, 0, 0, True);
    XFlush(d);
    EXPECT_TRUE(loop.runUntil([&] { return pixelOf(d, child, 150, 120) == blue; }, 3000));

    // A synthetic click presses and releases the button.
    sendButton(d, child, ButtonPress, 1, 20, 20);
    sendButton(d, child, ButtonRelease, 1, 20, 20);
    XFlush(d);
    EXPECT_TRUE(loop.runUntil([&] { return listener.changes.size() >= 2; }, 3000));
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[0].value, 1.f);
    EXPECT_EQ(listener.changes[1].value, 0.f);

    // Wheel buttons reach the slider.
    listener.changes.clear();
    sendButton(d, child, ButtonPress, 4, 150, 20);
    XFlush(d);
    EXPECT_TRUE(loop.runUntil([&] { return !listener.changes.empty(); }, 3000));
    EXPECT_FLOAT_EQ(slider->getValue(), 0.25f);

    // Keys reach the focused text field.
    listener.changes.clear();
    sendButton(d, child, ButtonPress, 1, 20, 110);
    sendButton(d, child, ButtonRelease, 1, 20, 110);
    XFlush(d);
    EXPECT_TRUE(loop.runUntil([&] { return frame->getFocusView() == edit; }, 3000));
    sendKey(d, child, XK_7);
    sendKey(d, child, XK_Return);
    XFlush(d);
    EXPECT_TRUE(loop.runUntil([&] { return !listener.changes.empty(); }, 3000));
    EXPECT_EQ(edit->getText(), "7");

    // Content scale 2 doubles the window.
    EXPECT_TRUE(frame->setScaleFactor(2.0));
    XSync(d, False);
    loop.runUntil([] { return false; }, 50);
    XWindowAttributes attrs;
    XGetWindowAttributes(d, child, &attrs);
    EXPECT_EQ(attrs.width, 400);
    EXPECT_EQ(attrs.height, 300);
    EXPECT_TRUE(loop.runUntil([&] { return pixelOf(d, child, 350, 250) == blue; }, 3000));

    frame->forget();
    EXPECT_EQ(loop.fdCount(), 0u);
    EXPECT_EQ(loop.timerCount(), 0u);
    XDestroyWindow(d, parent);
    XCloseDisplay(d);
}

TEST(X11Window, NoRunLoopOrBadParentMeansNoWindow) {
    TestDisplay display;
    if (!display.ok()) GTEST_SKIP() << "no X display and no Xvfb";
    auto* frame = new CFrame(CRect(0, 0, 50, 50), nullptr);
    EXPECT_FALSE(frame->open(nullptr)) << "no run loop";
    OffscreenRunLoop loop;
    ScopedRunLoop scoped(&loop);
    EXPECT_FALSE(frame->open(reinterpret_cast<void*>(static_cast<uintptr_t>(0x7FFFFFF0))))
        << "no such window";
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(loop.fdCount(), 0u);
    frame->forget();
}
