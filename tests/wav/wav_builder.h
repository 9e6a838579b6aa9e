// Builds WAV file bytes for the tests, including deliberately malformed ones.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace velt::corvane::wavtest {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFFu);
    put16(b, v >> 16);
}

/// Little-endian sample bytes of the given width (bits 8, 16, 24, 32); 8-bit values are
/// written as given (unsigned bytes).
inline Bytes sampleBytes(const std::vector<int64_t>& samples, int bits) {
    Bytes b;
    for (int64_t s : samples) {
        const uint64_t u = static_cast<uint64_t>(s);
        for (int i = 0; i < bits / 8; ++i) b.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
    return b;
}

/// Chunks appended in order; bytes() wraps them in RIFF/WAVE.
class WavBuilder {
public:
    /// A "fmt " chunk; payloadSize other than 16 pads the payload with zeros or cuts it.
    WavBuilder& fmt(uint16_t formatTag, uint16_t channels, uint32_t sampleRate, uint16_t bits,
                    uint32_t payloadSize = 16) {
        Bytes p;
        put16(p, formatTag);
        put16(p, channels);
        put32(p, sampleRate);
        put32(p, sampleRate * channels * (bits / 8u));
        put16(p, channels * (bits / 8u));
        put16(p, bits);
        p.resize(payloadSize, 0);
        return chunk("fmt ", p);
    }

    /// A chunk with its true size, padded to an even length.
    WavBuilder& chunk(const char* id, const Bytes& payload) {
        return chunkWithSize(id, payload, static_cast<uint32_t>(payload.size()), true);
    }

    /// A chunk whose size field says declaredSize whatever its payload holds.
    WavBuilder& chunkWithSize(const char* id, const Bytes& payload, uint32_t declaredSize, bool pad) {
        body_.insert(body_.end(), id, id + 4);
        put32(body_, declaredSize);
        body_.insert(body_.end(), payload.begin(), payload.end());
        if (pad && (payload.size() & 1u)) body_.push_back(0);
        return *this;
    }

    WavBuilder& data(const Bytes& payload) { return chunk("data", payload); }

    /// Raw bytes appended after the chunks.
    WavBuilder& raw(const Bytes& tail) {
        body_.insert(body_.end(), tail.begin(), tail.end());
        return *this;
    }

    /// The file; riffSizeError is added to the correct RIFF size.
    Bytes bytes(int32_t riffSizeError = 0) const {
        Bytes b = {'R', 'I', 'F', 'F'};
        put32(b, static_cast<uint32_t>(4 + body_.size() + riffSizeError));
        b.insert(b.end(), {'W', 'A', 'V', 'E'});
        b.insert(b.end(), body_.begin(), body_.end());
        return b;
    }

private:
    Bytes body_;
};

/// Writes bytes to path, replacing the file; false when it cannot be written.
inline bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

/// A complete single-format file.
inline Bytes simpleWav(uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<int64_t>& samples) {
    return WavBuilder().fmt(1, channels, rate, bits).data(sampleBytes(samples, bits)).bytes();
}

}  // namespace velt::corvane::wavtest
