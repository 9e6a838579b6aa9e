// Builders and file helpers for the tool tests: MIDI file bytes, 16-bit WAV
// files, float WAV parsing and a scratch directory.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace velt::corvane::tooltest {

using Bytes = std::vector<uint8_t>;

/// A variable-length quantity, most significant group first.
inline Bytes vlq(uint32_t v) {
    Bytes out{static_cast<uint8_t>(v & 0x7F)};
    while (v >>= 7) out.insert(out.begin(), static_cast<uint8_t>(0x80 | (v & 0x7F)));
    return out;
}

/// One track's events, written as delta time plus raw bytes.
class TrackBuilder {
public:
    TrackBuilder& event(uint32_t delta, const Bytes& bytes) {
        append(vlq(delta));
        append(bytes);
        return *this;
    }
    TrackBuilder& tempo(uint32_t delta, uint32_t micros) {
        return event(delta, {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
                             static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)});
    }
    /// A SysEx event of the F0 or F7 kind with its payload.
    TrackBuilder& sysEx(uint32_t delta, uint8_t kind, const Bytes& payload) {
        Bytes b{kind};
        const Bytes n = vlq(static_cast<uint32_t>(payload.size()));
        b.insert(b.end(), n.begin(), n.end());
        b.insert(b.end(), payload.begin(), payload.end());
        return event(delta, b);
    }
    TrackBuilder& end(uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }
    TrackBuilder& raw(const Bytes& bytes) {
        append(bytes);
        return *this;
    }
    const Bytes& bytes() const { return bytes_; }

private:
    void append(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    Bytes bytes_;
};

inline void putBe(Bytes& b, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

/// A whole file: header with format, track count and division, then MTrk chunks.
inline Bytes smf(uint16_t format, uint16_t division, const std::vector<Bytes>& tracks, int trackCount = -1) {
    Bytes b{'M', 'T', 'h', 'd'};
    putBe(b, 6, 4);
    putBe(b, format, 2);
    putBe(b, trackCount < 0 ? static_cast<uint32_t>(tracks.size()) : static_cast<uint32_t>(trackCount), 2);
    putBe(b, division, 2);
    for (const Bytes& t : tracks) {
        b.insert(b.end(), {'M', 'T', 'r', 'k'});
        putBe(b, static_cast<uint32_t>(t.size()), 4);
        b.insert(b.end(), t.begin(), t.end());
    }
    return b;
}

inline void putLe(Bytes& b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

/// A 16-bit integer PCM WAV file of the given samples.
inline Bytes wav16(const std::vector<int16_t>& samples, uint16_t channels, uint32_t rate) {
    Bytes data;
    for (int16_t s : samples) putLe(data, static_cast<uint16_t>(s), 2);
    Bytes b{'R', 'I', 'F', 'F'};
    putLe(b, static_cast<uint32_t>(4 + 24 + 8 + data.size()), 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(b, 16, 4);
    putLe(b, 1, 2);
    putLe(b, channels, 2);
    putLe(b, rate, 4);
    putLe(b, rate * channels * 2, 4);
    putLe(b, channels * 2u, 2);
    putLe(b, 16, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    putLe(b, static_cast<uint32_t>(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

inline uint32_t le32(const Bytes& b, size_t at) {
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) |
           (uint32_t{b[at + 3]} << 24);
}
inline uint32_t le16(const Bytes& b, size_t at) {
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8);
}

inline float leFloat(const Bytes& b, size_t at) {
    const uint32_t bits = le32(b, at);
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

/// A float WAV file as written by the renderer: 58-byte header, then samples.
struct FloatWav {
    bool valid = false;
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t frames = 0;
    std::vector<float> samples;  ///< interleaved
};

inline Bytes readBytes(const std::string& path) {
    Bytes out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    uint8_t chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + n);
    std::fclose(f);
    return out;
}

inline FloatWav parseFloatWav(const Bytes& b) {
    FloatWav w;
    if (b.size() < 58 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 36 + 2, "fact", 4) != 0)
        return w;
    w.channels = le16(b, 22);
    w.rate = le32(b, 24);
    w.frames = le32(b, 46);
    const uint32_t dataSize = le32(b, 54);
    if (b.size() != 58u + dataSize || le16(b, 20) != 3) return w;
    for (size_t at = 58; at + 4 <= b.size(); at += 4) w.samples.push_back(leFloat(b, at));
    w.valid = true;
    return w;
}

inline bool writeBytes(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline bool writeText(const std::string& path, const std::string& text) {
    return writeBytes(path, Bytes(text.begin(), text.end()));
}

inline bool fileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

/// A fresh directory under the build tree, removed with its files at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = std::string(CORVANE_BINARY_DIR) + "/tool-test-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data())) path_ = buffer.data();
    }
    ~ScratchDir() {
        for (const std::string& name : entries()) std::remove((path_ + "/" + name).c_str());
        rmdir(path_.c_str());
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    bool ok() const { return !path_.empty(); }

    /// Names of the files in the directory, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(path_.c_str())) {
            while (dirent* e = readdir(d)) {
                const std::string n = e->d_name;
                if (n != "." && n != "..") names.push_back(n);
            }
            closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

}  // namespace velt::corvane::tooltest
