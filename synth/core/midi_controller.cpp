#include "synth/core/midi_controller.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace velt::corvane::util {

MidiController::MidiController() : pool_(new (std::nothrow) MidiEvent[kEventQueueCapacity]) {
    if (!pool_) capacity_ = 0;
}

void MidiController::clearQueue() noexcept {
    for (int32_t i = 0; i < capacity_; ++i) pool_[i].reset();
    count_ = 0;
}

void MidiController::process(BlockContext& context) {
    MidiEvent* head = context.events;
    if (!head) {
        count_ = 0;
        return;
    }
    // Drained from the front, each insertion behind its equals: what shares an offset
    // keeps the order it was queued in (a re-struck note is its note off, then its note on).
    MidiEvent* tail = head;
    while (tail->next) tail = tail->next;
    for (int32_t i = 0; i < count_; ++i) {
        MidiEvent* e = &pool_[i];
        MidiEvent* at = tail->offset <= e->offset ? tail : head;
        while (at->next && at->next->offset <= e->offset) at = at->next;
        e->next = at->next;
        at->next = e;
        if (!e->next) tail = e;
    }
    count_ = 0;
}

MidiEvent* MidiController::queueEvent(int32_t offset, int32_t status) noexcept {
    if (count_ >= capacity_) return nullptr;
    MidiEvent* e = &pool_[count_++];
    e->next = nullptr;
    e->portMask = portMask_;
    e->offset = offset;
    e->status = status;
    return e;
}

bool MidiController::queueNoteOn(int32_t offset, int32_t channel, int32_t key, int32_t velocity) noexcept {
    MidiEvent* e = queueEvent(offset, kNoteOn);
    if (!e) return false;
    e->channel = channel;
    e->data1 = key;
    e->data2 = velocity;
    return true;
}

bool MidiController::queueNoteOff(int32_t offset, int32_t channel, int32_t key) noexcept {
    MidiEvent* e = queueEvent(offset, kNoteOff);
    if (!e) return false;
    e->channel = channel;
    e->data1 = key;
    return true;
}

bool MidiController::queueControlChange(int32_t offset, int32_t channel, int32_t controller,
                                        int32_t value) noexcept {
    MidiEvent* e = queueEvent(offset, kControlChange);
    if (!e) return false;
    e->channel = channel;
    e->data1 = controller;
    e->data2 = value;
    return true;
}

bool MidiController::queueProgramChange(int32_t offset, int32_t channel, int32_t program) noexcept {
    MidiEvent* e = queueEvent(offset, kProgramChange);
    if (!e) return false;
    e->channel = channel;
    e->data1 = program;
    return true;
}

bool MidiController::queueChannelPressure(int32_t offset, int32_t channel, int32_t value) noexcept {
    MidiEvent* e = queueEvent(offset, kChannelPressure);
    if (!e) return false;
    e->channel = channel;
    e->data1 = value;
    return true;
}

bool MidiController::queuePolyPressure(int32_t offset, int32_t channel, int32_t key, int32_t value) noexcept {
    MidiEvent* e = queueEvent(offset, kPolyPressure);
    if (!e) return false;
    e->channel = channel;
    e->data1 = key;
    e->data2 = value;
    return true;
}

bool MidiController::queuePitchBend(int32_t offset, int32_t channel, int32_t lsb, int32_t msb) noexcept {
    MidiEvent* e = queueEvent(offset, kPitchBend);
    if (!e) return false;
    e->channel = channel;
    e->data1 = lsb;
    e->data2 = msb;
    return true;
}

bool MidiController::queueSysEx(int32_t offset, const uint8_t* bytes, int32_t length) noexcept {
    MidiEvent* e = queueEvent(offset, kSystemExclusive);
    if (!e) return false;
    const int32_t n = bytes ? std::clamp(length, 0, kSysExCapacity) : 0;
    e->channel = 0;
    if (n > 0) std::memcpy(e->sysExData, bytes, static_cast<size_t>(n));
    e->sysExLength = n;
    return true;
}

}  // namespace velt::corvane::util
