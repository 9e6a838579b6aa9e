// The built module's editor view attached to an X11 window of the test's own on a virtual
// display, as a host embeds it; taken down in the order a host takes it down.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "pluginterfaces/gui/iplugview.h"
#include "tests/host/child_process.h"
#include "tests/host/loop_plug_frame.h"
#include "tests/host/virtual_display.h"
#include "tools/corvane-host/host_run_loop.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"

// Last: its macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

namespace velt::corvane::testing {

struct EmbeddedView {
    VirtualDisplay display;
    Display* x = nullptr;
    Window parent = 0;
    std::unique_ptr<tools::Vst3Module> module;
    std::unique_ptr<tools::HostRunLoop> loop;
    std::unique_ptr<LoopPlugFrame> frame;
    std::unique_ptr<tools::Vst3Instance> instance;
    Steinberg::IPtr<Steinberg::IPlugView> view;
    std::string skipped;  ///< why the rig could not run here (Xvfb missing)
    std::string error;

    /// Leaves skipped or error set when it cannot attach the view; nothing is left open then.
    EmbeddedView() {
        const std::string server = findProgram("Xvfb");
        if (server.empty()) {
            skipped = "Xvfb is not installed";
            return;
        }
        if (!display.start(server)) {
            fail("Xvfb did not start");
            return;
        }
        setenv("DISPLAY", display.name().c_str(), 1);
        x = XOpenDisplay(display.name().c_str());
        if (!x) {
            fail("no connection to the virtual display");
            return;
        }
        parent = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 528, 608, 0, 0, 0);
        XMapWindow(x, parent);
        XSync(x, False);
        module = tools::Vst3Module::load(CORVANE_BUNDLE_PATH, &error);
        if (!module) {
            fail("the bundle did not load");
            return;
        }
        loop = std::make_unique<tools::HostRunLoop>();
        frame = std::make_unique<LoopPlugFrame>(*loop);
        instance = tools::Vst3Instance::create(*module, &error);
        if (!instance || !instance->connected()) {
            fail("the instance did not connect");
            return;
        }
        view = Steinberg::owned(instance->controller()->createView("editor"));
        if (!view || view->setFrame(frame.get()) != Steinberg::kResultOk || !attach()) {
            fail("the view did not attach");
            return;
        }
    }
    ~EmbeddedView() {
        if (view) {
            if (attachedNow) view->removed();
            view->setFrame(nullptr);
        }
        view = nullptr;
        instance.reset();
        frame.reset();
        loop.reset();
        module.reset();
        if (x) {
            XDestroyWindow(x, parent);
            XCloseDisplay(x);
        }
    }
    bool ready() const { return skipped.empty() && error.empty(); }
    bool attach() {
        attachedNow = view->attached(reinterpret_cast<void*>(parent),
                                     Steinberg::kPlatformTypeX11EmbedWindowID) == Steinberg::kResultOk;
        return attachedNow;
    }
    bool remove() {
        attachedNow = false;
        return view->removed() == Steinberg::kResultOk;
    }

private:
    bool attachedNow = false;
    void fail(const char* what) {
        if (error.empty()) error = what;
    }
};

/// Skips the test where the rig cannot run, and fails it where it should but did not.
#define CORVANE_EMBEDDED_VIEW(rig)                         \
    EmbeddedView rig;                                      \
    if (!rig.skipped.empty()) GTEST_SKIP() << rig.skipped; \
    ASSERT_TRUE(rig.ready()) << rig.error

}  // namespace velt::corvane::testing
