#include "tools/toolkit/chunk_files.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace velt::corvane::tools {

namespace {

/// Saved chunks are a few kilobytes plus paths; anything far larger is not one.
constexpr long kMaxChunkFileBytes = 64L * 1024 * 1024;

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    uint8_t chunk[65536];
    size_t n = 0;
    bool ok = true;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (static_cast<long>(bytes.size() + n) > kMaxChunkFileBytes) {
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    if (!ok) error = path + ": cannot be read as a state chunk";
    return ok;
}

}  // namespace

bool readChunkFile(const std::string& path, state::StateChunk& chunk, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes, error)) return false;
    state::MemorySource source(bytes.data(), bytes.size());
    chunk = state::StateChunk{};
    const state::ReadProgress progress = state::readStateChunk(source, chunk);
    if (!progress.versionAccepted) {
        error = path + ": not a state chunk of version 2 to 4";
        return false;
    }
    if (!progress.complete) {
        error = path + ": state chunk ends early";
        return false;
    }
    return true;
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = path + ": cannot create: " + std::strerror(errno);
        return false;
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (written && closed) return true;
    std::remove(path.c_str());
    error = path + ": cannot be written";
    return false;
}

}  // namespace velt::corvane::tools
