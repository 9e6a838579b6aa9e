// The plug frame a test gives an attached view: it leads the view to the host's run loop and
// never changes the window's size.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "tools/corvane-host/host_run_loop.h"

namespace velt::corvane::testing {

class LoopPlugFrame : public Steinberg::IPlugFrame {
public:
    explicit LoopPlugFrame(tools::HostRunLoop& loop) : loop_(loop) {}
    virtual ~LoopPlugFrame() = default;
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView*, Steinberg::ViewRect*) override {
        return Steinberg::kResultTrue;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
        using Steinberg::FUnknownPrivate::iidEqual;
        if (iidEqual(iid, Steinberg::Linux::IRunLoop::iid)) {
            *obj = static_cast<Steinberg::Linux::IRunLoop*>(&loop_);
            return Steinberg::kResultTrue;
        }
        if (iidEqual(iid, Steinberg::IPlugFrame::iid) || iidEqual(iid, Steinberg::FUnknown::iid)) {
            *obj = static_cast<Steinberg::IPlugFrame*>(this);
            return Steinberg::kResultTrue;
        }
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    tools::HostRunLoop& loop_;
};

}  // namespace velt::corvane::testing
