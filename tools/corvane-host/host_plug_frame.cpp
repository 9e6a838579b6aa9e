#include "tools/corvane-host/host_plug_frame.h"

namespace velt::corvane::tools {

using namespace Steinberg;

tresult PLUGIN_API HostPlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
    if (!view || !newSize || newSize->getWidth() <= 0 || newSize->getHeight() <= 0) return kInvalidArgument;
    // A view that asks again from inside its onSize gets the size it already asked for.
    if (resizing_) return kResultFalse;
    ++resizes_;
    ViewRect current;
    const bool changed = view->getSize(&current) != kResultOk || current.getWidth() != newSize->getWidth() ||
                         current.getHeight() != newSize->getHeight();
    window_.resize(newSize->getWidth(), newSize->getHeight());
    if (!changed) return kResultOk;
    resizing_ = true;
    const tresult r = view->onSize(newSize);
    resizing_ = false;
    return r == kResultOk ? kResultOk : kResultFalse;
}

tresult PLUGIN_API HostPlugFrame::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = static_cast<Linux::IRunLoop*>(&runLoop_);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

}  // namespace velt::corvane::tools
