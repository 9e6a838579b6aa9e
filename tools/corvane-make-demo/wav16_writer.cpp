#include "tools/corvane-make-demo/wav16_writer.h"

#include <cmath>
#include <fstream>

namespace velt::corvane::tools {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> encodeWav16Mono(const std::vector<float>& samples, uint32_t sampleRate) {
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    put32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // integer PCM
    put16(out, 1);  // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);  // byte rate
    put16(out, 2);               // block align
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataSize);
    for (float s : samples) {
        double v = std::floor(static_cast<double>(s) * 32767.0 + 0.5);
        if (v > 32767.0) v = 32767.0;
        if (v < -32768.0) v = -32768.0;
        put16(out, static_cast<uint32_t>(static_cast<int32_t>(v)) & 0xFFFF);
    }
    return out;
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace velt::corvane::tools
