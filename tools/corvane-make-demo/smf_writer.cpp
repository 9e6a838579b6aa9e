#include "tools/corvane-make-demo/smf_writer.h"

#include <algorithm>

namespace velt::corvane::tools {

namespace {

uint8_t data7(int32_t v) {
    return static_cast<uint8_t>(v & 0x7F);
}

uint8_t statusOf(uint8_t kind, int32_t channel) {
    return static_cast<uint8_t>(kind | (channel & 0x0F));
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void putVlq(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && n < 5);
    while (n > 1) out.push_back(static_cast<uint8_t>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

void SmfTrack::add(uint32_t tick, SmfSlot slot, std::vector<uint8_t> bytes) {
    events_.push_back(Event{tick, slot, static_cast<uint32_t>(events_.size()), std::move(bytes)});
}

void SmfTrack::meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes{0xFF, type};
    putVlq(bytes, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    add(tick, SmfSlot::Setup, std::move(bytes));
}

void SmfTrack::name(uint32_t tick, const std::string& text) {
    meta(tick, 0x03, {text.begin(), text.end()});
}

void SmfTrack::tempo(uint32_t tick, uint32_t microsPerQuarter) {
    std::vector<uint8_t> data;
    putBigEndian(data, microsPerQuarter, 3);
    meta(tick, 0x51, data);
}

void SmfTrack::timeSignature(uint32_t tick, uint8_t numerator, uint8_t denominatorPower) {
    meta(tick, 0x58, {numerator, denominatorPower, 24, 8});
}

void SmfTrack::sysEx(uint32_t tick, const std::vector<uint8_t>& message) {
    std::vector<uint8_t> bytes{0xF0};
    putVlq(bytes, static_cast<uint32_t>(message.size()));
    bytes.insert(bytes.end(), message.begin(), message.end());
    add(tick, SmfSlot::Setup, std::move(bytes));
}

void SmfTrack::note(uint32_t tick, uint32_t length, int32_t channel, int32_t key, int32_t velocity) {
    add(tick, SmfSlot::NoteOn, {statusOf(0x90, channel), data7(key), data7(std::max(1, velocity))});
    add(tick + length, SmfSlot::NoteOff, {statusOf(0x80, channel), data7(key), 64});
}

void SmfTrack::control(uint32_t tick, int32_t channel, int32_t controller, int32_t value, SmfSlot slot) {
    add(tick, slot, {statusOf(0xB0, channel), data7(controller), data7(value)});
}

void SmfTrack::program(uint32_t tick, int32_t channel, int32_t program, SmfSlot slot) {
    add(tick, slot, {statusOf(0xC0, channel), data7(program)});
}

void SmfTrack::bend(uint32_t tick, int32_t channel, int32_t value, SmfSlot slot) {
    const int32_t v = std::min(16383, std::max(0, value));
    add(tick, slot, {statusOf(0xE0, channel), data7(v), data7(v >> 7)});
}

std::vector<uint8_t> SmfTrack::encode() const {
    std::vector<const Event*> order;
    order.reserve(events_.size());
    for (const Event& e : events_) order.push_back(&e);
    std::sort(order.begin(), order.end(), [](const Event* a, const Event* b) {
        if (a->tick != b->tick) return a->tick < b->tick;
        if (a->slot != b->slot) return a->slot < b->slot;
        return a->sequence < b->sequence;
    });
    std::vector<uint8_t> out;
    uint32_t now = 0;
    for (const Event* e : order) {
        putVlq(out, e->tick - now);
        now = e->tick;
        out.insert(out.end(), e->bytes.begin(), e->bytes.end());
    }
    putVlq(out, endTick_ > now ? endTick_ - now : 0);
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    return out;
}

std::vector<uint8_t> encodeSmf(const std::vector<SmfTrack>& tracks, uint16_t ticksPerQuarter) {
    std::vector<uint8_t> out{'M', 'T', 'h', 'd'};
    putBigEndian(out, 6, 4);
    putBigEndian(out, 1, 2);  // format 1
    putBigEndian(out, static_cast<uint32_t>(tracks.size()), 2);
    putBigEndian(out, ticksPerQuarter, 2);
    for (const SmfTrack& track : tracks) {
        const std::vector<uint8_t> payload = track.encode();
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        putBigEndian(out, static_cast<uint32_t>(payload.size()), 4);
        out.insert(out.end(), payload.begin(), payload.end());
    }
    return out;
}

}  // namespace velt::corvane::tools
