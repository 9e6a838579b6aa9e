// The byte format the host fuzzer reads: up to 64 steps, each an operation byte (modulo
// kOpCount) and its data. Missing bytes read as 0, so every input is a valid script.
//
//   kBlock       frames (2 bytes LE, modulo kMaxFrames + 1), layout byte, event count byte
//                (modulo 33) and that many events, point count byte (modulo 33) and points
//   kBuses       inactive-bus mask (2 bytes LE, bit n = output n), how they are inactive (byte)
//   kActive      setActive toggled
//   kRoundTrip   getState, setState of what it wrote, getState: the two saves must be equal
//   kState       setState of a short chunk: kind byte; even: length byte (modulo 65) and bytes;
//                odd: the current save cut at a 2-byte position, then a patch count byte
//                (modulo 9) and that many patches (2-byte position, byte)
//   kValueChange "GUIEditor:cvValueChange": group byte, code byte, value code
//   kRun         plain blocks: count byte (modulo 8), frames byte
//   kSaveElsewhere  getState on a second thread, running on while the steps after it do
//                (the one before is waited for first; the input's end waits for it)
//
// An event is a kind byte, an offset code and the kind's bytes:
//   kNoteOn, kNoteOff       channel (byte - 16), pitch (byte - 64), velocity value code
//   kSysEx                  size code, copied count byte (modulo 33) and that many bytes after
//                           the 0xF0, fill byte for the rest (a closing 0xF7 when the fill is 0xF7)
//   kLegacy                 channel, control number, value, value2 (each a byte, signed but the number)
//   kPolyPressure           channel (byte - 16), pitch (byte - 64), pressure value code
//   kUnknown                type (2 bytes LE), 8 bytes laid into the event's union
//   kOtherData              data type byte, size byte (valid bytes)
//   kNoteOnId               as kNoteOn, then note id byte and tuning value code
// A point is an id kind byte, its id bytes, an offset code and a value code:
//   kMapped (channel byte 0..255, number byte 0..255), kBypass, kRawId (4 bytes LE),
//   kCommon (channel byte, byte picking one of kCommonNumbers).
//
// Value codes: below 0xF0, (code - 8) / 224 (0 at 8, 1 at 232); above, kSpecialValues.
// Offset codes: below 0xE0, code modulo (frames + 1); above, kSpecialOffsets (outside the block).
// Size codes: below 0xC0 the size itself, above 192 + (code - 0xC0) × 16 (up to 1200).
#pragma once

#include <cstdint>
#include <vector>

namespace velt::corvane::fuzz::host {

enum Op : uint8_t {
    kBlock = 0,
    kBuses = 1,
    kActive = 2,
    kRoundTrip = 3,
    kState = 4,
    kValueChange = 5,
    kRun = 6,
    kSaveElsewhere = 7,
    kOpCount = 8,
};

/// The block's layout byte modulo 8.
enum Layout : uint8_t {
    kSixteen = 0,      ///< 0 to 4: the sixteen outputs as kBuses left them
    kOutputCount = 5,  ///< then a byte: numOutputs = byte modulo 33 (0 with a null array)
    kFlush = 6,        ///< 0 samples, 0 outputs, null array
    kNullOutputs = 7,  ///< 16 outputs announced with a null array
};

/// How the kBuses mask's buses are inactive (byte modulo 4).
enum Inactive : uint8_t {
    kNullChannels = 0,  ///< two null channel pointers, as hosts send inactive buses
    kNullArray = 1,     ///< a null channel array
    kNoChannels = 2,    ///< numChannels 0, channel pointers valid
    kLeftOnly = 3,      ///< the right channel pointer null
};

enum EventKind : uint8_t {
    kNoteOn = 0,
    kNoteOff = 1,
    kSysEx = 2,
    kLegacy = 3,
    kPolyPressure = 4,
    kUnknown = 5,
    kOtherData = 6,
    kNoteOnId = 7,
    kEventKindCount = 8,
};

enum PointKind : uint8_t {
    kMapped = 0,
    kBypass = 1,
    kRawId = 2,
    kCommon = 3,
    kPointKindCount = 4,
};

constexpr uint8_t kCommonNumbers[] = {0,  1,  6,   7,   10,  11,  32,  38,  64,
                                      98, 99, 100, 101, 120, 121, 123, 129, 130};

/// Value codes 0xF0 onwards.
enum SpecialValue : uint8_t {
    kNaN = 0xF0,
    kInfinity = 0xF1,
    kMinusInfinity = 0xF2,
    kOne = 0xF3,
    kZero = 0xF4,
    kHalf = 0xF5,
    kAlmostOne = 0xF6,
    kHugeNegative = 0xF7,
    kHuge = 0xF8,
    kAboveOne = 0xF9,
    kMinusZero = 0xFA,
};

/// Offset codes 0xE0 onwards; the codes past the table's end read as 0.
enum SpecialOffset : uint8_t {
    kMinusOne = 0xE0,
    kMostNegative = 0xE1,
    kBlockEnd = 0xE2,  ///< frames
    kPastEnd = 0xE3,   ///< frames + 1
    kMostPositive = 0xE4,
    kMaxBlock = 0xE5,     ///< the largest block size
    kScratchSize = 0xE6,  ///< 4096
    kFarBeyond = 0xE7,    ///< 65536
    kMinusBlock = 0xE8,   ///< -256
};

/// Appends script bytes; the seeds are written with it. A block's events and points are
/// collected until the next step starts (or bytes() is called).
class Writer {
public:
    Writer& block(uint16_t frames, uint8_t layout = kSixteen, uint8_t outputs = 16) {
        step(kBlock).put(frames & 255).put(frames >> 8).put(layout);
        if (layout % 8 == kOutputCount) put(outputs);
        open_ = true;
        return *this;
    }
    Writer& noteOn(uint8_t offset, int channel, int pitch, uint8_t velocity) {
        return event(kNoteOn, offset).e(channel + 16).e(pitch + 64).e(velocity);
    }
    Writer& noteOff(uint8_t offset, int channel, int pitch) {
        return event(kNoteOff, offset).e(channel + 16).e(pitch + 64).e(kZero);
    }
    Writer& sysEx(uint8_t offset, uint8_t sizeCode, const std::vector<uint8_t>& copied, uint8_t fill) {
        event(kSysEx, offset).e(sizeCode).e(static_cast<int>(copied.size()));
        for (uint8_t b : copied) e(b);
        return e(fill);
    }
    Writer& legacy(uint8_t offset, int8_t channel, uint8_t number, int8_t value, int8_t value2 = 0) {
        return event(kLegacy, offset)
            .e(static_cast<uint8_t>(channel))
            .e(number)
            .e(static_cast<uint8_t>(value))
            .e(static_cast<uint8_t>(value2));
    }
    Writer& polyPressure(uint8_t offset, int channel, int pitch, uint8_t pressure) {
        return event(kPolyPressure, offset).e(channel + 16).e(pitch + 64).e(pressure);
    }
    Writer& unknown(uint8_t offset, uint16_t type) {
        event(kUnknown, offset).e(type & 255).e(type >> 8);
        for (int i = 0; i < 8; ++i) e(0xA5);
        return *this;
    }
    Writer& mapped(uint8_t channel, uint8_t number, uint8_t offset, uint8_t value) {
        return point(kMapped).p(channel).p(number).p(offset).p(value);
    }
    Writer& bypass(uint8_t offset, uint8_t value) { return point(kBypass).p(offset).p(value); }
    Writer& rawId(uint32_t id, uint8_t offset, uint8_t value) {
        point(kRawId);
        for (int i = 0; i < 4; ++i) p(static_cast<uint8_t>(id >> (8 * i)));
        return p(offset).p(value);
    }
    Writer& buses(uint16_t inactiveMask, uint8_t how) {
        return step(kBuses).put(inactiveMask & 255).put(inactiveMask >> 8).put(how);
    }
    Writer& toggleActive() { return step(kActive); }
    Writer& roundTrip() { return step(kRoundTrip); }
    Writer& rawState(const std::vector<uint8_t>& chunk) {
        step(kState).put(0).put(static_cast<int>(chunk.size()));
        for (uint8_t b : chunk) put(b);
        return *this;
    }
    Writer& cutState(uint16_t at, uint16_t patchAt, uint8_t patch) {
        step(kState).put(1).put(at & 255).put(at >> 8).put(1);
        return put(patchAt & 255).put(patchAt >> 8).put(patch);
    }
    Writer& valueChange(uint8_t group, uint8_t code, uint8_t value) {
        return step(kValueChange).put(group).put(code).put(value);
    }
    Writer& run(uint8_t count, uint8_t frames) { return step(kRun).put(count).put(frames); }
    Writer& saveElsewhere() { return step(kSaveElsewhere); }
    const std::vector<uint8_t>& bytes() {
        close();
        return bytes_;
    }

private:
    Writer& put(int b) {
        bytes_.push_back(static_cast<uint8_t>(b));
        return *this;
    }
    Writer& e(int b) {
        events_.push_back(static_cast<uint8_t>(b));
        return *this;
    }
    Writer& p(int b) {
        points_.push_back(static_cast<uint8_t>(b));
        return *this;
    }
    Writer& step(Op op) {
        close();
        return put(op);
    }
    Writer& event(EventKind k, uint8_t offset) {
        ++eventCount_;
        return e(k).e(offset);
    }
    Writer& point(PointKind k) {
        ++pointCount_;
        return p(k);
    }
    void close() {
        if (!open_) return;
        put(eventCount_);
        bytes_.insert(bytes_.end(), events_.begin(), events_.end());
        put(pointCount_);
        bytes_.insert(bytes_.end(), points_.begin(), points_.end());
        events_.clear();
        points_.clear();
        eventCount_ = pointCount_ = 0;
        open_ = false;
    }
    std::vector<uint8_t> bytes_;
    std::vector<uint8_t> events_;
    std::vector<uint8_t> points_;
    int eventCount_ = 0;
    int pointCount_ = 0;
    bool open_ = false;
};

}  // namespace velt::corvane::fuzz::host
