// Parsing of WAV bytes: the chunk walk, the acceptance rules and malformed input.
#include <gtest/gtest.h>

#include <cstdint>

#include "synth/pcm/wav_reader.h"
#include "tests/wav/wav_builder.h"

namespace velt::corvane::wavtest {
namespace {

WavInfo parse(const Bytes& b) {
    return parseWav(b.data(), b.size());
}

void expectAllZero(const WavInfo& i) {
    EXPECT_EQ(i.formatTag, 0);
    EXPECT_EQ(i.channels, 0);
    EXPECT_EQ(i.sampleRate, 0u);
    EXPECT_EQ(i.byteRate, 0u);
    EXPECT_EQ(i.blockAlign, 0);
    EXPECT_EQ(i.bitsPerSample, 0);
    EXPECT_EQ(i.frameCount, 0u);
    EXPECT_EQ(i.dataSize, 0u);
    EXPECT_EQ(i.file, nullptr);
    EXPECT_EQ(i.data, nullptr);
}

TEST(WavParse, ReadsFieldsOfASimpleFile) {
    const Bytes b = simpleWav(2, 22050, 16, {1, 2, 3, 4, 5, 6});
    const WavInfo i = parse(b);
    EXPECT_EQ(i.formatTag, 1);
    EXPECT_EQ(i.channels, 2);
    EXPECT_EQ(i.sampleRate, 22050u);
    EXPECT_EQ(i.byteRate, 88200u);
    EXPECT_EQ(i.blockAlign, 4);
    EXPECT_EQ(i.bitsPerSample, 16);
    EXPECT_EQ(i.dataSize, 12u);
    EXPECT_EQ(i.frameCount, 3u);
    EXPECT_EQ(i.file, b.data());
    EXPECT_EQ(i.data, b.data() + 12 + 24 + 8);
    EXPECT_TRUE(isAcceptedWav(i));

    // A partial last frame is not counted.
    const Bytes odd = WavBuilder().fmt(1, 2, 8000, 16).data(Bytes(14, 0)).bytes();
    EXPECT_EQ(parse(odd).frameCount, 3u);
}

TEST(WavParse, RiffHeaderMustMatchTheFileExactly) {
    const Bytes good = simpleWav(1, 44100, 16, {0, 1});
    EXPECT_TRUE(isAcceptedWav(parse(good)));
    expectAllZero(parse(WavBuilder().fmt(1, 1, 44100, 16).data(sampleBytes({0, 1}, 16)).bytes(+1)));
    expectAllZero(parse(WavBuilder().fmt(1, 1, 44100, 16).data(sampleBytes({0, 1}, 16)).bytes(-1)));

    Bytes notRiff = good;
    notRiff[0] = 'X';
    expectAllZero(parse(notRiff));
    Bytes notWave = good;
    notWave[11] = 'X';
    expectAllZero(parse(notWave));

    // Shorter than 16 bytes, even with a consistent header.
    const Bytes tiny = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    expectAllZero(parse(tiny));
    expectAllZero(parseWav(nullptr, 0));
    expectAllZero(parseWav(good.data(), 15));
}

TEST(WavParse, FmtChunkSizeDecidesWhereTheNextChunkStarts) {
    // Size 18 (even): the next chunk 26 bytes after the fmt chunk's start.
    const Bytes b18 = WavBuilder().fmt(1, 1, 44100, 16, 18).data(sampleBytes({7}, 16)).bytes();
    const WavInfo i18 = parse(b18);
    EXPECT_TRUE(isAcceptedWav(i18));
    EXPECT_EQ(i18.data, b18.data() + 12 + 26 + 8);

    // A size up to 16 is taken as 16: the next chunk at start + 24, whatever the size says.
    Bytes fields;
    put16(fields, 1);
    put16(fields, 1);
    put32(fields, 8000);
    put32(fields, 16000);
    put16(fields, 2);
    put16(fields, 16);
    const Bytes b14 =
        WavBuilder().chunkWithSize("fmt ", fields, 14, false).data(sampleBytes({7}, 16)).bytes();
    const WavInfo i14 = parse(b14);
    EXPECT_TRUE(isAcceptedWav(i14));
    EXPECT_EQ(i14.bitsPerSample, 16);
    EXPECT_EQ(i14.data, b14.data() + 12 + 24 + 8);

    // An odd size above 16 is padded: 17 + 1.
    const Bytes b17 = WavBuilder().fmt(1, 1, 44100, 16, 17).data(sampleBytes({7}, 16)).bytes();
    const WavInfo i17 = parse(b17);
    EXPECT_TRUE(isAcceptedWav(i17));
    EXPECT_EQ(i17.data, b17.data() + 12 + 26 + 8);
}

TEST(WavParse, OtherChunksAreSkippedWithTheirPad) {
    const Bytes b = WavBuilder()
                        .chunk("LIST", Bytes(5, 'x'))
                        .fmt(1, 1, 11025, 8)
                        .chunk("junk", Bytes(3, 0))
                        .data(Bytes{1, 2, 3})
                        .chunk("id3 ", Bytes(1, 0))
                        .bytes();
    const WavInfo i = parse(b);
    EXPECT_TRUE(isAcceptedWav(i));
    EXPECT_EQ(i.data, b.data() + 12 + (8 + 6) + 24 + (8 + 4) + 8);
    EXPECT_EQ(i.frameCount, 3u);
    EXPECT_EQ(i.sampleRate, 11025u);
}

TEST(WavParse, LaterDataChunkReplacesEarlier) {
    const Bytes b = WavBuilder().fmt(1, 1, 8000, 8).data(Bytes{1, 2}).data(Bytes{9, 9, 9, 9, 9}).bytes();
    const WavInfo i = parse(b);
    EXPECT_TRUE(isAcceptedWav(i));
    EXPECT_EQ(i.frameCount, 5u);
    EXPECT_EQ(i.dataSize, 5u);
    EXPECT_EQ(i.data, b.data() + 12 + 24 + 10 + 8);
}

TEST(WavParse, RejectsWhatCannotBeImported) {
    // Data before any fmt clears everything, even with a good fmt afterwards.
    expectAllZero(parse(WavBuilder().data(Bytes{1, 2}).fmt(1, 1, 8000, 8).bytes()));
    // Extensible and floating-point formats, even with integer samples.
    expectAllZero(parse(WavBuilder().fmt(0xFFFE, 1, 44100, 16, 40).data(sampleBytes({1}, 16)).bytes()));
    expectAllZero(parse(WavBuilder().fmt(3, 1, 44100, 32).data(sampleBytes({1}, 32)).bytes()));
    // No data chunk: parsed but not accepted.
    const Bytes noDataFile = WavBuilder().fmt(1, 1, 8000, 8).bytes();
    const WavInfo noData = parse(noDataFile);
    EXPECT_EQ(noData.data, nullptr);
    EXPECT_FALSE(isAcceptedWav(noData));
    // Zero channels and fewer than 8 bits would divide by zero.
    expectAllZero(parse(WavBuilder().fmt(1, 0, 8000, 16).data(Bytes(4, 0)).bytes()));
    expectAllZero(parse(WavBuilder().fmt(1, 1, 8000, 4).data(Bytes(4, 0)).bytes()));
    expectAllZero(parse(WavBuilder().fmt(1, 1, 8000, 0).data(Bytes(4, 0)).bytes()));
    // More than two channels.
    const Bytes threeFile = simpleWav(3, 8000, 16, {1, 2, 3});
    const WavInfo three = parse(threeFile);
    EXPECT_NE(three.data, nullptr);
    EXPECT_FALSE(isAcceptedWav(three));
    EXPECT_FALSE(isAcceptedWav(WavInfo{}));
}

TEST(WavParse, RejectsChunksRunningPastTheEnd) {
    // A data chunk claiming more bytes than the file holds.
    expectAllZero(
        parse(WavBuilder().fmt(1, 1, 8000, 16).chunkWithSize("data", Bytes(4, 0), 6, false).bytes()));
    expectAllZero(parse(
        WavBuilder().fmt(1, 1, 8000, 16).chunkWithSize("data", Bytes(4, 0), 0xFFFFFFF0u, false).bytes()));
    // Any other chunk doing the same, even after a good data chunk.
    expectAllZero(parse(WavBuilder()
                            .fmt(1, 1, 8000, 8)
                            .data(Bytes{1, 2})
                            .chunkWithSize("LIST", Bytes(2, 0), 9, false)
                            .bytes()));
    // A fmt chunk whose fields are cut off, and a large fmt size.
    expectAllZero(parse(WavBuilder().chunkWithSize("fmt ", Bytes{1, 0, 1, 0}, 16, false).bytes()));
    expectAllZero(
        parse(WavBuilder().fmt(1, 1, 8000, 8).chunkWithSize("fmt ", Bytes(16, 0), 100, false).bytes()));
    // A trailing chunk header cut short.
    expectAllZero(parse(WavBuilder().fmt(1, 1, 8000, 8).data(Bytes{1, 2}).raw(Bytes{'d', 'a', 't'}).bytes()));
    // A missing final pad byte is tolerated: the chunk itself lies inside the file.
    Bytes unpadded = WavBuilder().fmt(1, 1, 8000, 8).chunkWithSize("data", Bytes{1, 2, 3}, 3, false).bytes();
    EXPECT_TRUE(isAcceptedWav(parse(unpadded)));
}

TEST(WavParse, FmtAfterDataRecountsFrames) {
    // The frame count must follow the fields in force at the end, or a reader would
    // run past the data chunk.
    const Bytes b = WavBuilder().fmt(1, 1, 8000, 8).data(Bytes(8, 0)).fmt(1, 2, 8000, 32).bytes();
    const WavInfo i = parse(b);
    EXPECT_TRUE(isAcceptedWav(i));
    EXPECT_EQ(i.frameCount, 1u);
    expectAllZero(parse(WavBuilder().fmt(1, 1, 8000, 8).data(Bytes(8, 0)).fmt(1, 0, 8000, 8).bytes()));
    EXPECT_FALSE(
        isAcceptedWav(parse(WavBuilder().fmt(1, 1, 8000, 8).data(Bytes(8, 0)).fmt(3, 1, 8000, 8).bytes())));
}

TEST(WavParse, DepthsThatAreNotWholeBytesStillParse) {
    const Bytes b12 = WavBuilder().fmt(1, 1, 8000, 12).data(Bytes(6, 0)).bytes();
    const WavInfo i12 = parse(b12);
    EXPECT_TRUE(isAcceptedWav(i12));
    EXPECT_EQ(i12.frameCount, 6u);
    const Bytes b20 = WavBuilder().fmt(1, 2, 8000, 20).data(Bytes(8, 0)).bytes();
    const WavInfo i20 = parse(b20);
    EXPECT_TRUE(isAcceptedWav(i20));
    EXPECT_EQ(i20.frameCount, 2u);
}

}  // namespace
}  // namespace velt::corvane::wavtest
