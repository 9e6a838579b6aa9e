#include "tools/corvane-host/host_component_handler.h"

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API HostComponentHandler::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IComponentHandler::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = this;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API HostComponentHandler::beginEdit(ParamID) {
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::performEdit(ParamID id, ParamValue valueNormalized) {
    ++edits_;
    for (Edit& e : pending_)
        if (e.id == id) {
            e.value = valueNormalized;
            return kResultOk;
        }
    // Bounded, so that a view sending edits without end cannot grow the list without end.
    if (pending_.size() >= 4096) return kResultFalse;
    pending_.push_back(Edit{id, valueNormalized});
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::endEdit(ParamID) {
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::restartComponent(int32) {
    return kResultOk;
}

bool HostComponentHandler::takePendingEdits(HostParameterChanges& params) {
    size_t taken = 0;
    bool ok = true;
    for (; taken < pending_.size(); ++taken) {
        if (!params.add(pending_[taken].id, 0, pending_[taken].value)) {
            ok = false;
            break;
        }
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
    return ok;
}

}  // namespace velt::corvane::tools
