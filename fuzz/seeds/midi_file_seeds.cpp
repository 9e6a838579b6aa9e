// Small Standard MIDI Files: format 0 and 1, running status, tempo, SysEx (whole and in
// continuation packets), SMPTE time, and a few broken ones.
#include "fuzz/seeds/seed_folder.h"

namespace velt::corvane::fuzz::seeds {
namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}

void putVlq(Bytes& b, uint32_t v) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v && n < 5);
    while (n-- > 0) b.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
}

Bytes header(uint16_t format, uint16_t tracks, uint16_t division) {
    Bytes b = {'M', 'T', 'h', 'd'};
    put32(b, 6);
    for (uint16_t v : {format, tracks, division}) {
        b.push_back(static_cast<uint8_t>(v >> 8));
        b.push_back(static_cast<uint8_t>(v));
    }
    return b;
}

void addTrack(Bytes& file, const Bytes& events, bool endOfTrack = true) {
    Bytes body = events;
    if (endOfTrack) body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
}

Bytes tempo(uint32_t delta, uint32_t micros) {
    Bytes b;
    putVlq(b, delta);
    b.insert(b.end(), {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
                       static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)});
    return b;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

void writeMidiFileSeeds(SeedFolder& out) {
    // Running status: one 0x90 then pairs; a note on with velocity 0 as note off.
    const Bytes melody = tempo(0, 400000) + Bytes{0x00, 0x90, 60,   100,  0x60, 62,   100,  0x60, 60,   0,
                                                  0x00, 62,   0,    0x00, 0xB0, 7,    90,   0x10, 0xE0, 0x00,
                                                  0x50, 0x10, 0xC0, 5,    0x81, 0x00, 0x80, 64,   0};
    Bytes f0 = header(0, 1, 96);
    addTrack(f0, melody);
    out.add("format0_running_status.mid", f0);

    const Bytes sysex = {0x00, 0xF0, 0x0A, 0x7D, 0x10, 0x23, 0x00, 0x00, 0x00, 0x64, 0x40, 0x00, 0xF7};
    const Bytes packets = {0x10, 0xF0, 0x04, 0x7D, 0x10, 0x23, 0x04, 0x20, 0xF7, 0x03, 0x00, 0x12, 0xF7};
    Bytes f1 = header(1, 3, 480);
    addTrack(f1, tempo(0, 500000) + tempo(960, 250000) + Bytes{0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8});
    addTrack(f1, sysex + packets + Bytes{0x00, 0x91, 48, 90, 0x83, 0x60, 0x81, 48, 0});
    addTrack(f1, Bytes{0x00, 0xFF, 0x03, 0x03, 'a', 'b', 'c', 0x00, 0x9F, 36, 127, 0x8F, 0x7F, 0x9F, 36, 0});
    out.add("format1_tempo_sysex.mid", f1);

    Bytes smpte = header(0, 1, static_cast<uint16_t>((0x100 - 25) << 8 | 40));
    addTrack(smpte, melody);
    out.add("smpte_25.mid", smpte);
    Bytes drop = header(1, 1, static_cast<uint16_t>((0x100 - 29) << 8 | 4));
    addTrack(drop, melody);
    out.add("smpte_29.mid", drop);

    Bytes longSysEx = header(0, 1, 96);
    Bytes big = {0x00, 0xF0};
    putVlq(big, 301);
    for (int i = 0; i < 300; ++i) big.push_back(static_cast<uint8_t>(i & 0x7F));
    big.push_back(0xF7);
    addTrack(longSysEx, big);
    out.add("sysex_beyond_limit.mid", longSysEx);

    Bytes farDelta = header(0, 1, 1);
    Bytes far = {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1};
    addTrack(farDelta, tempo(0, 0xFFFFFF) + far + far + far);
    out.add("largest_delta.mid", farDelta);

    Bytes noEnd = header(0, 1, 96);
    addTrack(noEnd, Bytes{0x00, 0x90, 60, 100}, false);
    out.add("no_end_of_track.mid", noEnd);

    Bytes cut = f1;
    cut.resize(cut.size() - 7);
    out.add("truncated.mid", cut);

    Bytes extraChunk = header(1, 2, 96);
    extraChunk.insert(extraChunk.end(), {'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2});
    addTrack(extraChunk, melody);
    addTrack(extraChunk, Bytes{0x00, 0x80, 60, 0});  // running status never set before a data byte
    out.add("unknown_chunk.mid", extraChunk);

    out.add("header_only.mid", header(0, 0, 96));
}

}  // namespace velt::corvane::fuzz::seeds
