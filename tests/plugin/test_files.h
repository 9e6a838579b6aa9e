// Files on disk for the plug-in tests: a fresh folder per test and WAV files in it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/wav/wav_builder.h"

namespace velt::corvane::test {

/// A folder under the system's temporary directory, removed with its contents at the end.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-plugin-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    /// A sub-folder, created.
    std::string folder(const std::string& name) const {
        std::filesystem::create_directories(file(name));
        return file(name);
    }

private:
    std::string path_;
};

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    wavtest::writeFile(path, bytes);
}

/// A mono 16-bit file of frames samples of a slow ramp.
inline std::string writeRampWav(const std::string& path, int32_t frames, uint32_t rate = 44100) {
    std::vector<int64_t> samples;
    for (int32_t i = 0; i < frames; ++i) samples.push_back(static_cast<int16_t>((i * 37) % 20000 - 10000));
    writeBytes(path, wavtest::simpleWav(1, rate, 16, samples));
    return path;
}

}  // namespace velt::corvane::test
