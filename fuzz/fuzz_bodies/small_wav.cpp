#include "fuzz/fuzz_bodies/small_wav.h"

#include <cmath>

namespace velt::corvane::fuzz {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

void putOddChunk(std::vector<uint8_t>& out, const char* tag) {
    putTag(out, tag);
    put32(out, 3);
    for (int i = 0; i < 3; ++i) out.push_back(static_cast<uint8_t>('a' + i));
    out.push_back(0);  // RIFF pads odd chunks to an even size
}

}  // namespace

std::vector<uint8_t> makeWav(const WavShape& s) {
    const uint32_t bytesPerSample = static_cast<uint32_t>(s.bits / 8);
    const uint32_t blockAlign = bytesPerSample * static_cast<uint32_t>(s.channels);
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    put32(out, 0);  // patched below
    putTag(out, "WAVE");
    if (s.oddChunkBefore) putOddChunk(out, "JUNK");
    putTag(out, "fmt ");
    put32(out, 16 + static_cast<uint32_t>(s.fmtExtra));
    put16(out, s.formatTag);
    put16(out, static_cast<uint32_t>(s.channels));
    put32(out, s.sampleRate);
    put32(out, s.sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, static_cast<uint32_t>(s.bits));
    for (int32_t i = 0; i < s.fmtExtra; ++i) out.push_back(0);
    if (s.fmtExtra & 1) out.push_back(0);
    if (s.oddChunkAfter) putOddChunk(out, "LIST");
    putTag(out, "data");
    const uint32_t dataSize = blockAlign * static_cast<uint32_t>(s.frames);
    put32(out, dataSize);
    for (int32_t f = 0; f < s.frames; ++f) {
        for (int32_t c = 0; c < s.channels; ++c) {
            const double x = std::sin(0.2 * f + c) * 0.8;
            const int64_t full = static_cast<int64_t>(x * 2147483647.0);
            if (s.bits == 8) {
                out.push_back(static_cast<uint8_t>((full >> 24) + 128));
            } else {
                for (uint32_t b = 0; b < bytesPerSample; ++b)
                    out.push_back(static_cast<uint8_t>(full >> (8 * (4 - bytesPerSample + b))));
            }
        }
    }
    if (dataSize & 1) out.push_back(0);
    if (s.trailingChunk) putOddChunk(out, "cue ");
    const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
    return out;
}

std::vector<uint8_t> smallWav(int32_t channels, int32_t bits, int32_t frames) {
    WavShape s;
    s.channels = channels;
    s.bits = bits;
    s.frames = frames;
    return makeWav(s);
}

}  // namespace velt::corvane::fuzz
