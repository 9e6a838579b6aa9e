// Preparing and installing a sample-data slot from WAV bytes and WAV files.
#include "synth/pcm/sample_import.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/wav/wav_builder.h"

namespace velt::corvane::wavtest {
namespace {

using U32 = std::vector<uint32_t>;

PreparedSample prepare(const Bytes& b, int32_t encoding) {
    return prepareSampleFromWav(b.data(), b.size(), encoding);
}

U32 codesOf(const PreparedSample& p) {
    if (!p.codes) return {};
    return U32(p.codes.get(), p.codes.get() + static_cast<size_t>(p.frameCount) * p.channels);
}

TEST(PrepareSample, PcmConvertsEverySample) {
    const PreparedSample p = prepare(simpleWav(1, 44100, 16, {0, 16384, -32768}), 0);
    EXPECT_EQ(p.result, SampleImportResult::Imported);
    EXPECT_EQ(p.frameCount, 3);
    EXPECT_EQ(p.channels, 1);
    EXPECT_EQ(p.sampleRate, 44100.0f);
    EXPECT_EQ(codesOf(p), (U32{8192, 512, 1}));

    const PreparedSample stereo = prepare(simpleWav(2, 48000, 24, {0x400000, -0x800000, 0, 0x200000}), 0);
    EXPECT_EQ(stereo.result, SampleImportResult::Imported);
    EXPECT_EQ(stereo.frameCount, 2);
    EXPECT_EQ(stereo.channels, 2);
    EXPECT_EQ(codesOf(stereo), (U32{512, 1, 8192, 1024}));
}

TEST(PrepareSample, DpcmRoundTripHoldsTheSlewedSound) {
    // Signed 0, 20, 20, 20 decode as 0, 7, 14, 20; an odd last sample keeps its reduced value.
    const PreparedSample p = prepare(simpleWav(1, 22050, 8, {128, 148, 148, 148, 28}), 1);
    EXPECT_EQ(p.result, SampleImportResult::Imported);
    EXPECT_EQ(p.frameCount, 5);
    EXPECT_EQ(codesOf(p), (U32{8192, 2146, 1634, 1372, 183}));
    // A 16-bit file is reduced to its high bytes first.
    const PreparedSample wide = prepare(simpleWav(1, 22050, 16, {0x00FF, 0x147F, 0x1400, 0x1401}), 1);
    EXPECT_EQ(codesOf(wide), (U32{8192, 2146, 1634, 1372}));
}

TEST(PrepareSample, AdpcmRoundTripHoldsTheDecodedSound) {
    const PreparedSample p = prepare(simpleWav(1, 44100, 16, {1000, 1000, 1000, 1000, 1000, 1000}), 2);
    EXPECT_EQ(p.result, SampleImportResult::Imported);
    EXPECT_EQ(codesOf(p), (U32{3638, 2736, 2522, 2580, 2530, 2576}));
    // An 8-bit file of silence becomes (byte - 128) * 256 = 0 and decodes to 15, -1, 14, -2.
    const PreparedSample narrow = prepare(simpleWav(1, 44100, 8, {128, 128, 128, 128}), 2);
    EXPECT_EQ(codesOf(narrow), (U32{5680, 7681, 5730, 7169}));
    // Stereo: the right channel's silence is coded apart from the left's jump.
    const PreparedSample stereo = prepare(simpleWav(2, 44100, 16, {1000, 0, 1000, 0}), 2);
    EXPECT_EQ(codesOf(stereo), (U32{3638, 5680, 2736, 7681}));
}

TEST(PrepareSample, UnsupportedDepthGivesNoSamplesInEveryEncoding) {
    for (uint16_t bits : {uint16_t{12}, uint16_t{20}, uint16_t{40}}) {
        const Bytes b = WavBuilder().fmt(1, 1, 32000, bits).data(Bytes(20, 0x55)).bytes();
        for (int32_t encoding = 0; encoding <= 2; ++encoding) {
            const PreparedSample p = prepare(b, encoding);
            EXPECT_EQ(p.result, SampleImportResult::NoSamples) << bits << " bits, encoding " << encoding;
            EXPECT_EQ(p.codes, nullptr);
            EXPECT_EQ(p.frameCount, 0);
            EXPECT_EQ(p.sampleRate, 32000.0f);
        }
    }
}

TEST(PrepareSample, RejectedFilesAndUnknownEncodings) {
    const Bytes good = simpleWav(1, 44100, 16, {1, 2});
    const std::vector<Bytes> bad = {
        WavBuilder().fmt(1, 1, 44100, 16).data(sampleBytes({1, 2}, 16)).bytes(1),
        WavBuilder().fmt(0xFFFE, 1, 44100, 16, 40).data(sampleBytes({1, 2}, 16)).bytes(),
        WavBuilder().fmt(1, 1, 44100, 16).chunkWithSize("data", Bytes(4, 0), 8, false).bytes(),
        WavBuilder().fmt(1, 0, 44100, 16).data(Bytes(4, 0)).bytes(),
        WavBuilder().fmt(1, 1, 44100, 4).data(Bytes(4, 0)).bytes(),
        simpleWav(3, 44100, 16, {1, 2, 3}),
        WavBuilder().data(Bytes(4, 0)).fmt(1, 1, 44100, 16).bytes(),
        WavBuilder().fmt(1, 1, 44100, 16).bytes(),
        Bytes(good.begin(), good.begin() + 12),
    };
    for (size_t k = 0; k < bad.size(); ++k) {
        for (int32_t encoding : {0, 1, 2, 3}) {
            const PreparedSample p = prepare(bad[k], encoding);
            EXPECT_EQ(p.result, SampleImportResult::Rejected) << "case " << k << ", encoding " << encoding;
            EXPECT_EQ(p.codes, nullptr);
        }
    }
    for (int32_t encoding : {3, -1, 255}) {
        const PreparedSample p = prepare(good, encoding);
        EXPECT_EQ(p.result, SampleImportResult::UnknownEncoding);
        EXPECT_EQ(p.codes, nullptr);
    }
}

TEST(InstallSample, ReplacesTheSlotAndHandsBackTheOldArray) {
    SampleData slot;
    uint32_t* old = new uint32_t[10]();
    slot.hasData = true;
    slot.samples = old;
    slot.frameCount = 10;
    slot.channels = 1;
    setSampleRateFields(slot, 8000.0f);
    setSamplePitch(slot, 440.0f);
    setPlaybackPoints(slot, 2, 9);
    setLoopPoints(slot, 4, 9);

    PreparedSample p = prepare(simpleWav(2, 44100, 16, {16384, 0, -32768, 16384, 0, 0}), 0);
    const uint32_t* codes = p.codes.get();
    std::unique_ptr<uint32_t[]> previous = installPreparedSample(slot, p);
    EXPECT_EQ(previous.get(), old);
    EXPECT_EQ(p.codes, nullptr);
    EXPECT_TRUE(slot.hasData);
    EXPECT_EQ(slot.samples, codes);
    EXPECT_EQ(slot.samples[2], 1u);
    EXPECT_EQ(slot.frameCount, 3);
    EXPECT_EQ(slot.channels, 2);
    EXPECT_EQ(slot.PlayBackStartPoint, 0);
    EXPECT_EQ(slot.PlayBackEndPoint, 3);
    EXPECT_EQ(slot.LoopEndPoint, 3);
    EXPECT_EQ(slot.loopLength, 0);
    EXPECT_EQ(slot.releaseLoopLength, 0);
    EXPECT_EQ(slot.Pitch, 0.0f);
    EXPECT_EQ(slot.pitchLog, 0);
    EXPECT_EQ(slot.sampleRate, 44100.0f);
    EXPECT_EQ(slot.rateLog, 126390);
    EXPECT_EQ(slot.pitchOffset, 126390);

    // A second import hands back the first one's array.
    PreparedSample again = prepare(simpleWav(1, 22050, 8, {128, 255}), 1);
    previous = installPreparedSample(slot, again);
    EXPECT_EQ(previous.get(), codes);
    EXPECT_EQ(slot.rateLog, 118198);
    EXPECT_EQ(slot.pitchOffset, 118198);
    EXPECT_EQ(slot.frameCount, 2);
    EXPECT_EQ(slot.PlayBackEndPoint, 2);
}

TEST(InstallSample, NoSamplesLeavesOnlyTheRateFields) {
    SampleData slot;
    PreparedSample first = prepare(simpleWav(1, 8000, 16, {1, 2, 3, 4}), 0);
    const uint32_t* codes = first.codes.get();
    EXPECT_EQ(installPreparedSample(slot, first), nullptr);  // the slot was empty
    setSamplePitch(slot, 261.63f);

    PreparedSample none = prepare(WavBuilder().fmt(1, 1, 22050, 12).data(Bytes(6, 0)).bytes(), 0);
    ASSERT_EQ(none.result, SampleImportResult::NoSamples);
    const std::unique_ptr<uint32_t[]> previous = installPreparedSample(slot, none);
    EXPECT_EQ(previous.get(), codes);
    EXPECT_FALSE(slot.hasData);
    EXPECT_EQ(slot.samples, nullptr);
    EXPECT_EQ(slot.frameCount, 0);
    EXPECT_EQ(slot.channels, 0);
    EXPECT_EQ(slot.PlayBackEndPoint, 0);
    EXPECT_EQ(slot.LoopEndPoint, 0);
    EXPECT_EQ(slot.Pitch, 0.0f);
    EXPECT_EQ(slot.sampleRate, 22050.0f);
    EXPECT_EQ(slot.rateLog, 118198);
    EXPECT_EQ(slot.pitchOffset, 118198);
}

TEST(InstallSample, OtherResultsLeaveTheSlotAlone) {
    SampleData slot;
    PreparedSample first = prepare(simpleWav(1, 8000, 16, {1, 2, 3, 4}), 0);
    const uint32_t* codes = first.codes.get();
    installPreparedSample(slot, first);
    for (SampleImportResult r : {SampleImportResult::Rejected, SampleImportResult::Unreadable,
                                 SampleImportResult::UnknownEncoding}) {
        PreparedSample p;
        p.result = r;
        p.sampleRate = 1000.0f;
        EXPECT_EQ(installPreparedSample(slot, p), nullptr);
        EXPECT_TRUE(slot.hasData);
        EXPECT_EQ(slot.samples, codes);
        EXPECT_EQ(slot.sampleRate, 8000.0f);
        EXPECT_EQ(slot.frameCount, 4);
    }
}

class WavFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvane_wav_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (const std::string& f : written_) std::remove(f.c_str());
        if (!dir_.empty()) std::remove(dir_.c_str());
    }
    std::string write(const std::string& name, const Bytes& b) {
        const std::string path = dir_ + "/" + name;
        writeFile(path, b);
        written_.push_back(path);
        return path;
    }
    std::string dir_;
    std::vector<std::string> written_;
};

TEST_F(WavFileTest, ReadsARealFileLikeItsBytes) {
    const Bytes b = WavBuilder()
                        .chunk("LIST", Bytes(7, 'i'))
                        .fmt(1, 2, 44100, 16, 18)
                        .data(sampleBytes({16384, -16384, 0, -32768, 1000, 1000}, 16))
                        .bytes();
    const std::string path = write("stereo.wav", b);
    for (int32_t encoding = 0; encoding <= 2; ++encoding) {
        const PreparedSample fromFile = prepareSampleFromFile(path.c_str(), encoding);
        const PreparedSample fromMemory = prepare(b, encoding);
        EXPECT_EQ(fromFile.result, SampleImportResult::Imported);
        EXPECT_EQ(fromFile.frameCount, 3);
        EXPECT_EQ(fromFile.channels, 2);
        EXPECT_EQ(fromFile.sampleRate, 44100.0f);
        EXPECT_EQ(codesOf(fromFile), codesOf(fromMemory));
    }
    EXPECT_EQ(codesOf(prepareSampleFromFile(path.c_str(), 0)), (U32{512, 513, 8192, 1, 2578, 2578}));

    SampleData slot;
    PreparedSample p = prepareSampleFromFile(path.c_str(), 0);
    installPreparedSample(slot, p);
    EXPECT_EQ(slot.PlayBackEndPoint, 3);
    EXPECT_EQ(slot.rateLog, 126390);
}

TEST_F(WavFileTest, FilesThatCannotBeReadOrUsed) {
    // isImportableWavFile answers, without converting, whether the import would record the file.
    const auto check = [](const std::string& path, int32_t encoding, SampleImportResult expected) {
        EXPECT_EQ(prepareSampleFromFile(path.c_str(), encoding).result, expected) << path;
        const bool recorded =
            expected != SampleImportResult::Unreadable && expected != SampleImportResult::Rejected;
        EXPECT_EQ(isImportableWavFile(path.c_str()), recorded) << path;
    };
    check(dir_ + "/missing.wav", 0, SampleImportResult::Unreadable);
    check(dir_, 0, SampleImportResult::Unreadable);
    EXPECT_EQ(prepareSampleFromFile(nullptr, 0).result, SampleImportResult::Unreadable);
    EXPECT_FALSE(isImportableWavFile(nullptr));
    check(write("empty.wav", Bytes{}), 0, SampleImportResult::Rejected);
    check(write("notes.wav", Bytes{'h', 'e', 'l', 'l', 'o'}), 0, SampleImportResult::Rejected);
    check(write("float.wav", WavBuilder().fmt(3, 1, 8000, 32).data(Bytes(8, 0)).bytes()), 0,
          SampleImportResult::Rejected);
    check(write("odd.wav", WavBuilder().fmt(1, 1, 8000, 12).data(Bytes(4, 0)).bytes()), 1,
          SampleImportResult::NoSamples);
    const std::string good = write("good.wav", simpleWav(1, 8000, 8, {1, 2}));
    check(good, 7, SampleImportResult::UnknownEncoding);
    check(good, 0, SampleImportResult::Imported);
}

}  // namespace
}  // namespace velt::corvane::wavtest
