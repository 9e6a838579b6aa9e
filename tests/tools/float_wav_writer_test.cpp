#include "tools/toolkit/float_wav_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace velt::corvane::tools {
namespace {

using tooltest::Bytes;
using tooltest::le16;
using tooltest::le32;
using tooltest::leFloat;

TEST(FloatWavWriter, HeaderFieldsAndSamplesReadBack) {
    tooltest::ScratchDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string path = dir.file("three.wav");
    FloatWavWriter writer;
    ASSERT_TRUE(writer.open(path.c_str(), 2, 48000));
    const float left[3] = {1.0f, -0.5f, 0.25f};
    const float right[3] = {0.0f, 3.0e-8f, -1.0f};
    ASSERT_TRUE(writer.writeStereo(left, right, 2));
    ASSERT_TRUE(writer.writeStereo(left + 2, right + 2, 1));
    EXPECT_EQ(writer.framesWritten(), 3u);
    ASSERT_TRUE(writer.finish());

    const Bytes b = tooltest::readBytes(path);
    ASSERT_EQ(b.size(), 58u + 24u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(b, 16), 18u);      // fmt size with the extension-size field
    EXPECT_EQ(le16(b, 20), 3u);       // IEEE float
    EXPECT_EQ(le16(b, 22), 2u);       // channels
    EXPECT_EQ(le32(b, 24), 48000u);   // rate
    EXPECT_EQ(le32(b, 28), 384000u);  // bytes per second
    EXPECT_EQ(le16(b, 32), 8u);       // block align
    EXPECT_EQ(le16(b, 34), 32u);      // bits
    EXPECT_EQ(le16(b, 36), 0u);       // no extension
    EXPECT_EQ(std::string(b.begin() + 38, b.begin() + 42), "fact");
    EXPECT_EQ(le32(b, 42), 4u);
    EXPECT_EQ(le32(b, 46), 3u);  // frames
    EXPECT_EQ(std::string(b.begin() + 50, b.begin() + 54), "data");
    EXPECT_EQ(le32(b, 54), 24u);
    const float expected[6] = {1.0f, 0.0f, -0.5f, 3.0e-8f, 0.25f, -1.0f};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(leFloat(b, 58 + 4 * i), expected[i]) << i;
    EXPECT_EQ(le32(b, 58), 0x3F800000u);  // little-endian IEEE bits of 1.0
}

TEST(FloatWavWriter, LongStreamsInterleavedWritesAndLimits) {
    tooltest::ScratchDir dir;
    ASSERT_TRUE(dir.ok());
    // More frames than the writer's internal buffer, in uneven pieces.
    std::vector<float> left(5001), right(5001);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = static_cast<float>(i) / 8192.0f;
        right[i] = -static_cast<float>(i);
    }
    FloatWavWriter writer;
    const std::string path = dir.file("long.wav");
    ASSERT_TRUE(writer.open(path.c_str(), 2, 44100));
    for (size_t at = 0; at < left.size(); at += 777) {
        const int32_t n = static_cast<int32_t>(std::min<size_t>(777, left.size() - at));
        ASSERT_TRUE(writer.writeStereo(left.data() + at, right.data() + at, n));
    }
    ASSERT_TRUE(writer.finish());
    const tooltest::FloatWav w = tooltest::parseFloatWav(tooltest::readBytes(path));
    ASSERT_TRUE(w.valid);
    EXPECT_EQ(w.frames, 5001u);
    ASSERT_EQ(w.samples.size(), 10002u);
    for (size_t i = 0; i < left.size(); i += 97) {
        EXPECT_EQ(w.samples[2 * i], left[i]);
        EXPECT_EQ(w.samples[2 * i + 1], right[i]);
    }

    FloatWavWriter mono;
    const std::string monoPath = dir.file("mono.wav");
    ASSERT_TRUE(mono.open(monoPath.c_str(), 1, 8000));
    const float ramp[4] = {0.5f, 0.25f, 0.125f, -2.0f};
    ASSERT_TRUE(mono.writeInterleaved(ramp, 4));
    ASSERT_TRUE(mono.finish());
    const tooltest::FloatWav mw = tooltest::parseFloatWav(tooltest::readBytes(monoPath));
    ASSERT_TRUE(mw.valid);
    EXPECT_EQ(mw.channels, 1u);
    EXPECT_EQ(mw.frames, 4u);
    EXPECT_EQ(mw.samples, std::vector<float>(ramp, ramp + 4));
    EXPECT_EQ(le32(tooltest::readBytes(monoPath), 28), 32000u);
    FloatWavWriter wrongShape;
    ASSERT_TRUE(wrongShape.open(monoPath.c_str(), 1, 8000));
    EXPECT_FALSE(wrongShape.writeStereo(ramp, ramp, 1));  // stereo writes need two channels
    EXPECT_FALSE(wrongShape.finish());

    EXPECT_EQ(maxFloatWavFrames(2), (0xFFFFFFFFull - 50) / 8);
    EXPECT_EQ(maxFloatWavFrames(0), 0u);
    FloatWavWriter nowhere;
    EXPECT_FALSE(nowhere.open(dir.file("no/such/dir.wav").c_str(), 2, 44100));
    EXPECT_FALSE(nowhere.error().empty());
    EXPECT_FALSE(nowhere.writeStereo(left.data(), right.data(), 1));
}

}  // namespace
}  // namespace velt::corvane::tools
