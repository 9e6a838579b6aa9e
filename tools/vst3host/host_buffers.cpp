#include "tools/vst3host/host_buffers.h"

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Vst;

void HostEventList::noteOn(int32_t offset, int32_t channel, int32_t key, int32_t velocity) {
    Event e{};
    e.type = Event::kNoteOnEvent;
    e.sampleOffset = offset;
    e.noteOn.channel = static_cast<int16>(channel);
    e.noteOn.pitch = static_cast<int16>(key);
    e.noteOn.velocity = static_cast<float>(velocity) / 127.0f;
    e.noteOn.noteId = -1;
    addEvent(e);
}

void HostEventList::noteOff(int32_t offset, int32_t channel, int32_t key) {
    Event e{};
    e.type = Event::kNoteOffEvent;
    e.sampleOffset = offset;
    e.noteOff.channel = static_cast<int16>(channel);
    e.noteOff.pitch = static_cast<int16>(key);
    e.noteOff.noteId = -1;
    addEvent(e);
}

void HostEventList::sysEx(int32_t offset, const uint8_t* bytes, uint32_t size) {
    Event e{};
    e.type = Event::kDataEvent;
    e.sampleOffset = offset;
    e.data.type = DataEvent::kMidiSysEx;
    e.data.bytes = bytes;
    e.data.size = size;
    addEvent(e);
}

tresult PLUGIN_API HostEventList::getEvent(int32 index, Event& e) {
    if (index < 0 || index >= getEventCount()) return kResultFalse;
    e = events_[static_cast<size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API HostEventList::addEvent(Event& e) {
    if (events_.size() == events_.capacity()) return kResultFalse;
    events_.push_back(e);
    return kResultOk;
}

tresult PLUGIN_API HostParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
    if (index < 0 || index >= count_) return kResultFalse;
    sampleOffset = offsets_[index];
    value = values_[index];
    return kResultOk;
}

tresult PLUGIN_API HostParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
    if (count_ == kCapacity) return kResultFalse;
    offsets_[count_] = sampleOffset;
    values_[count_] = value;
    index = count_++;
    return kResultOk;
}

void HostParameterChanges::add(ParamID id, int32_t offset, double value) {
    int32 index = 0;
    if (IParamValueQueue* q = addParameterData(id, index)) q->addPoint(offset, value, index);
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
    if (static_cast<size_t>(used_) == queues_.size()) return nullptr;
    queues_[static_cast<size_t>(used_)].reset(id);
    index = used_;
    return &queues_[static_cast<size_t>(used_++)];
}

}  // namespace velt::corvane::tools
