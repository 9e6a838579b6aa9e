#include "host/state_chunk.h"

#include <cstring>

namespace velt::corvane::state {

bool MemorySource::read(void* dst, size_t size) {
    if (size > size_ - position_) return false;
    if (size > 0) std::memcpy(dst, bytes_ + position_, size);
    position_ += size;
    return true;
}

void VectorSink::write(const void* src, size_t size) {
    const auto* p = static_cast<const uint8_t*>(src);
    out_.insert(out_.end(), p, p + size);
}

namespace {

// Every field is its own little-endian stream call, as saved projects expect.
class Writer {
public:
    explicit Writer(ByteSink& sink) : sink_(sink) {}
    void u8(int32_t v) {
        const uint8_t b = static_cast<uint8_t>(v);
        sink_.write(&b, 1);
    }
    void u16(int32_t v) {
        const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
        sink_.write(b, 2);
    }
    void u32(uint32_t v) {
        const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
        sink_.write(b, 4);
    }
    void f32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        u32(v);
    }
    void name(const char (&n)[kPresetNameLength + 1]) {
        for (int32_t i = 0; i < kPresetNameLength; ++i) u8(static_cast<uint8_t>(n[i]));
    }
    void bytes(const void* p, size_t size) { sink_.write(p, size); }

private:
    ByteSink& sink_;
};

class Reader {
public:
    explicit Reader(ByteSource& source) : source_(source) {}
    bool u8(int32_t& v) {
        uint8_t b;
        if (!source_.read(&b, 1)) return false;
        v = b;
        return true;
    }
    bool u16(int32_t& v) {
        uint8_t b[2];
        if (!source_.read(b, 2)) return false;
        v = b[0] | (b[1] << 8);
        return true;
    }
    bool u32(uint32_t& v) {
        uint8_t b[4];
        if (!source_.read(b, 4)) return false;
        v = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
            static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        return true;
    }
    bool f32(float& f) {
        uint32_t v;
        if (!u32(v)) return false;
        std::memcpy(&f, &v, 4);
        return true;
    }
    /// One byte per call; a name cut short keeps the characters read.
    bool name(char (&n)[kPresetNameLength + 1], bool& touched) {
        for (int32_t i = 0; i < kPresetNameLength; ++i) {
            int32_t c;
            if (!u8(c)) return false;
            n[i] = static_cast<char>(c);
            touched = true;
        }
        n[kPresetNameLength] = '\0';
        return true;
    }
    bool path(std::string& out) {
        uint32_t n;
        if (!u32(n) || n > kMaxPathBytes) return false;
        std::string bytes(n, '\0');
        if (n > 0 && !source_.read(&bytes[0], n)) return false;
        // The path ends at its first zero, or at the entry's end when the zero is missing.
        out.assign(bytes.c_str());
        return true;
    }

private:
    ByteSource& source_;
};

void writePart(Writer& w, const PartRecord& p) {
    w.u8(p.outputBus);
    w.u8(p.defaultMode);
    w.u8(p.mode);
    w.u8(p.program);
    w.u8(p.pitchBendRange);
    w.u16(p.pitchBend);
    w.u8(p.modulation);
    w.u8(p.volume);
    w.u8(p.pan);
    w.u8(p.expression);
}

void writeTone(Writer& w, const TonePreset& t) {
    w.name(t.presetName);
    w.u16(t.lfoFreq);
    w.u8(t.strc);
    w.u16(t.tune);
    for (int32_t v : {t.lms, t.wave, t.tl, t.ar, t.dr, t.sl, t.rr, t.kf, t.kfStart}) w.u8(v);
}

void writeSampler(Writer& w, const SamplerPreset& s) {
    w.name(s.presetName);
    w.u8(s.smplNum);
    w.u8(s.pan);
    w.u8(s.octv);
    w.u16(s.tune);
    for (int32_t v : {s.tl, s.ar, s.dr, s.sl, s.rr}) w.u8(v);
}

void writeSlot(Writer& w, const SlotEntry& s) {
    w.u8(s.present ? 1 : 0);
    if (!s.present) return;
    w.u32(static_cast<uint32_t>(s.path.size() + 1));
    w.bytes(s.path.c_str(), s.path.size() + 1);
    w.u8(s.encoding);
    w.f32(s.sampleRate);
    w.f32(s.Pitch);
    w.u32(s.start);
    w.u32(s.end);
    w.u32(s.loopStart);
    w.u32(s.loopEnd);
}

/// Reads fields in order, stopping at the first failure; touched tells whether any
/// field of the record was stored.
bool readPart(Reader& r, PartRecord& p, bool hasOutputBus, bool& touched) {
    int32_t* const bytes[] = {&p.defaultMode, &p.mode, &p.program, &p.pitchBendRange};
    if (hasOutputBus) {
        if (!r.u8(p.outputBus)) return false;
        touched = true;
    }
    for (int32_t* f : bytes) {
        if (!r.u8(*f)) return false;
        touched = true;
    }
    if (!r.u16(p.pitchBend)) return false;
    for (int32_t* f : {&p.modulation, &p.volume, &p.pan, &p.expression})
        if (!r.u8(*f)) return false;
    return true;
}

bool readTone(Reader& r, TonePreset& t, bool& touched) {
    if (!r.name(t.presetName, touched)) return false;
    if (!r.u16(t.lfoFreq)) return false;
    touched = true;
    if (!r.u8(t.strc) || !r.u16(t.tune)) return false;
    for (int32_t* f : {&t.lms, &t.wave, &t.tl, &t.ar, &t.dr, &t.sl, &t.rr, &t.kf, &t.kfStart})
        if (!r.u8(*f)) return false;
    return true;
}

bool readSampler(Reader& r, SamplerPreset& s, bool& touched) {
    if (!r.name(s.presetName, touched)) return false;
    if (!r.u8(s.smplNum)) return false;
    touched = true;
    if (!r.u8(s.pan) || !r.u8(s.octv) || !r.u16(s.tune)) return false;
    for (int32_t* f : {&s.tl, &s.ar, &s.dr, &s.sl, &s.rr})
        if (!r.u8(*f)) return false;
    return true;
}

bool readSlot(Reader& r, SlotEntry& s, int32_t version, SlotProgress& progress) {
    int32_t present;
    if (!r.u8(present)) return false;
    s.present = present != 0;
    progress = SlotProgress::Absent;
    if (!s.present) return true;
    if (!r.path(s.path)) return false;
    s.encoding = 0;
    if (version >= 3 && !r.u8(s.encoding)) return false;
    progress = SlotProgress::Path;
    if (!r.f32(s.sampleRate)) return false;
    progress = SlotProgress::SampleRate;
    if (!r.f32(s.Pitch)) return false;
    progress = SlotProgress::Pitch;
    if (!r.u32(s.start) || !r.u32(s.end)) return false;
    progress = SlotProgress::Points;
    if (!r.u32(s.loopStart) || !r.u32(s.loopEnd)) return false;
    progress = SlotProgress::Complete;
    return true;
}

}  // namespace

void writeStateChunk(const StateChunk& c, ByteSink& sink) {
    Writer w(sink);
    w.u8(kChunkVersion);
    w.u8(c.acceptSysEx ? 1 : 0);
    w.u8(c.nrpnEnabled ? 1 : 0);
    w.f32(c.masterVolume);
    w.f32(c.masterTune);
    w.u16(c.voiceCount);
    for (const PartRecord& p : c.parts) writePart(w, p);
    for (const TonePreset& t : c.tones) writeTone(w, t);
    for (const SamplerPreset& s : c.samplers) writeSampler(w, s);
    for (const SlotEntry& s : c.slots) writeSlot(w, s);
}

std::vector<uint8_t> stateChunkBytes(const StateChunk& chunk) {
    std::vector<uint8_t> bytes;
    VectorSink sink(bytes);
    writeStateChunk(chunk, sink);
    return bytes;
}

ReadProgress readStateChunk(ByteSource& source, StateChunk& c) {
    ReadProgress p;
    Reader r(source);
    int32_t version;
    if (!r.u8(version)) return p;
    p.versionRead = true;
    c.version = version;
    if (version < kOldestReadableVersion) return p;
    p.versionAccepted = true;

    // These two reads are not checked: a missing byte reads as off.
    int32_t flag = 0;
    c.acceptSysEx = r.u8(flag) && flag > 0;
    flag = 0;
    c.nrpnEnabled = r.u8(flag) && flag > 0;
    p.flagsRead = true;

    if (!r.f32(c.masterVolume)) return p;
    p.volumeRead = true;
    if (!r.f32(c.masterTune)) return p;
    p.tuneRead = true;
    if (!r.u16(c.voiceCount)) return p;
    p.voiceCountRead = true;

    for (PartRecord& part : c.parts) {
        bool touched = false;
        const bool ok = readPart(r, part, version >= 4, touched);
        if (touched) ++p.partsReached;
        if (!ok) return p;
    }
    for (TonePreset& t : c.tones) {
        bool touched = false;
        const bool ok = readTone(r, t, touched);
        if (touched) ++p.tonesReached;
        if (!ok) return p;
    }
    for (SamplerPreset& s : c.samplers) {
        bool touched = false;
        const bool ok = readSampler(r, s, touched);
        if (touched) ++p.samplersReached;
        if (!ok) return p;
    }
    for (int32_t i = 0; i < kSampleSlotCount; ++i)
        if (!readSlot(r, c.slots[i], version, p.slots[i])) return p;
    p.complete = true;
    return p;
}

}  // namespace velt::corvane::state
