// Text import: the three line grammars, what they accept and skip, the masks,
// and the point and pitch rules of sample-data records.
#include <cstring>

#include "tests/presetfiles/preset_test_support.h"

namespace velt::corvane::presetfiletest {
namespace {

using presetfiles::importText;
using presetfiles::importTextFromString;

// Field by field: the padding after the name holds no value.
bool sameTone(const TonePreset& a, const TonePreset& b) {
    return std::strcmp(a.presetName, b.presetName) == 0 && a.lfoFreq == b.lfoFreq && a.strc == b.strc &&
           a.tune == b.tune && a.lms == b.lms && a.wave == b.wave && a.tl == b.tl && a.ar == b.ar &&
           a.dr == b.dr && a.sl == b.sl && a.rr == b.rr && a.kf == b.kf && a.kfStart == b.kfStart;
}

const char* const kName = "Grand 88 v2     ";  // digits and trailing blanks, 16 characters

TEST(TextImport, ToneLineSetsEveryFieldAndTheExactName) {
    Tables t;
    ASSERT_TRUE(
        importTextFromString("# comment @I:1 \"xxxxxxxxxxxxxxxx\" 1 1 1 1 1 1 1 1 1 1 1 1\n"
                             "@I:5 \"Grand 88 v2     \" 1000 1 9000 3 7 10 120 90 20 100 2 60\n",
                             kTones, t.view()));
    const TonePreset& p = t.tones[5];
    EXPECT_STREQ(p.presetName, kName);
    EXPECT_EQ(p.lfoFreq, 1000);
    EXPECT_EQ(p.strc, 1);
    EXPECT_EQ(p.tune, 9000);
    EXPECT_EQ(p.lms, 3);
    EXPECT_EQ(p.wave, 7);
    EXPECT_EQ(p.tl, 10);
    EXPECT_EQ(p.ar, 120);
    EXPECT_EQ(p.dr, 90);
    EXPECT_EQ(p.sl, 20);
    EXPECT_EQ(p.rr, 100);
    EXPECT_EQ(p.kf, 2);
    EXPECT_EQ(p.kfStart, 60);
    // Records that no line names keep their values; the comment line matched nothing.
    Tables fresh;
    for (int32_t i = 0; i < 128; ++i) {
        if (i != 5) expectSameTone(t.tones[i], fresh.tones[i], i);
    }
}

TEST(TextImport, ToneGrammarAcceptsAndSkips) {
    const std::string twelve = " 1000 1 9000 3 7 10 120 90 20 100 2 60";
    const std::string head = "@I:5 \"Grand 88 v2     \"";
    Tables fresh;
    auto imported = [&](const std::string& text) {
        Tables t;
        EXPECT_TRUE(importTextFromString(text, kTones, t.view()));
        return t.tones[5].lfoFreq == 1000 && t.tones[5].kfStart == 60;
    };
    auto untouched = [&](const std::string& text) {
        Tables t;
        EXPECT_TRUE(importTextFromString(text, kTones, t.view()));
        bool same = true;
        for (int32_t i = 0; i < 128; ++i) {
            same = same && sameTone(t.tones[i], fresh.tones[i]);
        }
        return same;
    };
    EXPECT_TRUE(imported(head + twelve + "\n"));
    EXPECT_TRUE(imported(head + twelve));                            // no line feed at the end
    EXPECT_TRUE(imported(head + twelve + " 77 ; trailing text\n"));  // 13th number ignored
    EXPECT_TRUE(imported("  \t " + head + twelve + "\n"));
    EXPECT_TRUE(imported("@I:5,\"Grand 88 v2     \",1000,1,9000,3,7,10,120,90,20,100,2,60\n"));
    EXPECT_TRUE(imported("@I:5 \"Grand 88 v2     \" 1000 1 9000,\n3 7 10 120 90 20 100 2 60\n"));
    EXPECT_TRUE(imported("@I:5,\r\n\"Grand 88 v2     \" , ,\t1000 1 9000 3 7 10 120 90 20 100 2 60\r\n"));
    EXPECT_TRUE(imported("@I:5\n\n\n\"Grand 88 v2     \"" + twelve));
    EXPECT_TRUE(imported("junk line\r\n" + head + twelve + "\r\n"));

    EXPECT_TRUE(untouched(head + " 1000 1 9000 3 7 10 120 90 20 100 2\n"));  // 11 numbers
    EXPECT_TRUE(untouched("@I:5 \"Grand 88 v2    \"" + twelve + "\n"));      // 15 characters
    EXPECT_TRUE(untouched("@I:5 \"Grand 88 v2      \"" + twelve + "\n"));    // 17 characters
    EXPECT_TRUE(untouched("@I:5 Grand 88 v2     " + twelve + "\n"));         // no quotes
    EXPECT_TRUE(untouched(head + " 1000 1 -9000 3 7 10 120 90 20 100 2 60\n"));
    EXPECT_TRUE(untouched(head + " 1000 1 +9000 3 7 10 120 90 20 100 2 60\n"));
    EXPECT_TRUE(untouched(head + " 1000.0 1 9000 3 7 10 120 90 20 100 2 60\n"));
    EXPECT_TRUE(untouched(head + " 1000 1 9000 3 7 10 120 90 20 100 two 60\n"));
    EXPECT_TRUE(untouched("@i:5 \"Grand 88 v2     \"" + twelve + "\n"));   // marker case
    EXPECT_TRUE(untouched("@S:5 \"Grand 88 v2     \"" + twelve + "\n"));   // other kind
    EXPECT_TRUE(untouched("@I: 5 \"Grand 88 v2     \"" + twelve + "\n"));  // blank before number
    EXPECT_TRUE(untouched("@I:5\"Grand 88 v2     \"" + twelve + "\n"));    // no separator
    EXPECT_TRUE(untouched("x " + head + twelve + "\n"));                   // not at a line start
    EXPECT_TRUE(untouched("text\r" + head + twelve + "\n"));  // a lone carriage return starts no line
    EXPECT_TRUE(untouched("@I:5 \"Grand 88 v2\t    \"" + twelve + "\n"));  // tab is not printable
    EXPECT_TRUE(untouched("@I:128 \"Grand 88 v2     \"" + twelve + "\n"));
    EXPECT_TRUE(untouched("@I:1000 \"Grand 88 v2     \"" + twelve + "\n"));
}

TEST(TextImport, NameMayHoldQuotesAndTheLastLineWins) {
    Tables t;
    ASSERT_TRUE(
        importTextFromString("@I:3 \"first           \" 1 0 0 0 0 0 0 0 0 0 0 0\n"
                             "@I:3 \"\"quoted\" 1,2 \"\" \" 2 0 0 0 0 0 0 0 0 0 0 0\n"
                             "@I:4 \"0123456789012345\" 3 0 0 0 0 0 0 0 0 0 0 0\n",
                             kTones, t.view()));
    EXPECT_STREQ(t.tones[3].presetName, "\"quoted\" 1,2 \"\" ");
    EXPECT_EQ(t.tones[3].lfoFreq, 2);
    EXPECT_STREQ(t.tones[4].presetName, "0123456789012345");
    EXPECT_EQ(t.tones[4].lfoFreq, 3);
    EXPECT_EQ(t.tones[4].tune, 0);
}

TEST(TextImport, ToneAndSamplerMasks) {
    Tables t;
    ASSERT_TRUE(
        importTextFromString("@I:0 \"masked tone     \" 16389 7 32767 31 130 200 255 128 129 383 6 300\n"
                             "@S:127 \"masked sampler  \" 130 200 17 16385 200 255 128 129 383\n",
                             kTones, t.view()));
    const TonePreset& p = t.tones[0];
    EXPECT_EQ(p.lfoFreq, 5);
    EXPECT_EQ(p.strc, 3);
    EXPECT_EQ(p.tune, 16383);
    EXPECT_EQ(p.lms, 15);
    EXPECT_EQ(p.wave, 2);
    EXPECT_EQ(p.tl, 72);
    EXPECT_EQ(p.ar, 127);
    EXPECT_EQ(p.dr, 0);
    EXPECT_EQ(p.sl, 1);
    EXPECT_EQ(p.rr, 127);
    EXPECT_EQ(p.kf, 2);
    EXPECT_EQ(p.kfStart, 44);
    EXPECT_EQ(t.samplers[127].pan, 64);  // a tone import never reads sampler lines

    ASSERT_TRUE(importTextFromString("@S:127 \"masked sampler  \" 130 200 17 16385 200 255 128 129 383\n",
                                     kSamplers, t.view()));
    const SamplerPreset& s = t.samplers[127];
    EXPECT_STREQ(s.presetName, "masked sampler  ");
    EXPECT_EQ(s.smplNum, 2);
    EXPECT_EQ(s.pan, 72);
    EXPECT_EQ(s.octv, 1);
    EXPECT_EQ(s.tune, 1);
    EXPECT_EQ(s.tl, 72);
    EXPECT_EQ(s.ar, 127);
    EXPECT_EQ(s.dr, 0);
    EXPECT_EQ(s.sl, 1);
    EXPECT_EQ(s.rr, 127);
}

TEST(TextImport, SamplerGrammarAcceptsAndSkips) {
    Tables t;
    ASSERT_TRUE(importTextFromString(
        "# @S(Sampler) 0 ~127, presetName(16 ASCII Chars), smplNum, pan, octv, tune, tl, ar, dr, sl, rr\n"
        "  @S:9 \"Snare 2         \" 12 70 9 8000 5 126 10 100 90\n"
        "@S:300 \"far too high    \" 1 1 1 1 1 1 1 1 1\n"
        "@S:10 \"eight numbers   \" 1 1 1 1 1 1 1 1\n"
        "@S:11 \"ten numbers     \" 1 2 3 4 5 6 7 8 9 10\n",
        kSamplers, t.view()));
    const SamplerPreset& s = t.samplers[9];
    EXPECT_STREQ(s.presetName, "Snare 2         ");
    EXPECT_EQ(s.smplNum, 12);
    EXPECT_EQ(s.pan, 70);
    EXPECT_EQ(s.octv, 9);
    EXPECT_EQ(s.tune, 8000);
    EXPECT_EQ(s.tl, 5);
    EXPECT_EQ(s.ar, 126);
    EXPECT_EQ(s.dr, 10);
    EXPECT_EQ(s.sl, 100);
    EXPECT_EQ(s.rr, 90);
    // 300 is skipped, not masked into record 44.
    EXPECT_EQ(t.samplers[300 & 127].smplNum, 0);
    EXPECT_EQ(t.samplers[10].pan, 64);
    EXPECT_EQ(t.samplers[11].rr, 9);
    EXPECT_STREQ(t.samplers[11].presetName, "ten numbers     ");
}

TEST(TextImport, SampleLineAppliesPointsAndPitch) {
    Tables t;
    setSampleRateFields(t.slots[3], 44100.0f);
    ASSERT_TRUE(importTextFromString("@:3 0 1000 200 1000 261.63\n", kSampleData, t.view()));
    const SampleData& s = t.slots[3];
    EXPECT_EQ(s.PlayBackStartPoint, 0);
    EXPECT_EQ(s.PlayBackEndPoint, 1000);
    EXPECT_EQ(s.LoopEndPoint, 1000);
    EXPECT_EQ(s.loopLength, 800);
    EXPECT_EQ(s.releaseLoopLength, 800);  // the loop reaches the end
    EXPECT_EQ(s.Pitch, 261.63f);
    EXPECT_FALSE(s.hasData);
    EXPECT_EQ(s.frameCount, 5000);

    ASSERT_TRUE(importTextFromString("\t@:3,10,4000,\n500,3000,440.0 extra 7\n", kSampleData, t.view()));
    EXPECT_EQ(s.PlayBackStartPoint, 10);
    EXPECT_EQ(s.PlayBackEndPoint, 4000);
    EXPECT_EQ(s.LoopEndPoint, 3000);
    EXPECT_EQ(s.loopLength, 2500);
    EXPECT_EQ(s.releaseLoopLength, 0);  // the loop ends before the playback end
    EXPECT_EQ(s.Pitch, 440.0f);
    EXPECT_EQ(s.rateLog, 126390);
    EXPECT_EQ(s.pitchLog, 71937);
    EXPECT_EQ(s.pitchOffset, 54453);
}

TEST(TextImport, SamplePointRuleAndSkippedLines) {
    Tables t;
    SampleData& s = t.slots[7];
    ASSERT_TRUE(importTextFromString("@:7 100 2000 0 0 100.5\n", kSampleData, t.view()));
    EXPECT_EQ(s.PlayBackStartPoint, 100);
    EXPECT_EQ(s.PlayBackEndPoint, 2000);
    EXPECT_EQ(s.LoopEndPoint, 2000);
    EXPECT_EQ(s.loopLength, 0);

    // Start not below end: start and end stay, the loop still applies inside them.
    ASSERT_TRUE(importTextFromString("@:7 3000 50 500 1500 100.5\n", kSampleData, t.view()));
    EXPECT_EQ(s.PlayBackStartPoint, 100);
    EXPECT_EQ(s.PlayBackEndPoint, 2000);
    EXPECT_EQ(s.LoopEndPoint, 1500);
    EXPECT_EQ(s.loopLength, 1000);

    // End beyond the 5000 frames: start and end stay; a loop past the end is cleared.
    ASSERT_TRUE(importTextFromString("@:7 0 5001 500 2500 100.5\n", kSampleData, t.view()));
    EXPECT_EQ(s.PlayBackStartPoint, 100);
    EXPECT_EQ(s.PlayBackEndPoint, 2000);
    EXPECT_EQ(s.LoopEndPoint, 2000);
    EXPECT_EQ(s.loopLength, 0);
    EXPECT_EQ(s.releaseLoopLength, 0);

    // End exactly at the frame count; a loop starting before the start is cleared.
    ASSERT_TRUE(importTextFromString("@:7 1000 5000 999 4000 0.0\n", kSampleData, t.view()));
    EXPECT_EQ(s.PlayBackStartPoint, 1000);
    EXPECT_EQ(s.PlayBackEndPoint, 5000);
    EXPECT_EQ(s.LoopEndPoint, 5000);
    EXPECT_EQ(s.loopLength, 0);
    EXPECT_EQ(s.Pitch, 0.0f);
    EXPECT_EQ(s.pitchLog, 0);

    // Lines that do not fit: nothing changes.
    ASSERT_TRUE(
        importTextFromString("@:7 0 1000 200 1000 261\n"       // pitch without a point
                             "@:7 0 1000 200 1000 261.\n"      // no digit after the point
                             "@:7 0 1000 200 1000 .63\n"       // no digit before the point
                             "@:7 0 1000 200 261.63\n"         // three points
                             "@:7 0 1000.0 200 1000 261.63\n"  // a point in an integer
                             "@:7 0 1000 -200 1000 261.63\n"
                             "@:128 0 1000 200 1000 261.63\n"
                             "@: 7 0 1000 200 1000 261.63\n",
                             kSampleData, t.view()));
    EXPECT_EQ(s.PlayBackStartPoint, 1000);
    EXPECT_EQ(s.PlayBackEndPoint, 5000);
    EXPECT_EQ(s.Pitch, 0.0f);
    EXPECT_EQ(t.slots[0].PlayBackEndPoint, 0);
}

TEST(TextImport, FilesUnknownKindsAndMissingTables) {
    Tables t;
    const std::string line = "@I:2 \"from a file     \" 1 2 3 4 5 6 7 8 9 10 3 12\r\n";
    const std::string path = writeTestFile("tones.txt", "# header\r\n" + line);
    ASSERT_TRUE(importText(path.c_str(), kTones, t.view()));
    EXPECT_STREQ(t.tones[2].presetName, "from a file     ");
    EXPECT_EQ(t.tones[2].kfStart, 12);

    Tables fresh;
    Tables u;
    EXPECT_FALSE(importText((testDir() + "/no such file.txt").c_str(), kTones, u.view()));
    EXPECT_FALSE(importText(testDir().c_str(), kTones, u.view()));  // a directory
    EXPECT_FALSE(importText(nullptr, kTones, u.view()));
    EXPECT_FALSE(importText(path.c_str(), 3, u.view()));
    EXPECT_FALSE(importText(path.c_str(), -1, u.view()));
    EXPECT_FALSE(importTextFromString(line, 3, u.view()));
    EXPECT_FALSE(importTextFromString(line, kTones, SoundTables{nullptr, u.samplers.get(), u.slots.get()}));
    EXPECT_TRUE(importTextFromString(line, kSamplers, SoundTables{nullptr, u.samplers.get(), nullptr}));
    expectSameTables(u, fresh);
}

}  // namespace
}  // namespace velt::corvane::presetfiletest
