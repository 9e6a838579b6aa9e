// The built module's editor view attached to an X11 window as a host embeds it, removed and
// attached again: the processor's echoes still reach the view that is shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tests/host/child_process.h"
#include "tests/host/loop_plug_frame.h"
#include "tests/host/virtual_display.h"
#include "tools/corvane-host/host_run_loop.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"

// Last: its macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

namespace velt::corvane::testing {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr ParamID kPartVolumeOfPart0 = 0x10007;

TEST(ViewReattach, EchoesReachAViewAttachedAgain) {
    const std::string server = findProgram("Xvfb");
    if (server.empty()) GTEST_SKIP() << "Xvfb is not installed";
    VirtualDisplay display;
    ASSERT_TRUE(display.start(server));
    ASSERT_EQ(setenv("DISPLAY", display.name().c_str(), 1), 0);
    Display* x = XOpenDisplay(display.name().c_str());
    ASSERT_NE(x, nullptr);
    const Window parent = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 528, 608, 0, 0, 0);
    XMapWindow(x, parent);
    XSync(x, False);

    std::string error;
    std::unique_ptr<tools::Vst3Module> module = tools::Vst3Module::load(CORVANE_BUNDLE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    {
        tools::HostRunLoop loop;
        LoopPlugFrame frame(loop);
        std::unique_ptr<tools::Vst3Instance> instance = tools::Vst3Instance::create(*module, &error);
        ASSERT_NE(instance, nullptr) << error;
        ASSERT_TRUE(instance->connected());
        IEditController* controller = instance->controller();
        FUnknownPtr<IConnectionPoint> processor(instance->component());
        ASSERT_TRUE(processor);
        // The editor's volume edit for part 0, as its slider sends it; the echo makes the view
        // report the part's volume parameter to the controller.
        const auto changeVolume = [&](int32 value) {
            IPtr<IMessage> m = owned(new HostMessage);
            m->setMessageID("GUIEditor:cvValueChange");
            m->getAttributes()->setInt("tag", 0x0107);
            m->getAttributes()->setFloat("val", value / 127.0);
            EXPECT_EQ(processor->notify(m), kResultOk);
        };
        const auto pump = [&] {
            for (int i = 0; i < 5; ++i) loop.runOnce(10.0, -1);
        };

        IPtr<IPlugView> view = owned(controller->createView("editor"));
        ASSERT_TRUE(view);
        ASSERT_EQ(view->setFrame(&frame), kResultOk);
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID), kResultOk);
        pump();
        changeVolume(100);
        EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 100 / 127.0, 1e-6);

        // Removed: the window is gone, nothing reaches the view.
        ASSERT_EQ(view->removed(), kResultOk);
        EXPECT_EQ(loop.timerCount(), 0);
        changeVolume(50);
        EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 100 / 127.0, 1e-6);

        // Attached again (a host hiding and showing its plug-in window): echoes reach it.
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID), kResultOk);
        pump();
        EXPECT_GT(loop.timerCount(), 0);
        changeVolume(20);
        EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 20 / 127.0, 1e-6);
        // A restore refreshes the view it shows, and its echoes keep coming after that.
        IPtr<MemoryStream> saved = owned(new MemoryStream);
        ASSERT_EQ(instance->component()->getState(saved), kResultOk);
        saved->seek(0, IBStream::kIBSeekSet, nullptr);
        ASSERT_EQ(instance->component()->setState(saved), kResultOk);
        pump();
        changeVolume(90);
        EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 90 / 127.0, 1e-6);

        ASSERT_EQ(view->removed(), kResultOk);
        view->setFrame(nullptr);
        view = nullptr;
        instance.reset();
    }
    module.reset();
    XDestroyWindow(x, parent);
    XCloseDisplay(x);
}

}  // namespace
}  // namespace velt::corvane::testing
