#include "tools/toolkit/host_block_feeder.h"

#include <algorithm>
#include <climits>

namespace velt::corvane::tools {

using Steinberg::Vst::ParamID;

void MidiParameterMap::set(int32_t channel, int32_t number, ParamID id) {
    if (channel < 0 || channel > 15 || number < 0 || number >= kMappedControllers) return;
    ids_[static_cast<size_t>(channel * kMappedControllers + number)] = id;
}

int64_t MidiParameterMap::id(int32_t channel, int32_t number) const {
    if (channel < 0 || channel > 15 || number < 0 || number >= kMappedControllers) return -1;
    return ids_[static_cast<size_t>(channel * kMappedControllers + number)];
}

HostBlockFeeder::HostBlockFeeder(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes,
                                 const MidiParameterMap& map)
    : events_(events), planned_(events.size()) {
    std::vector<ParamID> ids;
    for (size_t i = 0; i < events.size(); ++i) {
        const SongEvent& e = events[i];
        Planned& p = planned_[i];
        const int32_t channel = e.status & 0x0F;
        int32_t number = -1;
        switch (e.status & 0xF0) {
            case 0x80:
            case 0x90: p.kind = Kind::Event; break;
            case 0xF0:
                if (size_t{e.sysExOffset} + e.sysExLength <= sysExBytes.size()) {
                    p.kind = Kind::Event;
                    p.sysExAt = static_cast<uint32_t>(hostSysEx_.size());
                    hostSysEx_.push_back(0xF0);
                    hostSysEx_.insert(hostSysEx_.end(), sysExBytes.begin() + e.sysExOffset,
                                      sysExBytes.begin() + e.sysExOffset + e.sysExLength);
                }
                break;
            case 0xB0:
                number = e.data1 & 127;
                p.value = (e.data2 & 127) / 127.0;
                break;
            case 0xE0:
                number = kMappedPitchBend;
                p.value = ((e.data2 & 127) * 128 + (e.data1 & 127)) / 16383.0;
                break;
            case 0xC0:
                number = kMappedProgramChange;
                p.value = (e.data1 & 127) / 127.0;
                break;
            default: break;  // channel and poly pressure: nothing this plug-in would read
        }
        if (number < 0) continue;
        const int64_t id = map.id(channel, number);
        if (id < 0) {
            ++unmapped_;
            continue;
        }
        p.kind = Kind::Parameter;
        p.id = static_cast<ParamID>(id);
        ids.push_back(p.id);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (Planned& p : planned_)
        if (p.kind == Kind::Parameter)
            p.dense = static_cast<int32_t>(std::lower_bound(ids.begin(), ids.end(), p.id) - ids.begin());
    pointsIn_.assign(ids.size(), 0);
}

int32_t HostBlockFeeder::planBlock(int64_t blockStart, int32_t maxFrames) {
    const int32_t frames = std::max(maxFrames, 1);
    const int64_t blockEnd = blockStart + frames;
    std::fill(pointsIn_.begin(), pointsIn_.end(), 0);
    size_t end = next_;
    int32_t records = 0;
    int64_t cut = -1;
    while (end < events_.size() && events_[end].frame < blockEnd) {
        const Planned& p = planned_[end];
        if (p.kind != Kind::Skipped) {
            const bool queueFull = records == kProcessorQueueCapacity;
            const bool pointsFull =
                p.kind == Kind::Parameter && pointsIn_[static_cast<size_t>(p.dense)] == kHostQueuePoints;
            if (queueFull || pointsFull) {
                cut = events_[end].frame;
                break;
            }
            if (p.kind == Kind::Parameter) ++pointsIn_[static_cast<size_t>(p.dense)];
            ++records;
        }
        ++end;
    }
    int32_t length = frames;
    if (cut >= 0) {
        length = static_cast<int32_t>(std::max<int64_t>(cut - blockStart, 0));
        if (length > 0) {
            // The next block starts at the cut: every event of that frame waits for it.
            while (end > next_ && events_[end - 1].frame >= cut) --end;
        } else {
            // More at the first frame than the queues hold: the rest follow a frame later.
            length = 1;
        }
    }
    blockFirst_ = next_;
    blockEnd_ = end;
    blockStart_ = blockStart;
    next_ = end;
    return length;
}

bool HostBlockFeeder::fillOne(size_t i, HostEventList& events, HostParameterChanges& params) const {
    const SongEvent& e = events_[i];
    const Planned& p = planned_[i];
    const auto offset = static_cast<int32_t>(std::clamp<int64_t>(e.frame - blockStart_, 0, INT32_MAX));
    if (p.kind == Kind::Parameter) return params.add(p.id, offset, p.value);
    const int32_t channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
        case 0x90:
            // A host sends a note on of velocity 0 as the note off it means.
            if (e.data2 > 0) return events.noteOn(offset, channel, e.data1, e.data2);
            return events.noteOff(offset, channel, e.data1);
        case 0x80: return events.noteOff(offset, channel, e.data1);
        default: return events.sysEx(offset, hostSysEx_.data() + p.sysExAt, uint32_t{e.sysExLength} + 1);
    }
}

bool HostBlockFeeder::fillBlock(HostEventList& events, HostParameterChanges& params) const {
    for (size_t i = blockFirst_; i < blockEnd_; ++i)
        if (planned_[i].kind != Kind::Skipped && !fillOne(i, events, params)) return false;
    return true;
}

}  // namespace velt::corvane::tools
