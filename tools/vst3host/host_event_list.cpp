#include "tools/vst3host/host_event_list.h"

#include <new>

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostEventList::HostEventList(int32_t capacity) {
    if (capacity > 0) events_.reset(new (std::nothrow) Event[static_cast<size_t>(capacity)]);
    capacity_ = events_ ? capacity : 0;
}

bool HostEventList::noteOn(int32_t offset, int32_t channel, int32_t key, int32_t velocity) {
    Event e{};
    e.type = Event::kNoteOnEvent;
    e.sampleOffset = offset;
    e.noteOn.channel = static_cast<int16>(channel);
    e.noteOn.pitch = static_cast<int16>(key);
    e.noteOn.velocity = static_cast<float>(velocity) / 127.0f;
    e.noteOn.noteId = -1;
    return addEvent(e) == kResultOk;
}

bool HostEventList::noteOff(int32_t offset, int32_t channel, int32_t key) {
    Event e{};
    e.type = Event::kNoteOffEvent;
    e.sampleOffset = offset;
    e.noteOff.channel = static_cast<int16>(channel);
    e.noteOff.pitch = static_cast<int16>(key);
    e.noteOff.velocity = 0.0f;
    e.noteOff.noteId = -1;
    return addEvent(e) == kResultOk;
}

bool HostEventList::legacyController(int32_t offset, int32_t channel, int32_t number, int32_t value,
                                     int32_t value2) {
    Event e{};
    e.type = Event::kLegacyMIDICCOutEvent;
    e.sampleOffset = offset;
    e.midiCCOut.controlNumber = static_cast<uint8>(number);
    e.midiCCOut.channel = static_cast<int8>(channel);
    e.midiCCOut.value = static_cast<int8>(value);
    e.midiCCOut.value2 = static_cast<int8>(value2);
    return addEvent(e) == kResultOk;
}

bool HostEventList::sysEx(int32_t offset, const uint8_t* bytes, uint32_t size) {
    Event e{};
    e.type = Event::kDataEvent;
    e.sampleOffset = offset;
    e.data.type = DataEvent::kMidiSysEx;
    e.data.bytes = bytes;
    e.data.size = bytes ? size : 0;
    return addEvent(e) == kResultOk;
}

tresult PLUGIN_API HostEventList::getEvent(int32 index, Event& e) {
    if (index < 0 || index >= count_) return kResultFalse;
    e = events_[static_cast<size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API HostEventList::addEvent(Event& e) {
    if (count_ >= capacity_) return kResultFalse;
    events_[static_cast<size_t>(count_++)] = e;
    return kResultOk;
}

}  // namespace velt::corvane::tools
