// Depth conversions: log codes per depth and the reductions to 8 and 16 bits.
#include "synth/pcm/wav_samples.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "synth/pcm/wav_reader.h"
#include "tests/wav/wav_builder.h"

namespace velt::corvane::wavtest {
namespace {

std::vector<uint32_t> codesOf(const Bytes& file, size_t n) {
    const WavInfo info = parseWav(file.data(), file.size());
    std::vector<uint32_t> codes(n, 0xDEADu);
    EXPECT_TRUE(pcmToLog(info, codes.data()));
    return codes;
}

using U32 = std::vector<uint32_t>;

TEST(PcmToLog, EachDepthScalesToFullScale) {
    EXPECT_EQ(codesOf(simpleWav(1, 44100, 16, {0, 16384, -32768}), 3), (U32{8192, 512, 1}));
    EXPECT_EQ(codesOf(simpleWav(1, 44100, 8, {128, 255, 0}), 3), (U32{8192, 6, 1}));
    EXPECT_EQ(codesOf(simpleWav(1, 44100, 24, {0x400000, -0x800000, 0x200000, -0x400000, 1, 0x7FFFFF}), 6),
              (U32{512, 1, 1024, 513, 8192, 0}));
    EXPECT_EQ(codesOf(simpleWav(1, 44100, 32, {0x40000000, INT32_MIN, -0x20000000, 1, 0x7FFFFFFF}), 5),
              (U32{512, 1, 1025, 8192, 0}));
    // The smallest 16-bit steps are 2^-15 and 2^-14: 15 and 14 octaves down.
    EXPECT_EQ(codesOf(simpleWav(1, 44100, 16, {-16384, 1, -2}), 3), (U32{513, 2 * 3840, 2 * 3584 + 1}));
}

TEST(PcmToLog, StereoStaysInterleaved) {
    EXPECT_EQ(codesOf(simpleWav(2, 44100, 16, {16384, -16384, 0, -32768}), 4), (U32{512, 513, 8192, 1}));
}

TEST(PcmToLog, RefusesOtherDepthsAndUnacceptedFiles) {
    const Bytes b12 = WavBuilder().fmt(1, 1, 8000, 12).data(Bytes(4, 0)).bytes();
    const WavInfo i12 = parseWav(b12.data(), b12.size());
    U32 codes(4, 7);
    EXPECT_FALSE(pcmToLog(i12, codes.data()));
    EXPECT_EQ(codes, (U32{7, 7, 7, 7}));
    int8_t s8[4] = {};
    int16_t s16[4] = {};
    EXPECT_FALSE(reduceTo8Bit(i12, s8));
    EXPECT_FALSE(reduceTo16Bit(i12, s16));
    const Bytes b40 = WavBuilder().fmt(1, 1, 8000, 40).data(Bytes(10, 0)).bytes();
    EXPECT_FALSE(pcmToLog(parseWav(b40.data(), b40.size()), codes.data()));
    EXPECT_FALSE(pcmToLog(WavInfo{}, codes.data()));
    EXPECT_FALSE(reduceTo8Bit(WavInfo{}, s8));
}

TEST(Reduction, EightBitKeepsTheTopByte) {
    auto reduce = [](const Bytes& file, size_t n) {
        const WavInfo info = parseWav(file.data(), file.size());
        std::vector<int8_t> out(n, 99);
        EXPECT_TRUE(reduceTo8Bit(info, out.data()));
        return out;
    };
    using S8 = std::vector<int8_t>;
    EXPECT_EQ(reduce(simpleWav(1, 8000, 8, {128, 255, 0, 148}), 4), (S8{0, 127, -128, 20}));
    EXPECT_EQ(reduce(simpleWav(1, 8000, 16, {0x1234, -1, -32768, 0x7FFF}), 4), (S8{0x12, -1, -128, 127}));
    EXPECT_EQ(reduce(simpleWav(1, 8000, 24, {0x123456, -0x800000, 0x00FFFF}), 3), (S8{0x12, -128, 0}));
    EXPECT_EQ(reduce(simpleWav(2, 8000, 32, {0x12345678, static_cast<int32_t>(0x89ABCDEFu)}), 2),
              (S8{0x12, static_cast<int8_t>(0x89)}));
}

TEST(Reduction, SixteenBitKeepsTheTopTwoBytes) {
    auto reduce = [](const Bytes& file, size_t n) {
        const WavInfo info = parseWav(file.data(), file.size());
        std::vector<int16_t> out(n, 99);
        EXPECT_TRUE(reduceTo16Bit(info, out.data()));
        return out;
    };
    using S16 = std::vector<int16_t>;
    EXPECT_EQ(reduce(simpleWav(1, 8000, 8, {128, 255, 0}), 3), (S16{0, 32512, -32768}));
    EXPECT_EQ(reduce(simpleWav(1, 8000, 16, {1000, -1, -32768}), 3), (S16{1000, -1, -32768}));
    EXPECT_EQ(reduce(simpleWav(1, 8000, 24, {0x123456, -0x800000, 0x0000FF}), 3), (S16{0x1234, -32768, 0}));
    EXPECT_EQ(reduce(simpleWav(2, 8000, 32, {0x12345678, static_cast<int32_t>(0x89ABCDEFu)}), 2),
              (S16{0x1234, static_cast<int16_t>(0x89AB)}));
}

}  // namespace
}  // namespace velt::corvane::wavtest
