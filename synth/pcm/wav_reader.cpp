#include "synth/pcm/wav_reader.h"

#include <cstring>

namespace velt::corvane {
namespace {

uint16_t read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool idIs(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// Frames in a data chunk under the current format fields; false when those fields
// would make the division meaningless.
bool computeFrames(WavInfo& info) {
    const uint32_t bytesPerSample = info.bitsPerSample / 8u;
    if (info.channels == 0 || info.bitsPerSample < 8) return false;
    info.frameCount = info.dataSize / bytesPerSample / info.channels;
    return true;
}

}  // namespace

WavInfo parseWav(const uint8_t* bytes, size_t size) {
    WavInfo info;
    if (bytes == nullptr || size < 16) return {};
    if (!idIs(bytes, "RIFF") || !idIs(bytes + 8, "WAVE")) return {};
    if (static_cast<uint64_t>(read32(bytes + 4)) + 8u != static_cast<uint64_t>(size)) return {};
    info.file = bytes;

    const uint64_t fileSize = size;
    uint64_t offset = 12;
    while (offset < fileSize) {
        // A header cut off by the end of the file is a chunk that runs past it.
        if (fileSize - offset < 8) return {};
        const uint8_t* chunk = bytes + offset;
        const uint32_t chunkSize = read32(chunk + 4);
        const uint64_t payloadEnd = offset + 8u + chunkSize;
        uint64_t next = payloadEnd;
        if (idIs(chunk, "fmt ")) {
            // The six fields are read even from a shorter chunk, which is then taken as 16 bytes long.
            if (chunkSize <= 16) next = offset + 24u;
            if (next > fileSize) return {};
            info.formatTag = read16(chunk + 8);
            info.channels = read16(chunk + 10);
            info.sampleRate = read32(chunk + 12);
            info.byteRate = read32(chunk + 16);
            info.blockAlign = read16(chunk + 20);
            info.bitsPerSample = read16(chunk + 22);
        } else if (idIs(chunk, "data")) {
            if (info.formatTag != 1) return {};
            if (payloadEnd > fileSize) return {};
            info.dataSize = chunkSize;
            info.data = chunk + 8;
            if (!computeFrames(info)) return {};
        } else if (payloadEnd > fileSize) {
            return {};
        }
        if (chunkSize & 1u) ++next;
        offset = next;
    }
    // A "fmt " chunk after the data would leave the frame count of the old fields.
    if (info.data != nullptr && !computeFrames(info)) return {};
    return info;
}

bool isAcceptedWav(const WavInfo& info) {
    if (info.file == nullptr || info.data == nullptr) return false;
    if (info.channels < 1 || info.channels > 2) return false;
    if (info.formatTag != 1 || info.bitsPerSample < 8) return false;
    // A parsed file's RIFF size is its length less 8.
    const uint64_t fileSize = static_cast<uint64_t>(read32(info.file + 4)) + 8u;
    if (info.data < info.file) return false;
    const uint64_t dataOffset = static_cast<uint64_t>(info.data - info.file);
    if (dataOffset + info.dataSize > fileSize) return false;
    const uint64_t used = static_cast<uint64_t>(info.frameCount) * info.channels * (info.bitsPerSample / 8u);
    return used <= info.dataSize;
}

}  // namespace velt::corvane
