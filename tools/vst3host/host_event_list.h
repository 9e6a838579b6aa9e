// The event list a host hands the processor with each block, with a fixed capacity
// so that filling it allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "pluginterfaces/vst/ivstevents.h"
#include "tools/vst3host/host_object.h"

namespace velt::corvane::tools {

class HostEventList final : public Steinberg::Vst::IEventList {
public:
    /// Room for capacity events, taken now; capacity() is 0 when memory was short.
    explicit HostEventList(int32_t capacity = 4096);
    HostEventList(const HostEventList&) = delete;
    HostEventList& operator=(const HostEventList&) = delete;
    virtual ~HostEventList() = default;

    /// Empties the list (the room stays).
    void clear() { count_ = 0; }
    int32_t capacity() const { return capacity_; }

    /// Note on as hosts send it: velocity is the MIDI value (0..127) / 127. False when full.
    bool noteOn(int32_t offset, int32_t channel, int32_t key, int32_t velocity);
    /// Note off with velocity 0. False when full.
    bool noteOff(int32_t offset, int32_t channel, int32_t key);
    /// A kMidiSysEx data event; bytes is the whole message from its 0xF0, kept alive by the
    /// caller until the block has been processed. False when full.
    bool sysEx(int32_t offset, const uint8_t* bytes, uint32_t size);
    /// A kLegacyMIDICCOutEvent as some hosts send controllers and program changes: number
    /// 0..127 a controller, 129 pitch bend (value the low 7 bits, value2 the high), 130 a
    /// program change. False when full.
    bool legacyController(int32_t offset, int32_t channel, int32_t number, int32_t value, int32_t value2 = 0);

    Steinberg::int32 PLUGIN_API getEventCount() override { return count_; }
    /// kResultFalse for an index outside 0..count-1.
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
    /// Appends a copy; kResultFalse when the list is full.
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;
    CORVANE_HOST_OBJECT(Steinberg::Vst::IEventList)

private:
    std::unique_ptr<Steinberg::Vst::Event[]> events_;
    int32_t capacity_ = 0;
    int32_t count_ = 0;
};

}  // namespace velt::corvane::tools
