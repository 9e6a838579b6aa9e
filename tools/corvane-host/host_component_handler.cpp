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
    return takePendingEdits([&params](ParamID id, double value) { return params.add(id, 0, value); });
}

}  // namespace velt::corvane::tools
