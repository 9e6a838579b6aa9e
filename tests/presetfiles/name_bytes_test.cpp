// Preset names holding any byte (SysEx stores whatever it receives): every record
// stays one line of the grammar, and a re-import changes nothing but those bytes.
#include <cstring>

#include "synth/core/midi_event.h"
#include "synth/pcm/synthesizer_pcm.h"
#include "tests/presetfiles/preset_test_support.h"

namespace velt::corvane::presetfiletest {
namespace {

using presetfiles::formatSysExText;
using presetfiles::formatText;
using presetfiles::importTextFromString;

bool printable(char c) {
    return c >= 0x20 && c <= 0x7E;
}

/// Name byte i of preset n: the 2048 name bytes run through 0..255 eight times.
char nameByte(int32_t n, int32_t i) {
    return static_cast<char>((n * 16 + i) & 0xFF);
}

/// The name as the export writes it and the import reads it back.
std::string exportedName(const char (&name)[kPresetNameLength + 1]) {
    std::string s;
    for (int32_t i = 0; i < kPresetNameLength; ++i) s.push_back(printable(name[i]) ? name[i] : ' ');
    return s;
}

size_t countRecords(const std::vector<std::string>& lines, const char* marker) {
    size_t n = 0;
    for (const std::string& line : lines) n += line.compare(0, std::strlen(marker), marker) == 0;
    return n;
}

void sendSysEx(synth::SynthesizerPCM& synth, const std::vector<uint8_t>& bytes) {
    MidiEvent event;
    event.status = kSystemExclusive;
    event.sysExLength = static_cast<int32_t>(bytes.size());
    std::memcpy(event.sysExData, bytes.data(), bytes.size());
    synth.receiveSysEx(event);
}

TEST(NameBytes, EveryByteValueKeepsOneRecordLinePerPreset) {
    Tables source;
    Lcg random(4242u);
    fillPresets(source, random);
    for (int32_t n = 0; n < 128; ++n) {
        for (int32_t i = 0; i < kPresetNameLength; ++i) {
            source.tones[n].presetName[i] = nameByte(n, i);
            source.samplers[n].presetName[i] = nameByte(n + 64, i);
        }
    }
    const std::string tones = formatText(kTones, source.view());
    const std::string samplers = formatText(kSamplers, source.view());
    const std::vector<std::string> toneLines = splitLines(tones);
    const std::vector<std::string> samplerLines = splitLines(samplers);
    ASSERT_EQ(toneLines.size(), 129u);
    ASSERT_EQ(samplerLines.size(), 129u);
    EXPECT_EQ(countRecords(toneLines, "@I:"), 128u);
    EXPECT_EQ(countRecords(samplerLines, "@S:"), 128u);
    for (const std::string* text : {&tones, &samplers}) {
        for (char c : *text) EXPECT_TRUE(printable(c) || c == '\n') << static_cast<int>(c);
    }
    // The name is the 16 characters after the first quote.
    for (int32_t n = 0; n < 128; ++n) {
        const std::string& line = toneLines[1 + n];
        const size_t quote = line.find('"');
        ASSERT_NE(quote, std::string::npos);
        EXPECT_EQ(line.substr(quote + 1, 16), exportedName(source.tones[n].presetName)) << n;
        EXPECT_EQ(line[quote + 17], '"');
    }

    Tables target;
    ASSERT_TRUE(importTextFromString(tones, kTones, target.view()));
    ASSERT_TRUE(importTextFromString(samplers, kSamplers, target.view()));
    for (int32_t n = 0; n < 128; ++n) {
        TonePreset tone = source.tones[n];
        setPresetName(tone.presetName, exportedName(tone.presetName).c_str());
        expectSameTone(target.tones[n], tone, n);
        SamplerPreset sampler = source.samplers[n];
        setPresetName(sampler.presetName, exportedName(sampler.presetName).c_str());
        expectSameSampler(target.samplers[n], sampler, n);
    }
    // Exported again, the cleaned names give the same bytes.
    EXPECT_EQ(formatText(kTones, target.view()), tones);
    EXPECT_EQ(formatText(kSamplers, target.view()), samplers);

    // The SysEx listings carry no names: still one message line per preset.
    const std::vector<std::string> toneSysEx = splitLines(formatSysExText(kTones, source.view()));
    const std::vector<std::string> samplerSysEx = splitLines(formatSysExText(kSamplers, source.view()));
    EXPECT_EQ(toneSysEx.size(), 4u + 128u);
    EXPECT_EQ(samplerSysEx.size(), 4u + 128u);
    EXPECT_EQ(countRecords(toneSysEx, "F0 7D 10 23 04 "), 128u);
    EXPECT_EQ(countRecords(samplerSysEx, "F0 7D 10 23 06 "), 128u);
}

TEST(NameBytes, NamesWrittenBySysExExportAndImportBack) {
    // Every data byte 0x00..0x7F, line feed, carriage return and zero included, written
    // into the names of the synthesizer's own presets by SysEx.
    synth::SynthesizerPCM synth(440.0f, 0.8f);
    for (int32_t n = 0; n < 8; ++n) {
        for (const int32_t block : {0x04, 0x06}) {
            std::vector<uint8_t> message = {
                0x7D, 0x10, 0x23, static_cast<uint8_t>(block), static_cast<uint8_t>(n), 0x00};
            for (int32_t i = 0; i < kPresetNameLength; ++i)
                message.push_back(static_cast<uint8_t>(n * 16 + i));
            message.push_back(0xF7);
            sendSysEx(synth, message);
        }
    }
    ASSERT_EQ(synth.tonePresets()[0].presetName[0], '\0');
    ASSERT_EQ(synth.tonePresets()[0].presetName[10], '\n');
    const SoundTables tables{synth.tonePresets(), synth.samplerPresets(), synth.sampleData()};
    const std::string tones = formatText(kTones, tables);
    const std::string samplers = formatText(kSamplers, tables);
    EXPECT_EQ(countRecords(splitLines(tones), "@I:"), 128u);
    EXPECT_EQ(splitLines(tones).size(), 129u);
    EXPECT_EQ(splitLines(samplers).size(), 129u);
    EXPECT_EQ(splitLines(tones)[1].substr(0, 24), "@I:0 \"                \" ");
    EXPECT_EQ(splitLines(tones)[3].substr(0, 24), "@I:2 \" !\"#$%&'()*+,-./\" ");

    Tables target;
    Lcg random(1u);
    fillPresets(target, random);  // every record must be overwritten
    ASSERT_TRUE(importTextFromString(tones, kTones, target.view()));
    ASSERT_TRUE(importTextFromString(samplers, kSamplers, target.view()));
    for (int32_t n = 0; n < 128; ++n) {
        TonePreset tone = synth.tonePresets()[n];
        setPresetName(tone.presetName, exportedName(tone.presetName).c_str());
        expectSameTone(target.tones[n], tone, n);
        SamplerPreset sampler = synth.samplerPresets()[n];
        setPresetName(sampler.presetName, exportedName(sampler.presetName).c_str());
        expectSameSampler(target.samplers[n], sampler, n);
    }
}

}  // namespace
}  // namespace velt::corvane::presetfiletest
