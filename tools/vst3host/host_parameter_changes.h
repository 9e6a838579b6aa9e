// The parameter changes a host hands the processor with each block: fixed numbers of
// queues and points, so that filling them allocates nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "tools/vst3host/host_object.h"

namespace velt::corvane::tools {

/// Points a queue holds at most.
constexpr int32_t kHostQueuePoints = 64;

class HostParamValueQueue final : public Steinberg::Vst::IParamValueQueue {
public:
    HostParamValueQueue() = default;
    virtual ~HostParamValueQueue() = default;

    /// Empties the queue and gives it a new parameter id.
    void reset(Steinberg::Vst::ParamID id) {
        id_ = id;
        count_ = 0;
    }

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id_; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return count_; }
    /// kResultFalse for an index outside 0..count-1.
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    /// Appends a point (index gets its position); kResultFalse when the queue is full.
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;
    CORVANE_HOST_OBJECT(Steinberg::Vst::IParamValueQueue)

private:
    Steinberg::Vst::ParamID id_ = 0;
    Steinberg::int32 count_ = 0;
    Steinberg::int32 offsets_[kHostQueuePoints] = {};
    Steinberg::Vst::ParamValue values_[kHostQueuePoints] = {};
};

class HostParameterChanges final : public Steinberg::Vst::IParameterChanges {
public:
    /// Room for capacity queues, taken now; capacity() is 0 when memory was short.
    explicit HostParameterChanges(int32_t capacity = 256);
    HostParameterChanges(const HostParameterChanges&) = delete;
    HostParameterChanges& operator=(const HostParameterChanges&) = delete;
    virtual ~HostParameterChanges() = default;

    /// Drops every queue (the room stays).
    void clear() { used_ = 0; }
    int32_t capacity() const { return capacity_; }
    /// Adds one point to the queue of id (a new queue when id has none yet); false when full.
    bool add(Steinberg::Vst::ParamID id, int32_t offset, double value);

    Steinberg::int32 PLUGIN_API getParameterCount() override { return used_; }
    /// The queue at index, or null outside 0..count-1.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    /// The queue of id with its index: the existing one, else a new empty one at the end;
    /// null when every queue is taken.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;
    CORVANE_HOST_OBJECT(Steinberg::Vst::IParameterChanges)

private:
    std::unique_ptr<HostParamValueQueue[]> queues_;
    int32_t capacity_ = 0;
    int32_t used_ = 0;
};

}  // namespace velt::corvane::tools
