// The frame the host hands the editor: resizes the host's window when the view asks, and
// leads the view to the host's run loop.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "tools/corvane-host/host_run_loop.h"
#include "tools/corvane-host/host_window.h"

namespace velt::corvane::tools {

class HostPlugFrame : public Steinberg::IPlugFrame {
public:
    /// Both must outlive the frame.
    HostPlugFrame(HostWindow& window, HostRunLoop& runLoop) : window_(window), runLoop_(runLoop) {}
    virtual ~HostPlugFrame() = default;
    HostPlugFrame(const HostPlugFrame&) = delete;
    HostPlugFrame& operator=(const HostPlugFrame&) = delete;

    /// Resizes the window to newSize, then tells the view (onSize) in the same call.
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* newSize) override;

    /// Answers IPlugFrame and the run loop (Linux::IRunLoop).
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    /// Times the view asked to be resized.
    int resizeCount() const { return resizes_; }

private:
    HostWindow& window_;
    HostRunLoop& runLoop_;
    int resizes_ = 0;
    bool resizing_ = false;
};

}  // namespace velt::corvane::tools
