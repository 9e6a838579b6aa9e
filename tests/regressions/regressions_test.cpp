// Replays every file under tests/regressions/<fuzzer>/ through that fuzzer's body: the
// inputs that once crashed, and a few seeds of each fuzzer as a smoke run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"

namespace velt::corvane::fuzz {
namespace {

using Body = int (*)(const uint8_t*, size_t);

std::vector<std::filesystem::path> inputsOf(const std::string& fuzzer) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    const std::filesystem::path folder =
        std::filesystem::path(CORVANE_SOURCE_DIR) / "tests" / "regressions" / fuzzer;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void replay(const std::string& fuzzer, Body body) {
    const std::vector<std::filesystem::path> files = inputsOf(fuzzer);
    ASSERT_FALSE(files.empty()) << "no inputs for " << fuzzer;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<uint8_t> bytes = bytesOf(file);
        // A fuzzer may be handed no bytes at all; give the body a valid pointer anyway.
        const uint8_t none = 0;
        EXPECT_EQ(body(bytes.empty() ? &none : bytes.data(), bytes.size()), 0);
    }
}

TEST(FuzzRegressions, WavImport) {
    replay("fuzz_wav_import", fuzzWavImport);
}
TEST(FuzzRegressions, TextImport) {
    replay("fuzz_text_import", fuzzTextImport);
}
TEST(FuzzRegressions, StateRestore) {
    replay("fuzz_state_restore", fuzzStateRestore);
}
TEST(FuzzRegressions, SysEx) {
    replay("fuzz_sysex", fuzzSysEx);
}
TEST(FuzzRegressions, MidiFile) {
    replay("fuzz_midi_file", fuzzMidiFile);
}
TEST(FuzzRegressions, Messages) {
    replay("fuzz_messages", fuzzMessages);
}
TEST(FuzzRegressions, HostProcess) {
    replay("fuzz_host_process", fuzzHostProcess);
}

}  // namespace
}  // namespace velt::corvane::fuzz
