// Hostile and absurd input: numbers beyond 32 bits, binary data, NUL bytes,
// huge lines and files, records of any length and a byte-order mark.
#include <algorithm>
#include <cstring>

#include "tests/presetfiles/preset_test_support.h"

namespace velt::corvane::presetfiletest {
namespace {

using presetfiles::importText;
using presetfiles::importTextFromString;

const std::string kToneRest = " \"after the bad   \" 1 2 3 4 5 6 7 8 9 10 3 12";

TEST(BadInput, NumbersBeyond32BitsSkipTheRecordAndTheImportGoesOn) {
    Tables t;
    ASSERT_TRUE(
        importTextFromString("@I:5 \"overflowing     \" 2147483648 0 0 0 0 0 0 0 0 0 0 0\n"
                             "@I:99999999999999999999 \"overflowing     \" 1 0 0 0 0 0 0 0 0 0 0 0\n"
                             "@I:6 \"overflowing     \" 1 0 0 0 0 0 0 0 0 0 0 99999999999999999999999999\n"
                             "@I:7 \"largest         \" 2147483647 0 0 0 0 0 0 0 0 0 0 2147483647\n"
                             "@I:00000000000000000000000000000008" +
                                 kToneRest + "\n",
                             kTones, t.view()));
    Tables fresh;
    expectSameTone(t.tones[5], fresh.tones[5], 5);
    expectSameTone(t.tones[6], fresh.tones[6], 6);
    EXPECT_EQ(t.tones[7].lfoFreq, 16383);
    EXPECT_EQ(t.tones[7].kfStart, 127);
    EXPECT_STREQ(t.tones[8].presetName, "after the bad   ");
    EXPECT_EQ(t.tones[8].kfStart, 12);

    ASSERT_TRUE(
        importTextFromString("@S:1 \"overflowing     \" 0 4294967296 0 0 0 0 0 0 0\n"
                             "@S:2 \"fine            \" 0 2147483647 0 0 0 0 0 0 0\n",
                             kSamplers, t.view()));
    EXPECT_EQ(t.samplers[1].pan, 64);
    EXPECT_EQ(t.samplers[2].pan, 127);

    const std::string hugePitch = std::string(400, '9') + ".5";
    ASSERT_TRUE(importTextFromString(
        "@:1 0 2147483648 0 0 1.0\n"
        "@:2 0 100 0 0 " +
            hugePitch +
            "\n"
            "@:3 0 100 0 0 340282356779733661637539395458142568448.0\n"  // just above the float range
            "@:4 0 100 0 0 12.5\n",
        kSampleData, t.view()));
    EXPECT_EQ(t.slots[1].PlayBackEndPoint, 0);
    EXPECT_EQ(t.slots[1].Pitch, 0.0f);
    EXPECT_EQ(t.slots[2].PlayBackEndPoint, 0);
    EXPECT_EQ(t.slots[3].PlayBackEndPoint, 0);
    EXPECT_EQ(t.slots[4].PlayBackEndPoint, 100);
    EXPECT_EQ(t.slots[4].Pitch, 12.5f);
}

TEST(BadInput, EmptyBinaryAndNulInput) {
    Tables fresh;
    Tables t;
    EXPECT_TRUE(importTextFromString("", kTones, t.view()));
    EXPECT_TRUE(importText(writeTestFile("empty.txt", "").c_str(), kTones, t.view()));
    EXPECT_TRUE(
        importText(writeTestFile("feeds.txt", std::string(100000, '\n')).c_str(), kSampleData, t.view()));
    expectSameTables(t, fresh);

    // Pseudo-random bytes with two good records buried in them.
    std::string binary;
    Lcg random(5u);
    for (int32_t i = 0; i < 1 << 20; ++i) binary.push_back(static_cast<char>(random.next() & 0xFF));
    binary += "\n@I:3" + kToneRest + "\n";
    for (int32_t i = 0; i < 1 << 16; ++i) binary.push_back(static_cast<char>(random.next() & 0xFF));
    binary.insert(1000, "\n@I:4" + kToneRest + "\n");
    const std::string binaryPath = writeTestFile("binary.bin", binary);
    for (int32_t kind = 0; kind < 3; ++kind) EXPECT_TRUE(importText(binaryPath.c_str(), kind, t.view()));
    EXPECT_EQ(t.tones[3].kfStart, 12);
    EXPECT_EQ(t.tones[4].kfStart, 12);
    for (int32_t i = 0; i < 128; ++i) {
        if (i != 3 && i != 4) expectSameTone(t.tones[i], fresh.tones[i], i);
        expectSameSampler(t.samplers[i], fresh.samplers[i], i);
        expectSameSlot(t.slots[i], fresh.slots[i], i);
    }

    // NUL bytes: inside a name, as a separator, on lines of their own.
    std::string nul = "@I:10 \"with a NUL";
    nul += '\0';
    nul += "     \" 1 2 3 4 5 6 7 8 9 10 3 12\n";
    nul += "@I:11";
    nul += '\0';
    nul += kToneRest + "\n";
    nul += std::string(5000, '\0') + "\n" + std::string(3, '\0') + "@I:12" + kToneRest + "\n";
    nul += "@I:13" + kToneRest + "\n";
    Tables u;
    EXPECT_TRUE(importTextFromString(nul, kTones, u.view()));
    EXPECT_TRUE(importText(writeTestFile("nul.txt", nul).c_str(), kTones, u.view()));
    for (int32_t i = 0; i < 128; ++i) {
        if (i != 13) expectSameTone(u.tones[i], fresh.tones[i], i);
    }
    EXPECT_EQ(u.tones[13].kfStart, 12);
}

TEST(BadInput, RecordsOfAnyLength) {
    // Padded with separators and blank lines far beyond what a recursive matcher's
    // stack would take: every record imports.
    auto record = [](int32_t number, size_t length) {
        std::string head = "@I:" + std::to_string(number);
        const std::string tail = " \"padded record   \" 1 2 3 4 5 6 7 8 9 10 3 12";
        return head + std::string(length - head.size() - tail.size(), ',') + tail;
    };
    ASSERT_EQ(record(1, 512).size(), 512u);
    Tables t;
    ASSERT_TRUE(importTextFromString(record(1, 512) + "\n" + record(2, 513) + "\n" + record(3, 100000) +
                                         " 99\n" + std::string(3000000, ' ') + record(5, 100) + "\n" +
                                         "@I:6" + std::string(200000, '\n') + kToneRest + "\n" + "@I:4" +
                                         std::string(100000, ' ') + "\r\n\t" + kToneRest + "\n" +
                                         record(7, 60),
                                     kTones, t.view()));
    Tables fresh;
    for (int32_t n = 1; n <= 7; ++n) EXPECT_EQ(t.tones[n].kfStart, 12) << n;
    EXPECT_STREQ(t.tones[6].presetName, "after the bad   ");

    Tables s;
    ASSERT_TRUE(importTextFromString("@:3" + std::string(50000, '\n') + "0,\n\n100" +
                                         std::string(70000, ' ') + "0 0" + std::string(1000, '\t') + "12.5\n",
                                     kSampleData, s.view()));
    EXPECT_EQ(s.slots[3].PlayBackEndPoint, 100);
    EXPECT_EQ(s.slots[3].Pitch, 12.5f);

    // A last number whose digits run on and on is still one number, beyond 32 bits.
    Tables u;
    const std::string longDigits =
        "@I:9 \"padded record   \" 1 2 3 4 5 6 7 8 9 10 3 " + std::string(600, '1');
    ASSERT_TRUE(importTextFromString(longDigits + "\n@I:10" + kToneRest, kTones, u.view()));
    expectSameTone(u.tones[9], fresh.tones[9], 9);
    EXPECT_EQ(u.tones[10].kfStart, 12);
    // So is a record number of a million zeros and a one, and a long pitch.
    ASSERT_TRUE(importTextFromString("@I:" + std::string(1000000, '0') + "11" + kToneRest, kTones, u.view()));
    EXPECT_EQ(u.tones[11].kfStart, 12);
    ASSERT_TRUE(importTextFromString(
        "@:1 0 100 0 0 " + std::string(100000, '0') + "440." + std::string(100000, '0') + "\n", kSampleData,
        u.view()));
    EXPECT_EQ(u.slots[1].Pitch, 440.0f);
}

TEST(BadInput, AByteOrderMarkAtTheStartIsSkipped) {
    const std::string bom = "\xEF\xBB\xBF";
    Tables t;
    ASSERT_TRUE(
        importText(writeTestFile("bom.txt", bom + "@I:3" + kToneRest + "\r\n@I:4" + kToneRest).c_str(),
                   kTones, t.view()));
    EXPECT_EQ(t.tones[3].kfStart, 12);
    EXPECT_EQ(t.tones[4].kfStart, 12);
    ASSERT_TRUE(
        importTextFromString(bom + "  @S:2 \"with a mark     \" 1 2 3 4 5 6 7 8 9", kSamplers, t.view()));
    EXPECT_EQ(t.samplers[2].rr, 9);
    ASSERT_TRUE(importTextFromString(bom + "@:5 0 100 0 0 1.5", kSampleData, t.view()));
    EXPECT_EQ(t.slots[5].PlayBackEndPoint, 100);
    // Only at the very start, and only the whole mark.
    Tables fresh;
    Tables u;
    ASSERT_TRUE(importTextFromString("\n" + bom + "@I:3" + kToneRest, kTones, u.view()));
    ASSERT_TRUE(importTextFromString("\xEF\xBB@I:4" + kToneRest, kTones, u.view()));
    ASSERT_TRUE(importTextFromString(bom + bom + "@I:5" + kToneRest, kTones, u.view()));
    expectSameTables(u, fresh);
}

TEST(BadInput, HugeLinesAndFiles) {
    constexpr size_t kBig = 20u << 20;
    Tables fresh;
    Tables t;
    // One line of 20 MB without a line feed, of letters and then of field separators.
    EXPECT_TRUE(importText(writeTestFile("line.txt", std::string(kBig, 'x')).c_str(), kTones, t.view()));
    std::string separators = "@I:5 ";
    separators.append(kBig, ',');
    EXPECT_TRUE(importText(writeTestFile("separators.txt", separators).c_str(), kTones, t.view()));
    separators.replace(0, 5, "@:5 1");
    EXPECT_TRUE(importText(writeTestFile("separators.txt", separators).c_str(), kSampleData, t.view()));
    separators.clear();
    separators.shrink_to_fit();
    expectSameTables(t, fresh);

    // 2 MB of short lines that each begin like a record (each costs a pattern match).
    std::string candidates;
    while (candidates.size() < kBig / 10) candidates += "@I:1 \"short\"\n@:1 2 3\n\n";
    candidates += "@I:1" + kToneRest + "\n@:1 0 10 0 0 1.5\n";
    const std::string candidatesPath = writeTestFile("candidates.txt", candidates);
    candidates.clear();
    candidates.shrink_to_fit();
    EXPECT_TRUE(importText(candidatesPath.c_str(), kTones, t.view()));
    EXPECT_TRUE(importText(candidatesPath.c_str(), kSampleData, t.view()));
    EXPECT_EQ(t.tones[1].kfStart, 12);
    EXPECT_EQ(t.slots[1].PlayBackEndPoint, 10);

    // Many good records: every one is read and the last line for a record wins.
    std::string records;
    for (int32_t i = 0; i < 20000; ++i) {
        records += "@I:" + std::to_string(i % 128) + " \"many records    \" " + std::to_string(i) +
                   " 0 0 0 0 0 0 0 0 0 0 " + std::to_string(i / 128 % 128) + "\n";
    }
    Tables u;
    EXPECT_TRUE(importText(writeTestFile("records.txt", records).c_str(), kTones, u.view()));
    for (int32_t n = 0; n < 128; ++n) {
        const int32_t last = 19999 - ((19999 - n) % 128);
        EXPECT_EQ(u.tones[n].lfoFreq, last & 0x3FFF) << n;
        EXPECT_EQ(u.tones[n].kfStart, last / 128 % 128) << n;
    }
}

}  // namespace
}  // namespace velt::corvane::presetfiletest
