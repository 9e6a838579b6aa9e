#include "tests/presetfiles/preset_test_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace velt::corvane::presetfiletest {

Tables::Tables(int32_t frameCount)
    : tones(new TonePreset[presetfiles::kRecordCount]),
      samplers(new SamplerPreset[presetfiles::kRecordCount]),
      slots(new SampleData[presetfiles::kRecordCount]) {
    for (int32_t i = 0; i < presetfiles::kRecordCount; ++i) {
        resetTonePreset(tones[i]);
        resetSamplerPreset(samplers[i]);
        slots[i].clear();
        slots[i].frameCount = frameCount;
    }
}

void expectSameTone(const TonePreset& a, const TonePreset& b, int32_t where) {
    SCOPED_TRACE("tone " + std::to_string(where));
    EXPECT_EQ(std::string(a.presetName, kPresetNameLength + 1),
              std::string(b.presetName, kPresetNameLength + 1));
    EXPECT_EQ(a.lfoFreq, b.lfoFreq);
    EXPECT_EQ(a.strc, b.strc);
    EXPECT_EQ(a.tune, b.tune);
    EXPECT_EQ(a.lms, b.lms);
    EXPECT_EQ(a.wave, b.wave);
    EXPECT_EQ(a.tl, b.tl);
    EXPECT_EQ(a.ar, b.ar);
    EXPECT_EQ(a.dr, b.dr);
    EXPECT_EQ(a.sl, b.sl);
    EXPECT_EQ(a.rr, b.rr);
    EXPECT_EQ(a.kf, b.kf);
    EXPECT_EQ(a.kfStart, b.kfStart);
}

void expectSameSampler(const SamplerPreset& a, const SamplerPreset& b, int32_t where) {
    SCOPED_TRACE("sampler " + std::to_string(where));
    EXPECT_EQ(std::string(a.presetName, kPresetNameLength + 1),
              std::string(b.presetName, kPresetNameLength + 1));
    EXPECT_EQ(a.smplNum, b.smplNum);
    EXPECT_EQ(a.pan, b.pan);
    EXPECT_EQ(a.octv, b.octv);
    EXPECT_EQ(a.tune, b.tune);
    EXPECT_EQ(a.tl, b.tl);
    EXPECT_EQ(a.ar, b.ar);
    EXPECT_EQ(a.dr, b.dr);
    EXPECT_EQ(a.sl, b.sl);
    EXPECT_EQ(a.rr, b.rr);
}

void expectSameSlot(const SampleData& a, const SampleData& b, int32_t where) {
    SCOPED_TRACE("slot " + std::to_string(where));
    EXPECT_EQ(a.hasData, b.hasData);
    EXPECT_EQ(a.sampleRate, b.sampleRate);
    EXPECT_EQ(a.Pitch, b.Pitch);
    EXPECT_EQ(a.samples, b.samples);
    EXPECT_EQ(a.frameCount, b.frameCount);
    EXPECT_EQ(a.channels, b.channels);
    EXPECT_EQ(a.rateLog, b.rateLog);
    EXPECT_EQ(a.pitchLog, b.pitchLog);
    EXPECT_EQ(a.pitchOffset, b.pitchOffset);
    EXPECT_EQ(a.PlayBackStartPoint, b.PlayBackStartPoint);
    EXPECT_EQ(a.PlayBackEndPoint, b.PlayBackEndPoint);
    EXPECT_EQ(a.LoopEndPoint, b.LoopEndPoint);
    EXPECT_EQ(a.loopLength, b.loopLength);
    EXPECT_EQ(a.releaseLoopLength, b.releaseLoopLength);
}

void expectSameTables(const Tables& a, const Tables& b) {
    for (int32_t i = 0; i < presetfiles::kRecordCount; ++i) {
        expectSameTone(a.tones[i], b.tones[i], i);
        expectSameSampler(a.samplers[i], b.samplers[i], i);
        expectSameSlot(a.slots[i], b.slots[i], i);
    }
}

namespace {

// The run's directory, removed with everything in it when the process exits.
struct TestDirectory {
    TestDirectory() {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "corvane-presetfiles-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        if (made != nullptr) path = made;
    }
    ~TestDirectory() {
        std::error_code error;
        if (!path.empty()) std::filesystem::remove_all(path, error);
    }
    std::string path;
};

}  // namespace

const std::string& testDir() {
    static const TestDirectory dir;
    return dir.path;
}

std::string writeTestFile(const std::string& name, const std::string& bytes) {
    const std::string path = testDir() + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool pathExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void fillPresets(Tables& tables, Lcg& random) {
    auto fillName = [&random](char(&name)[kPresetNameLength + 1]) {
        for (int32_t c = 0; c < kPresetNameLength; ++c) name[c] = static_cast<char>(' ' + random.below(95));
        name[kPresetNameLength] = '\0';
    };
    for (int32_t i = 0; i < presetfiles::kRecordCount; ++i) {
        TonePreset& t = tables.tones[i];
        fillName(t.presetName);
        t.lfoFreq = random.below(16384);
        t.strc = random.below(4);
        t.tune = random.below(16384);
        t.lms = random.below(16);
        t.wave = random.below(128);
        t.tl = random.below(128);
        t.ar = random.below(128);
        t.dr = random.below(128);
        t.sl = random.below(128);
        t.rr = random.below(128);
        t.kf = random.below(4);
        t.kfStart = random.below(128);
        SamplerPreset& s = tables.samplers[i];
        fillName(s.presetName);
        s.smplNum = random.below(128);
        s.pan = random.below(128);
        s.octv = random.below(16);
        s.tune = random.below(16384);
        s.tl = random.below(128);
        s.ar = random.below(128);
        s.dr = random.below(128);
        s.sl = random.below(128);
        s.rr = random.below(128);
    }
}

}  // namespace velt::corvane::presetfiletest
