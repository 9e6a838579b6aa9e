// Drives the shared processor as a host does: blocks of any size up to the announced one
// with events and parameter points anywhere, buses switched on and off, flushes, and
// between blocks activation, saves and restores and the editor's value changes.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "fuzz/fuzz_bodies/host_script.h"
#include "fuzz/fuzz_bodies/processor_rig.h"
#include "plugin/parameter_ids.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::fuzz {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using tools::HostEventList;
using tools::HostParameterChanges;

constexpr int32_t kMaxSteps = 64;
/// Saves and restores (here or elsewhere) cost far more than blocks: a few per input keep
/// the fuzzer fast.
constexpr int32_t kMaxStateSteps = 3;
constexpr int32_t kMaxBlockEvents = 32;
constexpr int32_t kMaxBlockPoints = 32;
constexpr size_t kSysExBudget = 4096;
constexpr int32_t kMaxFrames = ProcessorRig::kMaxFrames;
constexpr int32_t kBuses = 32;  ///< room for numOutputs up to 32

/// Reads the script; past its end every byte is 0.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t u16() {
        const uint16_t lo = byte();
        return static_cast<uint16_t>(lo | byte() << 8);
    }
    uint32_t u32() {
        const uint32_t lo = u16();
        return lo | static_cast<uint32_t>(u16()) << 16;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

double valueOf(uint8_t code) {
    if (code < 0xF0) return (code - 8) / 224.0;
    switch (code) {
        case host::kNaN: return std::numeric_limits<double>::quiet_NaN();
        case host::kInfinity: return std::numeric_limits<double>::infinity();
        case host::kMinusInfinity: return -std::numeric_limits<double>::infinity();
        case host::kOne: return 1.0;
        case host::kZero: return 0.0;
        case host::kHalf: return 0.5;
        case host::kAlmostOne: return 0.9999;
        case host::kHugeNegative: return -1e300;
        case host::kHuge: return 1e300;
        case host::kAboveOne: return std::nextafter(1.0, 2.0);
        case host::kMinusZero: return -0.0;
        default: return DBL_MIN;
    }
}

/// A value code as a float field: beyond the float range it is an infinity (a plain
/// conversion of such a double is undefined).
float floatOf(uint8_t code) {
    const double v = valueOf(code);
    if (v > FLT_MAX) return std::numeric_limits<float>::infinity();
    if (v < -FLT_MAX) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

int32 offsetOf(uint8_t code, int32_t frames) {
    if (code < 0xE0) return code % (frames + 1);
    switch (code) {
        case host::kMinusOne: return -1;
        case host::kMostNegative: return std::numeric_limits<int32>::min();
        case host::kBlockEnd: return frames;
        case host::kPastEnd: return frames + 1;
        case host::kMostPositive: return std::numeric_limits<int32>::max();
        case host::kMaxBlock: return kMaxFrames;
        case host::kScratchSize: return 4096;
        case host::kFarBeyond: return 65536;
        case host::kMinusBlock: return -256;
        default: return 0;
    }
}

/// Everything a block's call hands the processor, built once per process: the channels
/// sit at the end of their own allocations, so a write past the block's frames is caught.
struct HostSide {
    HostEventList events{kMaxBlockEvents};
    HostParameterChanges changes{kMaxBlockPoints};
    std::vector<std::vector<float>> channelMemory;
    float* channels[kBuses][2] = {};
    float* nulls[2] = {nullptr, nullptr};
    float* leftOnly[kBuses][2] = {};
    AudioBusBuffers outputs[kBuses];
    std::vector<uint8_t> sysEx;  ///< this block's SysEx bytes, alive until it is processed
    size_t sysExUsed = 0;        ///< this input's SysEx bytes so far

    bool valid() const { return events.capacity() > 0 && changes.capacity() > 0 && !channelMemory.empty(); }
};

HostSide* hostSide() {
    static HostSide* side = [] {
        auto* s = new (std::nothrow) HostSide;
        if (!s) return s;
        s->channelMemory.resize(kBuses * 2, std::vector<float>(kMaxFrames));
        s->sysEx.reserve(kSysExBudget);
        return s;
    }();
    return side;
}

/// The buses as kBuses left them: which are inactive, and how.
struct BusSwitches {
    uint16_t inactive = 0;
    uint8_t how = host::kNullChannels;
};

void readEvent(Reader& in, HostSide& side, int32_t frames) {
    const uint8_t kind = in.byte() % host::kEventKindCount;
    Event e{};
    e.sampleOffset = offsetOf(in.byte(), frames);
    switch (kind) {
        case host::kNoteOn:
        case host::kNoteOnId:
            e.type = Event::kNoteOnEvent;
            e.noteOn.channel = static_cast<int16>(in.byte() - 16);
            e.noteOn.pitch = static_cast<int16>(in.byte() - 64);
            e.noteOn.velocity = floatOf(in.byte());
            e.noteOn.noteId = -1;
            if (kind == host::kNoteOnId) {
                e.noteOn.noteId = in.byte();
                e.noteOn.tuning = floatOf(in.byte()) * 100.0f;
            }
            break;
        case host::kNoteOff:
            e.type = Event::kNoteOffEvent;
            e.noteOff.channel = static_cast<int16>(in.byte() - 16);
            e.noteOff.pitch = static_cast<int16>(in.byte() - 64);
            e.noteOff.velocity = floatOf(in.byte());
            e.noteOff.noteId = -1;
            break;
        case host::kSysEx: {
            const uint8_t sizeCode = in.byte();
            const uint32_t size = sizeCode < 0xC0 ? sizeCode : 192u + (sizeCode - 0xC0u) * 16u;
            const uint32_t copied = in.byte() % 33;
            uint8_t head[32];
            for (uint32_t i = 0; i < copied; ++i) head[i] = in.byte();
            const uint8_t fill = in.byte();
            // Over the input's budget (or the block's room) the event is left out.
            if (side.sysExUsed + size > kSysExBudget || side.sysEx.size() + size > side.sysEx.capacity())
                return;
            side.sysExUsed += size;
            const size_t at = side.sysEx.size();
            for (uint32_t i = 0; i < size; ++i) {
                uint8_t b = fill;
                if (i == 0)
                    b = 0xF0;
                else if (i - 1 < copied)
                    b = head[i - 1];
                side.sysEx.push_back(b);
            }
            e.type = Event::kDataEvent;
            e.data.type = DataEvent::kMidiSysEx;
            e.data.size = size;
            // A valid pointer even for size 0: one past the bytes taken so far.
            e.data.bytes = side.sysEx.data() + at;
            break;
        }
        case host::kLegacy:
            e.type = Event::kLegacyMIDICCOutEvent;
            e.midiCCOut.channel = static_cast<int8>(in.byte());
            e.midiCCOut.controlNumber = in.byte();
            e.midiCCOut.value = static_cast<int8>(in.byte());
            e.midiCCOut.value2 = static_cast<int8>(in.byte());
            break;
        case host::kPolyPressure:
            e.type = Event::kPolyPressureEvent;
            e.polyPressure.channel = static_cast<int16>(in.byte() - 16);
            e.polyPressure.pitch = static_cast<int16>(in.byte() - 64);
            e.polyPressure.pressure = floatOf(in.byte());
            e.polyPressure.noteId = -1;
            break;
        case host::kUnknown: {
            e.type = static_cast<uint16>(in.u16());
            // Only plain bytes: an unknown type may be read as any member of the union,
            // whose pointers then point at nothing; the processor must not follow them.
            if (e.type == Event::kDataEvent || e.type == Event::kNoteExpressionTextEvent ||
                e.type == Event::kChordEvent || e.type == Event::kScaleEvent)
                e.type = 0x7FFF;
            uint8_t raw[8];
            for (uint8_t& b : raw) b = in.byte();
            std::memcpy(&e.noteOn, raw, sizeof raw);
            break;
        }
        case host::kOtherData: {
            e.type = Event::kDataEvent;
            e.data.type = in.byte() % 4 == 0 ? DataEvent::kMidiSysEx + 1 : in.byte();
            e.data.size = in.byte();
            static const uint8_t junk[256] = {0xF0};
            e.data.bytes = junk;
            break;
        }
        default: return;
    }
    side.events.addEvent(e);
}

void readPoint(Reader& in, HostSide& side, int32_t frames) {
    ParamID id = 0;
    switch (in.byte() % host::kPointKindCount) {
        case host::kMapped: {
            const uint32_t channel = in.byte();
            id = plugin::kMidiParamBase + channel * 256 + in.byte();
            break;
        }
        case host::kBypass: id = plugin::kBypassId; break;
        case host::kRawId: id = in.u32(); break;
        case host::kCommon: {
            const int32_t channel = in.byte();
            const uint8_t number = host::kCommonNumbers[in.byte() % sizeof host::kCommonNumbers];
            id = plugin::midiParamId(channel, number);
            break;
        }
        default: break;
    }
    const int32 offset = offsetOf(in.byte(), frames);
    side.changes.add(id, offset, valueOf(in.byte()));
}

/// One process call as the script's block step describes it; false when the processor
/// was inactive (a host does not call it then).
bool runBlock(Reader& in, ProcessorRig& rig, HostSide& side, const BusSwitches& buses) {
    const int32_t frames = in.u16() % (kMaxFrames + 1);
    const uint8_t layout = in.byte() % 8;
    int32 numOutputs = kOutputBusCount;
    bool nullArray = false;
    int32 samples = frames;
    if (layout == host::kOutputCount) {
        numOutputs = in.byte() % (kBuses + 1);
        nullArray = numOutputs == 0;
    } else if (layout == host::kFlush) {
        numOutputs = 0;
        nullArray = true;
        samples = 0;
    } else if (layout == host::kNullOutputs) {
        nullArray = true;
    }

    side.events.clear();
    side.changes.clear();
    side.sysEx.clear();
    const int32_t eventCount = in.byte() % (kMaxBlockEvents + 1);
    for (int32_t i = 0; i < eventCount; ++i) readEvent(in, side, frames);
    const int32_t pointCount = in.byte() % (kMaxBlockPoints + 1);
    for (int32_t i = 0; i < pointCount; ++i) readPoint(in, side, frames);

    for (int32_t b = 0; b < kBuses; ++b) {
        AudioBusBuffers& bus = side.outputs[b];
        bus = AudioBusBuffers();
        bus.numChannels = 2;
        for (int32_t c = 0; c < 2; ++c) {
            std::vector<float>& memory = side.channelMemory[static_cast<size_t>(2 * b + c)];
            side.channels[b][c] = memory.data() + (kMaxFrames - frames);
        }
        side.leftOnly[b][0] = side.channels[b][0];
        side.leftOnly[b][1] = nullptr;
        bus.channelBuffers32 = side.channels[b];
        if (b >= kOutputBusCount || !(buses.inactive >> b & 1)) continue;
        switch (buses.how) {
            case host::kNullChannels: bus.channelBuffers32 = side.nulls; break;
            case host::kNullArray: bus.channelBuffers32 = nullptr; break;
            case host::kNoChannels: bus.numChannels = 0; break;
            default: bus.channelBuffers32 = side.leftOnly[b]; break;
        }
    }

    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = samples;
    data.numOutputs = numOutputs;
    data.outputs = nullArray ? nullptr : side.outputs;
    data.inputEvents = &side.events;
    data.inputParameterChanges = &side.changes;
    if (!rig.active()) return false;
    rig.processor().process(data);
    return true;
}

/// Room a save takes at once (a save is about 8 KB): the stream grows in small steps, each a copy.
constexpr TSize kSaveRoom = 1 << 14;

/// getState into out, taking the room first; false when nothing was written.
bool saveInto(ProcessorRig& rig, MemoryStream& out) {
    out.setSize(kSaveRoom);
    out.seek(0, IBStream::kIBSeekSet, nullptr);
    rig.processor().getState(&out);
    int64 written = 0;
    out.tell(&written);
    out.setSize(written);
    return written > 0;
}

std::vector<uint8_t> save(ProcessorRig& rig) {
    MemoryStream out;
    if (!saveInto(rig, out)) return {};
    const auto* begin = reinterpret_cast<const uint8_t*>(out.getData());
    return std::vector<uint8_t>(begin, begin + out.getSize());
}

void restore(ProcessorRig& rig, std::vector<uint8_t>& chunk) {
    MemoryStream in(chunk.data(), static_cast<TSize>(chunk.size()));
    rig.processor().setState(&in);
}

/// A save restored and saved again must give the same bytes.
void roundTrip(ProcessorRig& rig) {
    std::vector<uint8_t> first = save(rig);
    restore(rig, first);
    const std::vector<uint8_t> second = save(rig);
    if (first != second) __builtin_trap();
}

/// Reads a kState step; restores it only when apply is set.
void restoreShortChunk(Reader& in, ProcessorRig& rig, bool apply) {
    std::vector<uint8_t> chunk;
    const bool raw = in.byte() % 2 == 0;
    uint16_t cut = 0;
    struct Patch {
        uint16_t at;
        uint8_t b;
    } patches[8];
    int32_t patchCount = 0;
    if (raw) {
        const int32_t n = in.byte() % 65;
        for (int32_t i = 0; i < n; ++i) chunk.push_back(in.byte());
    } else {
        cut = in.u16();
        patchCount = in.byte() % 9;
        for (int32_t i = 0; i < patchCount; ++i) {
            patches[i].at = in.u16();
            patches[i].b = in.byte();
        }
    }
    if (!apply) return;
    if (!raw) {
        chunk = save(rig);
        chunk.resize(cut % (chunk.size() + 1));
        for (int32_t i = 0; i < patchCount && !chunk.empty(); ++i)
            chunk[patches[i].at % chunk.size()] = patches[i].b;
    }
    // The stream needs memory to point at even for an empty chunk.
    if (chunk.empty()) chunk.reserve(1);
    restore(rig, chunk);
}

void sendValueChange(Reader& in, ProcessorRig& rig) {
    const int64 group = in.byte();
    const int64 code = in.byte();
    const double val = valueOf(in.byte());
    IPtr<IMessage> message = owned(new (std::nothrow) HostMessage);
    if (!message) return;
    message->setMessageID("GUIEditor:cvValueChange");
    if (IAttributeList* a = message->getAttributes()) {
        a->setInt("tag", code | group << 8);
        a->setFloat("val", val);
    }
    rig.processor().notify(message);
}

void runPlainBlocks(Reader& in, ProcessorRig& rig) {
    const int32_t count = in.byte() % 8;
    const int32_t frames = 1 + in.byte() % kMaxFrames;
    for (int32_t i = 0; i < count; ++i) rig.processBlock(frames);
}

/// Bypass lives in the processor, outside the state: a flush with it off leaves the next
/// input where this one began.
void clearBypass(ProcessorRig& rig, HostSide& side) {
    rig.setActive(true);
    side.events.clear();
    side.changes.clear();
    side.changes.add(plugin::kBypassId, 0, 0.0);
    ProcessData data;
    data.numSamples = 0;
    data.numOutputs = 0;
    data.outputs = nullptr;
    data.inputParameterChanges = &side.changes;
    rig.processor().process(data);
}

void selectFile(ProcessorRig& rig, int64 tag, const std::string& name) {
    IPtr<IMessage> message = owned(new (std::nothrow) HostMessage);
    if (!message) return;
    message->setMessageID("GUIEditor:cvFileSelect");
    const std::string path = rig.fileFolder() + "/" + name;
    if (IAttributeList* a = message->getAttributes()) {
        a->setInt("tag", tag);
        a->setBinary("path", path.c_str(), static_cast<uint32>(path.size() + 1));
    }
    rig.processor().notify(message);
}

/// The state every input starts from: the rig's fresh one with samples in slots 0 to 2
/// (mono PCM, stereo DPCM, mono ADPCM), so that the notes sound. Built once.
const std::vector<uint8_t>& startState(ProcessorRig& rig) {
    static std::vector<uint8_t> chunk;
    if (chunk.empty()) {
        rig.restoreFreshState();
        rig.resetFiles();
        selectFile(rig, 0x2100, "a.wav");
        selectFile(rig, 0x2201, "b.wav");
        selectFile(rig, 0x2302, "a.wav");
        chunk = save(rig);
    }
    return chunk;
}

}  // namespace

int fuzzHostProcess(const uint8_t* data, size_t size) {
    ProcessorRig* rig = ProcessorRig::shared();
    HostSide* side = hostSide();
    if (!rig || !side || !side->valid()) return 0;
    // Every input starts from the same processor, with the fixture files as they were saved.
    rig->setActive(false);
    rig->resetFiles();
    std::vector<uint8_t> start = startState(*rig);
    restore(*rig, start);
    side->sysExUsed = 0;

    Reader in(data, size);
    BusSwitches buses;
    bool bypassTouched = false;
    int32_t stateSteps = 0;
    std::thread saver;
    for (int32_t s = 0; s < kMaxSteps && !in.done(); ++s) {
        switch (in.byte() % host::kOpCount) {
            case host::kBlock:
                if (runBlock(in, *rig, *side, buses)) bypassTouched = true;
                break;
            case host::kBuses:
                buses.inactive = in.u16();
                buses.how = in.byte() % 4;
                break;
            case host::kActive: rig->setActive(!rig->active()); break;
            case host::kRoundTrip:
                if (stateSteps++ < kMaxStateSteps) roundTrip(*rig);
                break;
            case host::kState:
                // Read either way, so that what follows means the same.
                restoreShortChunk(in, *rig, stateSteps++ < kMaxStateSteps);
                break;
            case host::kValueChange: sendValueChange(in, *rig); break;
            case host::kRun: runPlainBlocks(in, *rig); break;
            case host::kSaveElsewhere:
                if (stateSteps++ >= kMaxStateSteps) break;
                if (saver.joinable()) saver.join();
                // Hosts save from threads of their own while audio and the main thread go on.
                saver = std::thread([rig] {
                    MemoryStream out;
                    saveInto(*rig, out);
                });
                break;
            default: break;
        }
    }
    if (saver.joinable()) saver.join();
    if (bypassTouched) clearBypass(*rig, *side);
    rig->setActive(false);
    return 0;
}

}  // namespace velt::corvane::fuzz
