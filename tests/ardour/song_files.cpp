#include "tests/ardour/song_files.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace velt::corvane::testing {

namespace {

void putVlq(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    while (n > 1) out.push_back(static_cast<uint8_t>(bytes[--n] | 0x80));
    out.push_back(bytes[0]);
}

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

std::vector<uint8_t> smf(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& events) {
    std::vector<uint8_t> track;
    uint32_t last = 0;
    for (const auto& [tick, bytes] : events) {
        putVlq(track, tick - last);
        last = tick;
        track.insert(track.end(), bytes.begin(), bytes.end());
    }
    putVlq(track, 0);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> file = {'M',
                                 'T',
                                 'h',
                                 'd',
                                 0,
                                 0,
                                 0,
                                 6,
                                 0,
                                 0,
                                 0,
                                 1,
                                 static_cast<uint8_t>(kSongTicksPerQuarter >> 8),
                                 static_cast<uint8_t>(kSongTicksPerQuarter & 0xFF),
                                 'M',
                                 'T',
                                 'r',
                                 'k'};
    putBig32(file, static_cast<uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

void putLittle(std::vector<uint8_t>& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t little(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::vector<uint8_t> testSong() {
    // The SysEx stays alone at the start: Ardour delivers SysEx at offset 0 of its cycle.
    return smf({
        {0, {0xF0, 0x08, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x18, 0x01, 0xF7}},
        {240, {0xB0, 7, 100}},
        {480, {0x90, 60, 100}},
        {480, {0x90, 67, 90}},
        {960, {0x80, 60, 0}},
        {960, {0x90, 60, 110}},
        {1440, {0x90, 64, 80}},
        {1680, {0xE0, 0x10, 0x50}},
        {1800, {0xB0, 7, 80}},
        {1920, {0xE0, 0x00, 0x40}},
        {kSongLastTick, {0x80, 60, 0}},
        {kSongLastTick, {0x80, 64, 0}},
        {kSongLastTick, {0x80, 67, 0}},
    });
}

std::vector<uint8_t> emptySong() {
    return smf({});
}

std::vector<uint8_t> presetContainer(const std::string& classId, const std::vector<uint8_t>& component) {
    constexpr uint64_t kHeaderBytes = 48;
    std::vector<uint8_t> out = {'V', 'S', 'T', '3'};
    putLittle(out, 1, 4);
    out.insert(out.end(), classId.begin(), classId.end());
    putLittle(out, kHeaderBytes + component.size(), 8);
    out.insert(out.end(), component.begin(), component.end());
    out.insert(out.end(), {'L', 'i', 's', 't'});
    putLittle(out, 1, 4);
    out.insert(out.end(), {'C', 'o', 'm', 'p'});
    putLittle(out, kHeaderBytes, 8);
    putLittle(out, component.size(), 8);
    return out;
}

bool componentOf(const std::vector<uint8_t>& c, std::vector<uint8_t>& component) {
    if (c.size() < 48 || std::memcmp(c.data(), "VST3", 4) != 0) return false;
    const uint64_t list = little(c.data() + 40, 8);
    if (list > c.size() || c.size() - list < 8 || std::memcmp(c.data() + list, "List", 4) != 0) return false;
    const uint64_t entries = little(c.data() + list + 4, 4);
    for (uint64_t i = 0; i < entries; ++i) {
        const uint64_t at = list + 8 + i * 20;
        if (at + 20 > c.size()) return false;
        if (std::memcmp(c.data() + at, "Comp", 4) != 0) continue;
        const uint64_t offset = little(c.data() + at + 4, 8);
        const uint64_t size = little(c.data() + at + 12, 8);
        if (offset > c.size() || size > c.size() - offset) return false;
        component.assign(c.begin() + static_cast<std::ptrdiff_t>(offset),
                         c.begin() + static_cast<std::ptrdiff_t>(offset + size));
        return true;
    }
    return false;
}

std::string base64Encode(const std::vector<uint8_t>& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t v = static_cast<uint32_t>(bytes[i]) << 16;
        if (n > 1) v |= static_cast<uint32_t>(bytes[i + 1]) << 8;
        if (n > 2) v |= bytes[i + 2];
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += n > 1 ? kAlphabet[(v >> 6) & 63] : '=';
        out += n > 2 ? kAlphabet[v & 63] : '=';
    }
    return out;
}

bool base64Decode(const std::string& text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    uint32_t v = 0;
    int bits = 0;
    for (const char ch : text) {
        if (ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t') continue;
        if (ch == '=') break;
        const char* at = std::strchr(kAlphabet, ch);
        if (!at || ch == '\0') return false;
        v = (v << 6) | static_cast<uint32_t>(at - kAlphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<uint8_t>(v >> bits));
        }
    }
    return true;
}

bool readFloatWav(const std::string& path, FloatWav& wav) {
    const std::vector<uint8_t> b = readFile(path);
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint64_t size = little(b.data() + at + 4, 4);
        const uint8_t* body = b.data() + at + 8;
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16 && at + 8 + 16 <= b.size()) {
            const auto format = little(body, 2);
            wav.channels = static_cast<int>(little(body + 2, 2));
            wav.rate = static_cast<int>(little(body + 4, 4));
            // 3 is IEEE float; 0xFFFE is the extensible header, whose sub-format is float here.
            haveFormat = (format == 3 || format == 0xFFFE) && little(body + 14, 2) == 32;
        } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
            if (!haveFormat || wav.channels < 1 || size > b.size() - at - 8 ||
                size % (4u * wav.channels) != 0)
                return false;
            wav.samples.resize(size / 4);
            std::memcpy(wav.samples.data(), body, size);
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace velt::corvane::testing
