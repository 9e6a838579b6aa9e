// Text and SysEx-text export: header lines, record lines at reset values and
// with set values, number formats, and files that cannot be written.
#include <clocale>
#include <cstring>

#include "tests/presetfiles/preset_test_support.h"

namespace velt::corvane::presetfiletest {
namespace {

using presetfiles::exportSysExText;
using presetfiles::exportText;
using presetfiles::formatSysExText;
using presetfiles::formatText;

const char* const kToneHeader =
    "# @I(Insturument) 0 ~ 127, presetName(16 ASCII Chars), lfoFreq, strc, tune, lms, wave, tl, ar, dr, sl, "
    "rr, "
    "kf, kfStart";
const char* const kSamplerHeader =
    "# @S(Sampler) 0 ~127, presetName(16 ASCII Chars), smplNum, pan, octv, tune, tl, ar, dr, sl, rr";

// The record lines follow the header in order 0 to 127, each with its marker and number.
void expectRecordLines(const std::vector<std::string>& lines, size_t headerLines, const std::string& marker) {
    ASSERT_EQ(lines.size(), headerLines + 128);
    for (size_t i = 0; i < headerLines; ++i) EXPECT_EQ(lines[i][0], '#') << i;
    for (int32_t n = 0; n < 128; ++n) {
        EXPECT_EQ(lines[headerLines + n].rfind(marker + std::to_string(n) + " ", 0), 0u) << n;
    }
}

TEST(TextExport, FreshTonesAndSamplers) {
    Tables t;
    const std::string tones = formatText(kTones, t.view());
    ASSERT_EQ(tones.back(), '\n');
    const std::vector<std::string> toneLines = splitLines(tones);
    expectRecordLines(toneLines, 1, "@I:");
    EXPECT_EQ(toneLines[0], kToneHeader);
    EXPECT_EQ(toneLines[1], "@I:0 \"                \" 2048 0 8192 0 0 0 126 100 0 120 0 48");
    EXPECT_EQ(toneLines[128], "@I:127 \"                \" 2048 0 8192 0 0 0 126 100 0 120 0 48");

    const std::vector<std::string> samplerLines = splitLines(formatText(kSamplers, t.view()));
    expectRecordLines(samplerLines, 1, "@S:");
    EXPECT_EQ(samplerLines[0], kSamplerHeader);
    EXPECT_EQ(samplerLines[1], "@S:0 \"                \" 0 64 8 8192 0 127 0 127 120");
}

TEST(TextExport, SetValuesAndShortNames) {
    Tables t;
    TonePreset& p = t.tones[9];
    setPresetName(p.presetName, "Bell \"9\"");
    p.presetName[8] = '\0';  // a zero byte inside the name is written as a space
    p.lfoFreq = 16383;
    p.strc = 2;
    p.tune = 0;
    p.lms = 15;
    p.wave = 127;
    p.tl = 1;
    p.ar = 2;
    p.dr = 3;
    p.sl = 4;
    p.rr = 5;
    p.kf = 3;
    p.kfStart = 127;
    SamplerPreset& s = t.samplers[100];
    setPresetName(s.presetName, "Kick 1          ");
    s.smplNum = 127;
    s.pan = 1;
    s.octv = 15;
    s.tune = 16383;
    s.tl = 9;
    s.ar = 8;
    s.dr = 7;
    s.sl = 6;
    s.rr = 5;
    EXPECT_EQ(splitLines(formatText(kTones, t.view()))[10],
              "@I:9 \"Bell \"9\"        \" 16383 2 0 15 127 1 2 3 4 5 3 127");
    EXPECT_EQ(splitLines(formatText(kSamplers, t.view()))[101],
              "@S:100 \"Kick 1          \" 127 1 15 16383 9 8 7 6 5");
}

TEST(TextExport, SampleParameters) {
    Tables t;
    SampleData& looped = t.slots[0];
    looped.PlayBackStartPoint = 0;
    looped.PlayBackEndPoint = 1000;
    looped.LoopEndPoint = 1000;
    looped.loopLength = 800;
    looped.Pitch = 261.63f;
    SampleData& plain = t.slots[1];
    plain.PlayBackEndPoint = 1000;
    plain.LoopEndPoint = 1000;
    plain.Pitch = 440.0f;
    SampleData& inner = t.slots[2];
    inner.PlayBackStartPoint = 10;
    inner.PlayBackEndPoint = 4000;
    inner.LoopEndPoint = 3000;
    inner.loopLength = 2500;
    inner.Pitch = 0.5f;

    const std::vector<std::string> lines = splitLines(formatText(kSampleData, t.view()));
    expectRecordLines(lines, 2, "@:");
    EXPECT_EQ(lines[0], "# SampleData Parameters");
    EXPECT_EQ(lines[1],
              "# @:SampleDataNum(0-127), PlayBackStartPoint, PlayBackEndPoint, LoopStartPoint, LoopEndPoint, "
              "Pitch(0.0-x Hz)");
    EXPECT_EQ(lines[2], "@:0 0 1000 200 1000 261.630005");
    EXPECT_EQ(lines[3], "@:1 0 1000 0 0 440.000000");
    EXPECT_EQ(lines[4], "@:2 10 4000 500 3000 0.500000");
    EXPECT_EQ(lines[129], "@:127 0 0 0 0 0.000000");
}

TEST(TextExport, PitchIgnoresTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const char* chosen = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    Tables t;
    t.slots[0].Pitch = 261.63f;
    const std::string text = formatText(kSampleData, t.view());
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(splitLines(text)[2], "@:0 0 0 0 0 261.630005");
}

TEST(TextExport, SysExListings) {
    Tables t;
    const std::vector<std::string> tones = splitLines(formatSysExText(kTones, t.view()));
    ASSERT_EQ(tones.size(), 4u + 128u);
    EXPECT_EQ(tones[0], "# F0 7D 10 23 aa bb cc datas... F7");
    EXPECT_EQ(
        tones[1],
        "# SysExStatus, MnufactureID(Universal), DeviceID, ModelID, DataOffsetAdress[abc], Datas..., EOX");
    EXPECT_EQ(tones[2], "# aa[04(Instrument)], bb[00-7f(Inst:program)], cc[offset address]");
    EXPECT_EQ(tones[3], "# key, pan, lfoFreq, strc, tune, lms, wave, tl, ar, dr, sl, rr, kf, kfStart");
    EXPECT_EQ(tones[4 + 10], "F0 7D 10 23 04 0a 12 00 10 00 00 40 00 00 00 7e 64 00 78 00 30 F7");
    EXPECT_EQ(tones[4], "F0 7D 10 23 04 00 12 00 10 00 00 40 00 00 00 7e 64 00 78 00 30 F7");

    const std::vector<std::string> samplers = splitLines(formatSysExText(kSamplers, t.view()));
    ASSERT_GE(samplers.size(), 128u + 2u);
    const size_t header = samplers.size() - 128;
    EXPECT_EQ(samplers[0], "# F0 7D 10 23 aa bb cc datas... F7");
    EXPECT_EQ(samplers[1], tones[1]);
    for (size_t i = 0; i < header; ++i) EXPECT_EQ(samplers[i][0], '#') << i;
    for (int32_t n = 0; n < 128; ++n) {
        EXPECT_EQ(samplers[header + n].rfind("F0 7D 10 23 06 ", 0), 0u) << n;
    }
    EXPECT_EQ(samplers.back(), "F0 7D 10 23 06 7f 10 00 40 08 00 40 00 7f 00 7f 78 F7");

    // Set values: 14-bit fields split into low and high 7 bits, masks on the rest.
    TonePreset& p = t.tones[127];
    p.lfoFreq = 0x3FFF;
    p.strc = 3;
    p.tune = 0x1234;
    p.lms = 15;
    p.wave = 99;
    p.tl = 127;
    p.kf = 3;
    p.kfStart = 0;
    SamplerPreset& s = t.samplers[0];
    s.smplNum = 0x55;
    s.pan = 0;
    s.octv = 15;
    s.tune = 0x2A5B;
    s.tl = 0x11;
    s.ar = 0x22;
    s.dr = 0x33;
    s.sl = 0x44;
    s.rr = 0x66;
    EXPECT_EQ(splitLines(formatSysExText(kTones, t.view())).back(),
              "F0 7D 10 23 04 7f 12 7f 7f 03 34 24 0f 63 7f 7e 64 00 78 03 00 F7");
    EXPECT_EQ(splitLines(formatSysExText(kSamplers, t.view()))[header],
              "F0 7D 10 23 06 00 10 55 00 0f 5b 54 11 22 33 44 66 F7");
}

TEST(TextExport, FilesAndRefusals) {
    Tables t;
    const std::string path = testDir() + "/export.txt";
    // An existing longer file is replaced, not overwritten in place.
    ASSERT_FALSE(writeTestFile("export.txt", std::string(100000, 'x')).empty());
    ASSERT_TRUE(exportText(path.c_str(), kTones, t.view()));
    EXPECT_EQ(readWholeFile(path), formatText(kTones, t.view()));
    ASSERT_TRUE(exportSysExText(path.c_str(), kSamplers, t.view()));
    EXPECT_EQ(readWholeFile(path), formatSysExText(kSamplers, t.view()));

    const std::string unwritten = testDir() + "/unwritten.txt";
    EXPECT_FALSE(exportText(unwritten.c_str(), 3, t.view()));
    EXPECT_FALSE(exportText(unwritten.c_str(), -1, t.view()));
    EXPECT_FALSE(exportSysExText(unwritten.c_str(), kSampleData, t.view()));
    EXPECT_FALSE(exportText(unwritten.c_str(), kTones, SoundTables{}));
    EXPECT_FALSE(exportSysExText(unwritten.c_str(), kSamplers, SoundTables{}));
    EXPECT_FALSE(exportText(nullptr, kTones, t.view()));
    EXPECT_FALSE(pathExists(unwritten));
    EXPECT_TRUE(formatText(3, t.view()).empty());
    EXPECT_TRUE(formatSysExText(kSampleData, t.view()).empty());

    // A directory and a path under a missing directory cannot be opened.
    EXPECT_FALSE(exportText(testDir().c_str(), kTones, t.view()));
    EXPECT_FALSE(exportSysExText(testDir().c_str(), kTones, t.view()));
    EXPECT_FALSE(exportText((testDir() + "/missing/out.txt").c_str(), kSampleData, t.view()));
    EXPECT_FALSE(pathExists(testDir() + "/missing"));
}

}  // namespace
}  // namespace velt::corvane::presetfiletest
