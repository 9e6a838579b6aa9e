#include "tools/vst3host/host_parameter_changes.h"

#include <new>

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API HostParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
    if (index < 0 || index >= count_) return kResultFalse;
    sampleOffset = offsets_[index];
    value = values_[index];
    return kResultOk;
}

tresult PLUGIN_API HostParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
    if (count_ >= kHostQueuePoints) return kResultFalse;
    offsets_[count_] = sampleOffset;
    values_[count_] = value;
    index = count_++;
    return kResultOk;
}

HostParameterChanges::HostParameterChanges(int32_t capacity) {
    if (capacity > 0) queues_.reset(new (std::nothrow) HostParamValueQueue[static_cast<size_t>(capacity)]);
    capacity_ = queues_ ? capacity : 0;
}

bool HostParameterChanges::add(ParamID id, int32_t offset, double value) {
    int32 index = 0;
    IParamValueQueue* queue = addParameterData(id, index);
    return queue && queue->addPoint(offset, value, index) == kResultOk;
}

IParamValueQueue* PLUGIN_API HostParameterChanges::getParameterData(int32 index) {
    return index >= 0 && index < used_ ? &queues_[static_cast<size_t>(index)] : nullptr;
}

IParamValueQueue* PLUGIN_API HostParameterChanges::addParameterData(const ParamID& id, int32& index) {
    for (int32 i = 0; i < used_; ++i) {
        if (queues_[static_cast<size_t>(i)].getParameterId() == id) {
            index = i;
            return &queues_[static_cast<size_t>(i)];
        }
    }
    if (used_ >= capacity_) return nullptr;
    HostParamValueQueue& queue = queues_[static_cast<size_t>(used_)];
    queue.reset(id);
    index = used_++;
    return &queue;
}

}  // namespace velt::corvane::tools
