// Text files of the three grammars: exports of real tables and lines at the edges.
#include <memory>
#include <new>

#include "fuzz/fuzz_bodies/small_wav.h"
#include "fuzz/seeds/seed_folder.h"
#include "presetfiles/preset_text_export.h"
#include "synth/pcm/sample_import.h"

namespace velt::corvane::fuzz::seeds {
namespace {

std::vector<uint8_t> bytesOf(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

}  // namespace

void writeTextSeeds(SeedFolder& out) {
    using presetfiles::kRecordCount;
    std::unique_ptr<TonePreset[]> tones(new (std::nothrow) TonePreset[kRecordCount]);
    std::unique_ptr<SamplerPreset[]> samplers(new (std::nothrow) SamplerPreset[kRecordCount]);
    std::unique_ptr<SampleData[]> slots(new (std::nothrow) SampleData[kRecordCount]);
    if (!tones || !samplers || !slots) return;
    for (int32_t i = 0; i < kRecordCount; ++i) {
        resetTonePreset(tones[i]);
        resetSamplerPreset(samplers[i]);
        tones[i].wave = i;
        tones[i].tune = 8192 + i;
        samplers[i].smplNum = 127 - i;
    }
    const std::vector<uint8_t> wav = smallWav(1, 16, 100);
    for (int32_t i = 0; i < 4; ++i) {
        PreparedSample p = prepareSampleFromWav(wav.data(), wav.size(), 0);
        installPreparedSample(slots[i], p);
        setPlaybackPoints(slots[i], i, 90 - i);
        setLoopPoints(slots[i], 10 + i, 80);
        setSamplePitch(slots[i], 220.5f * (i + 1));
    }
    out.addWithMode("tones_export.txt", 0, bytesOf(presetfiles::formatTonePresets(tones.get())));
    out.addWithMode("samplers_export.txt", 1, bytesOf(presetfiles::formatSamplerPresets(samplers.get())));
    out.addWithMode("samples_export.txt", 2, bytesOf(presetfiles::formatSampleParameters(slots.get())));

    // Tone lines: separators, the last line winning, numbers out of range, bad names.
    out.addWithMode("tone_edges.txt", 0,
                    bytesOf("@I:0 \"Sixteen chars!!!\" 1 2 3 4 5 6 7 8 9 10 11 12\n"
                            "  \t@I:0,\"Second wins here\",16383,3,16383,15,127,127,127,127,127,127,3,127\r\n"
                            "@I:127, \"~~~~~~~~~~~~~~~~\"\t0,0,0,0,0,0,0,0,0,0,0,0\n"
                            "@I:128 \"Beyond the table\" 1 2 3 4 5 6 7 8 9 10 11 12\n"
                            "@I:2147483648 \"Beyond int32 max\" 1 2 3 4 5 6 7 8 9 10 11 12\n"
                            "@I:5 \"Too short\" 1 2 3 4 5 6 7 8 9 10 11 12\n"
                            "@I:6 \"Sixteen chars!!!\" 1 2 3 4 5 6 7 8 9 10 11\n"
                            "@I:7 \"Sixteen chars!!!\" 4294967296 2 3 4 5 6 7 8 9 10 11 12\n"
                            "# @I:8 \"Commented record\" 1 2 3 4 5 6 7 8 9 10 11 12\n"
                            "@I:9\n\"Split on lines..\"\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n"));
    out.addWithMode("sampler_edges.txt", 1,
                    bytesOf("@S:0 \"Sampler preset 0\" 1 2 3 4 5 6 7 8 9\n"
                            "@S:1,\"Sampler preset 1\",127,127,15,16383,127,127,127,127,127\n"
                            "@S:128 \"Sampler preset x\" 1 2 3 4 5 6 7 8 9\n"
                            "@S:3 \"Sampler preset 3\" 1 2 3 4 5 6 7 8\n"
                            "@I:4 \"Wrong kind here!\" 1 2 3 4 5 6 7 8 9 10 11 12\n"
                            "@S:00000000000000000000000005 \"Leading zeros!!!\" 9 9 9 9 9 9 9 9 9\n"));
    out.addWithMode("sample_edges.txt", 2,
                    bytesOf("@:0 0 100 10 90 440.0\n"
                            "@:1, 5, 50, 0, 0, 0.5\n"
                            "@:2 50 10 0 0 1.0\n"
                            "@:3 0 100 90 10 261.625565\n"
                            "@:4 0 100 0 0 1e3\n"
                            "@:5 0 100 0 0 440\n"
                            "@:6 0 100 0 0 99999999999999999999999999999999999999999.0\n"
                            "@:7 0 4294967295 0 0 1.5\n"
                            "@:128 0 10 0 0 1.0\n"
                            "@:0 0 99 0 99 .5\n"));
    std::string longLine = "@I:1 \"";
    longLine.append(5000, 'x');
    out.addWithMode("long_record.txt", 0, bytesOf(longLine));
    out.addWithMode("empty.txt", 2, std::vector<uint8_t>());
}

}  // namespace velt::corvane::fuzz::seeds
