// Round trips: export, import into fresh tables, compare every field, export
// again byte for byte; and the SysEx listings sent to the synthesizer itself.
#include <cstdlib>

#include "synth/core/midi_event.h"
#include "synth/pcm/synthesizer_pcm.h"
#include "tests/presetfiles/preset_test_support.h"

namespace velt::corvane::presetfiletest {
namespace {

using presetfiles::exportSysExText;
using presetfiles::exportText;
using presetfiles::formatSysExText;
using presetfiles::formatText;
using presetfiles::importText;

// Export to a file, import that file into fresh tables, export those again.
void roundTrip(int32_t kind, Tables& source, Tables& target, const std::string& name) {
    const std::string first = testDir() + "/" + name + "-1.txt";
    const std::string second = testDir() + "/" + name + "-2.txt";
    ASSERT_TRUE(exportText(first.c_str(), kind, source.view()));
    ASSERT_TRUE(importText(first.c_str(), kind, target.view()));
    ASSERT_TRUE(exportText(second.c_str(), kind, target.view()));
    const std::string bytes = readWholeFile(first);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, readWholeFile(second));
}

TEST(RoundTrip, PresetsExportImportExport) {
    Tables source;
    Lcg random(20240611u);
    fillPresets(source, random);
    // Names that look like parts of a record line.
    setPresetName(source.tones[0].presetName, "\" 1 2 3 \"@I:5 \"\"");
    setPresetName(source.samplers[0].presetName, ",,,,, 0 0 0 0 0 ");
    Tables target;
    roundTrip(kTones, source, target, "tones");
    roundTrip(kSamplers, source, target, "samplers");
    Tables fresh;
    for (int32_t i = 0; i < 128; ++i) {
        expectSameTone(target.tones[i], source.tones[i], i);
        expectSameSampler(target.samplers[i], source.samplers[i], i);
        expectSameSlot(target.slots[i], fresh.slots[i], i);
    }
}

TEST(RoundTrip, FreshTablesExportImportExport) {
    Tables source;
    Tables target;
    Lcg random(7u);
    fillPresets(target, random);  // the import must overwrite every record
    roundTrip(kTones, source, target, "fresh-tones");
    roundTrip(kSamplers, source, target, "fresh-samplers");
    roundTrip(kSampleData, source, target, "fresh-slots");
    expectSameTables(target, source);
}

TEST(RoundTrip, SampleParameters) {
    Tables source;
    Tables target;
    Lcg random(99u);
    const float pitches[] = {261.63f, 440.0f, 27.5f, 8372.018f, 1000.125f, 123.456f};
    for (int32_t i = 0; i < 128; ++i) {
        SampleData& s = source.slots[i];
        setSampleRateFields(s, i % 2 ? 44100.0f : 22050.0f);
        setSampleRateFields(target.slots[i], s.sampleRate);
        if (i % 8 == 7) continue;  // some slots keep their empty points
        const int32_t start = random.below(2000);
        const int32_t end = start + 1 + random.below(5000 - start);
        setPlaybackPoints(s, start, end);
        const int32_t loopStart = start + random.below(end - start);
        const int32_t loopEnd = i % 3 == 0 ? end : loopStart + 1 + random.below(end - loopStart);
        if (i % 5 != 4) setLoopPoints(s, loopStart, loopEnd);
        setSamplePitch(s, pitches[i % 6]);
    }
    ASSERT_EQ(source.slots[0].releaseLoopLength, source.slots[0].loopLength);
    ASSERT_GT(source.slots[0].loopLength, 0);
    roundTrip(kSampleData, source, target, "slots");
    for (int32_t i = 0; i < 128; ++i) expectSameSlot(target.slots[i], source.slots[i], i);
}

TEST(RoundTrip, NegativePitchesAreStoredAsZeroAndSurvive) {
    Tables source;
    for (int32_t i = 0; i < 128; ++i) {
        setSampleRateFields(source.slots[i], 44100.0f);
        setPlaybackPoints(source.slots[i], 0, 1000);
        setSamplePitch(source.slots[i], i % 2 ? -261.63f : -0.0f);
    }
    EXPECT_EQ(splitLines(formatText(kSampleData, source.view()))[2], "@:0 0 1000 0 0 0.000000");
    Tables target;
    Lcg random(3u);
    for (int32_t i = 0; i < 128; ++i) {
        setSampleRateFields(target.slots[i], 44100.0f);
        setSamplePitch(target.slots[i], 100.0f + random.below(1000));
    }
    roundTrip(kSampleData, source, target, "negative-pitch");
    for (int32_t i = 0; i < 128; ++i) expectSameSlot(target.slots[i], source.slots[i], i);
}

// The hexadecimal bytes of one listing line, F0 and F7 included.
std::vector<uint8_t> messageBytes(const std::string& line) {
    std::vector<uint8_t> bytes;
    for (size_t at = 0; at + 2 <= line.size(); at += 3) {
        bytes.push_back(static_cast<uint8_t>(std::strtol(line.substr(at, 2).c_str(), nullptr, 16)));
    }
    return bytes;
}

void sendListing(synth::SynthesizerPCM& synth, const std::string& listing) {
    for (const std::string& line : splitLines(listing)) {
        if (line[0] == '#') continue;
        const std::vector<uint8_t> bytes = messageBytes(line);
        ASSERT_EQ(bytes.front(), 0xF0);
        ASSERT_EQ(bytes.back(), 0xF7);
        MidiEvent event;
        event.status = kSystemExclusive;
        event.sysExLength = static_cast<int32_t>(bytes.size() - 1);
        for (size_t i = 1; i < bytes.size(); ++i) event.sysExData[i - 1] = bytes[i];
        synth.receiveSysEx(event);
    }
}

TEST(RoundTrip, SysExListingsWriteThePresetsBackThroughTheSynthesizer) {
    Tables source;
    Lcg random(31337u);
    fillPresets(source, random);
    const float masterTune = 440.0f;
    const float masterVolume = 1.0f;
    synth::SynthesizerPCM synth(masterTune, masterVolume);
    sendListing(synth, formatSysExText(kTones, source.view()));
    sendListing(synth, formatSysExText(kSamplers, source.view()));
    for (int32_t i = 0; i < 128; ++i) {
        // The listings carry no names; the synthesizer keeps its own.
        TonePreset tone = source.tones[i];
        setPresetName(tone.presetName, "");
        expectSameTone(synth.tonePresets()[i], tone, i);
        SamplerPreset sampler = source.samplers[i];
        setPresetName(sampler.presetName, "");
        expectSameSampler(synth.samplerPresets()[i], sampler, i);
    }

    const std::string path = testDir() + "/sysex.txt";
    ASSERT_TRUE(exportSysExText(path.c_str(), kTones, source.view()));
    EXPECT_EQ(readWholeFile(path), formatSysExText(kTones, source.view()));
}

}  // namespace
}  // namespace velt::corvane::presetfiletest
