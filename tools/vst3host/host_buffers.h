// What a host hands the processor with each block: its event list and its parameter
// changes, with fixed capacities so that filling them allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

namespace velt::corvane::tools {

/// Objects of these classes live in their owner; reference counting does nothing.
#define CORVANE_HOST_OBJECT(Interface)                                                          \
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override { \
        if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid) ||                        \
            Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {              \
            *obj = this;                                                                        \
            return Steinberg::kResultOk;                                                        \
        }                                                                                       \
        *obj = nullptr;                                                                         \
        return Steinberg::kNoInterface;                                                         \
    }                                                                                           \
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }                                \
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

class HostEventList final : public Steinberg::Vst::IEventList {
public:
    explicit HostEventList(size_t capacity = 4096) { events_.reserve(capacity); }
    void clear() { events_.clear(); }
    /// Note on as hosts send it: velocity is the MIDI value / 127.
    void noteOn(int32_t offset, int32_t channel, int32_t key, int32_t velocity);
    void noteOff(int32_t offset, int32_t channel, int32_t key);
    /// bytes: the whole message from its 0xF0; the caller keeps them alive for the block.
    void sysEx(int32_t offset, const uint8_t* bytes, uint32_t size);

    Steinberg::int32 PLUGIN_API getEventCount() override { return static_cast<Steinberg::int32>(events_.size()); }
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;
    CORVANE_HOST_OBJECT(Steinberg::Vst::IEventList)

private:
    std::vector<Steinberg::Vst::Event> events_;
};

class HostParamValueQueue final : public Steinberg::Vst::IParamValueQueue {
public:
    void reset(Steinberg::Vst::ParamID id) {
        id_ = id;
        count_ = 0;
    }
    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id_; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return count_; }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;
    CORVANE_HOST_OBJECT(Steinberg::Vst::IParamValueQueue)

private:
    static constexpr Steinberg::int32 kCapacity = 64;
    Steinberg::Vst::ParamID id_ = 0;
    Steinberg::int32 count_ = 0;
    Steinberg::int32 offsets_[kCapacity] = {};
    Steinberg::Vst::ParamValue values_[kCapacity] = {};
};

class HostParameterChanges final : public Steinberg::Vst::IParameterChanges {
public:
    explicit HostParameterChanges(size_t capacity = 512) : queues_(capacity) {}
    void clear() { used_ = 0; }
    /// Adds one point to the queue of id (a new queue when id has none yet).
    void add(Steinberg::Vst::ParamID id, int32_t offset, double value);

    Steinberg::int32 PLUGIN_API getParameterCount() override { return used_; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;
    CORVANE_HOST_OBJECT(Steinberg::Vst::IParameterChanges)

private:
    std::vector<HostParamValueQueue> queues_;
    Steinberg::int32 used_ = 0;
};

}  // namespace velt::corvane::tools
