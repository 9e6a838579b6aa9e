// The DPCM and ADPCM codecs: exact codes and decoded values.
#include "synth/pcm/sample_codecs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace velt::corvane::wavtest {
namespace {

std::vector<uint8_t> nibblesToBytes(const std::vector<uint8_t>& codes) {
    std::vector<uint8_t> b((codes.size() + 1) / 2, 0);
    for (size_t i = 0; i < codes.size(); ++i) b[i / 2] |= static_cast<uint8_t>(codes[i] << ((i & 1) * 4));
    return b;
}

std::vector<uint8_t> bytesToNibbles(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> c;
    for (uint8_t b : bytes) {
        c.push_back(b & 0x0F);
        c.push_back(b >> 4);
    }
    return c;
}

std::vector<uint8_t> adpcmCodes(const std::vector<int16_t>& s, int32_t channels) {
    const int32_t n = static_cast<int32_t>(s.size());
    std::vector<uint8_t> out(static_cast<size_t>(n >> 1), 0xEE);
    encodeAdpcm(s.data(), n, channels, out.data(), n >> 1);
    return bytesToNibbles(out);
}

std::vector<int16_t> adpcmDecoded(const std::vector<uint8_t>& codes, int32_t channels) {
    const std::vector<uint8_t> bytes = nibblesToBytes(codes);
    std::vector<int16_t> s(codes.size(), 0);
    decodeAdpcm(bytes.data(), static_cast<int32_t>(bytes.size()), channels, s.data(),
                static_cast<int32_t>(s.size()));
    return s;
}

using V8 = std::vector<uint8_t>;
using V16 = std::vector<int16_t>;

TEST(Dpcm, SlewsAtSevenPerSample) {
    const std::vector<int8_t> s = {0, 20, 20, 20};
    V8 out(2, 0xEE);
    encodeDpcm(s.data(), 4, 1, out.data(), 2);
    EXPECT_EQ(out, (V8{0x70, 0x67}));
    std::vector<int8_t> back(4, 99);
    decodeDpcm(out.data(), 2, 1, back.data(), 4);
    EXPECT_EQ(back, (std::vector<int8_t>{0, 7, 14, 20}));

    // Falling: codes carry the sign in bit 3.
    const std::vector<int8_t> down = {-3, -20};
    encodeDpcm(down.data(), 2, 1, out.data(), 1);
    EXPECT_EQ(out[0], 0xFB);  // -3 then -7 (code 15)
}

TEST(Dpcm, OddLastSampleAndShortBuffers) {
    const std::vector<int8_t> s = {5, 5, 5};
    V8 out(1, 0);
    encodeDpcm(s.data(), 3, 1, out.data(), 1);
    EXPECT_EQ(out[0], 0x05);
    std::vector<int8_t> back = {0, 0, 42};
    decodeDpcm(out.data(), 1, 1, back.data(), 3);
    EXPECT_EQ(back, (std::vector<int8_t>{5, 5, 42}));

    // The byte budget stops the encoder before the samples run out.
    V8 two = {0xAA, 0xAA};
    encodeDpcm(std::vector<int8_t>{1, 2, 3, 4}.data(), 4, 1, two.data(), 1);
    EXPECT_EQ(two, (V8{0x11, 0xAA}));
    // Nothing is done for other channel counts or empty input.
    V8 untouched = {0xAA};
    encodeDpcm(s.data(), 2, 3, untouched.data(), 1);
    encodeDpcm(s.data(), 0, 1, untouched.data(), 1);
    EXPECT_EQ(untouched[0], 0xAA);
    std::vector<int8_t> keep = {9, 9};
    decodeDpcm(two.data(), 1, 0, keep.data(), 2);
    EXPECT_EQ(keep, (std::vector<int8_t>{9, 9}));
}

TEST(Dpcm, DecoderLimitsToEightBits) {
    const V8 up(10, 0x77);  // twenty steps of +7
    std::vector<int8_t> s(20, 0);
    decodeDpcm(up.data(), 10, 1, s.data(), 20);
    EXPECT_EQ(s[17], 126);
    EXPECT_EQ(s[18], 127);
    EXPECT_EQ(s[19], 127);
    const V8 down(10, 0xFF);
    decodeDpcm(down.data(), 10, 1, s.data(), 20);
    EXPECT_EQ(s[17], -126);
    EXPECT_EQ(s[18], -128);
    EXPECT_EQ(s[19], -128);
}

TEST(Dpcm, StereoKeepsAPredictorPerChannel) {
    // Left climbs to 20, right falls to -20; a shared predictor would mix them.
    const std::vector<int8_t> s = {20, -20, 20, -20, 20, -20};
    V8 out(3, 0);
    encodeDpcm(s.data(), 6, 2, out.data(), 3);
    EXPECT_EQ(out, (V8{0xF7, 0xF7, 0xE6}));
    std::vector<int8_t> back(6, 0);
    decodeDpcm(out.data(), 3, 2, back.data(), 6);
    EXPECT_EQ(back, (std::vector<int8_t>{7, -7, 14, -14, 20, -20}));
    // The same bytes read as mono share one predictor.
    decodeDpcm(out.data(), 3, 1, back.data(), 6);
    EXPECT_EQ(back, (std::vector<int8_t>{7, 0, 7, 0, 6, 0}));
}

TEST(Adpcm, SilenceAlternatesAroundZeroWithTheSmallestStep) {
    EXPECT_EQ(adpcmCodes(V16{0, 0, 0, 0}, 1), (V8{0, 8, 0, 8}));
    V8 bytes(2, 0);
    const V16 zeros = {0, 0, 0, 0};
    encodeAdpcm(zeros.data(), 4, 1, bytes.data(), 2);
    EXPECT_EQ(bytes, (V8{0x80, 0x80}));
    EXPECT_EQ(adpcmDecoded(V8{0, 8, 0, 8}, 1), (V16{15, -1, 14, -2}));
    // The step is still 127 afterwards: a code 7 then adds 127 * 15 / 8.
    EXPECT_EQ(adpcmDecoded(V8{0, 8, 0, 8, 7, 0}, 1).at(4), -2 + 238);
}

TEST(Adpcm, StepGrowsOnALargeJump) {
    const V16 s(6, 1000);
    EXPECT_EQ(adpcmCodes(s, 1), (V8{7, 7, 1, 8, 0, 8}));
    EXPECT_EQ(adpcmDecoded(V8{7, 7, 1, 8, 0, 8}, 1), (V16{238, 806, 1077, 996, 1067, 1003}));
}

TEST(Adpcm, StereoKeepsAStatePerChannel) {
    const V16 s = {1000, 0, 1000, 0, 1000, 0, 1000, 0, 1000, 0, 1000, 0};
    EXPECT_EQ(adpcmCodes(s, 2), (V8{7, 0, 7, 8, 1, 0, 8, 8, 0, 0, 8, 8}));
    EXPECT_EQ(adpcmDecoded(V8{7, 0, 7, 8, 1, 0, 8, 8, 0, 0, 8, 8}, 2),
              (V16{238, 15, 806, -1, 1077, 14, 996, -2, 1067, 13, 1003, -3}));
}

TEST(Adpcm, EncoderPredictorIsNotLimitedButDecoderIs) {
    // Full scale overshoots 32767 in the encoder; a limited predictor would then emit 0, 0, 0, ...
    EXPECT_EQ(adpcmCodes(V16(12, 32767), 1), (V8{7, 7, 7, 7, 7, 7, 0, 8, 0, 8, 0, 8}));
    EXPECT_EQ(adpcmCodes(V16(12, -32768), 1), (V8{15, 15, 15, 15, 15, 15, 8, 0, 8, 0, 8, 0}));
    // Decoder: clamps at 32767; the step is capped at 24576 (24576 * 15 / 8 = 46080).
    const V16 d = adpcmDecoded(V8{7, 7, 7, 7, 7, 7, 7, 7, 15, 0}, 1);
    EXPECT_EQ(d[5], 31693);
    EXPECT_EQ(d[6], 32767);
    EXPECT_EQ(d[7], 32767);
    EXPECT_EQ(d[8], 32767 - 46080);
    const V16 low = adpcmDecoded(V8(12, 15), 1);
    EXPECT_EQ(low[11], -32768);
}

TEST(Adpcm, StopsAtEitherEnd) {
    const V16 s = {1000, 1000, 1000};
    V8 out = {0xAA, 0xAA};
    encodeAdpcm(s.data(), 3, 1, out.data(), 2);  // odd last sample left out
    EXPECT_EQ(out, (V8{0x77, 0xAA}));
    V16 back = {0, 0, 555};
    decodeAdpcm(out.data(), 1, 1, back.data(), 3);
    EXPECT_EQ(back, (V16{238, 806, 555}));
    V16 keep = {1, 2};
    decodeAdpcm(out.data(), 1, 3, keep.data(), 2);
    decodeAdpcm(out.data(), 0, 1, keep.data(), 2);
    EXPECT_EQ(keep, (V16{1, 2}));
}

}  // namespace
}  // namespace velt::corvane::wavtest
