// The built module's editor view attached to an X11 window as a host embeds it, removed and
// attached again: the processor's echoes still reach the view that is shown.
#include <gtest/gtest.h>

#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tests/host/embedded_view.h"
#include "tests/plugin/plugin_test_support.h"

namespace velt::corvane::testing {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr ParamID kPartVolumeOfPart0 = 0x10007;

TEST(ViewReattach, EchoesReachAViewAttachedAgain) {
    CORVANE_EMBEDDED_VIEW(rig);
    IEditController* controller = rig.instance->controller();
    FUnknownPtr<IConnectionPoint> processor(rig.instance->component());
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
        for (int i = 0; i < 5; ++i) rig.loop->runOnce(10.0, -1);
    };
    pump();
    changeVolume(100);
    EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 100 / 127.0, 1e-6);

    // Removed: the window is gone, nothing reaches the view.
    ASSERT_TRUE(rig.remove());
    EXPECT_EQ(rig.loop->timerCount(), 0);
    changeVolume(50);
    EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 100 / 127.0, 1e-6);

    // Attached again (a host hiding and showing its plug-in window): echoes reach it.
    ASSERT_TRUE(rig.attach());
    pump();
    EXPECT_GT(rig.loop->timerCount(), 0);
    changeVolume(20);
    EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 20 / 127.0, 1e-6);
    // A restore refreshes the view it shows, and its echoes keep coming after that.
    IComponent* component = rig.instance->component();
    ASSERT_EQ(test::loadState(component, test::saveState(component)), kResultOk);
    pump();
    changeVolume(90);
    EXPECT_NEAR(controller->getParamNormalized(kPartVolumeOfPart0), 90 / 127.0, 1e-6);
}

}  // namespace
}  // namespace velt::corvane::testing
