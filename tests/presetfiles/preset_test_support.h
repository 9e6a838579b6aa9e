// Fresh record tables, temporary files and line helpers for the preset file tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "presetfiles/preset_text_export.h"
#include "presetfiles/preset_text_import.h"
#include "presetfiles/sound_tables.h"
#include "presetfiles/sysex_text_export.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::presetfiletest {

using presetfiles::SoundTables;
using presetfiles::TextKind;

constexpr int32_t kTones = static_cast<int32_t>(TextKind::Tones);
constexpr int32_t kSamplers = static_cast<int32_t>(TextKind::Samplers);
constexpr int32_t kSampleData = static_cast<int32_t>(TextKind::SampleData);

/// Three tables as a reset leaves them, with every slot given frameCount frames
/// (no sample array: the point rule needs only the count).
struct Tables {
    explicit Tables(int32_t frameCount = 5000);
    SoundTables view() { return SoundTables{tones.get(), samplers.get(), slots.get()}; }

    std::unique_ptr<TonePreset[]> tones;
    std::unique_ptr<SamplerPreset[]> samplers;
    std::unique_ptr<SampleData[]> slots;
};

/// Every field of a against b; where names the record in failure messages.
void expectSameTone(const TonePreset& a, const TonePreset& b, int32_t where);
void expectSameSampler(const SamplerPreset& a, const SamplerPreset& b, int32_t where);
void expectSameSlot(const SampleData& a, const SampleData& b, int32_t where);
/// Every record of every table.
void expectSameTables(const Tables& a, const Tables& b);

/// A directory of this test run, created on first use with mkdtemp.
const std::string& testDir();
/// Writes bytes to a file in testDir and returns its path.
std::string writeTestFile(const std::string& name, const std::string& bytes);
/// The whole file; empty when it cannot be read.
std::string readWholeFile(const std::string& path);
/// True when something exists at path.
bool pathExists(const std::string& path);
/// The lines of text without their '\n' ends.
std::vector<std::string> splitLines(const std::string& text);

/// A deterministic pseudo-random sequence for filling records.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed) {}
    uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint32_t>(n)); }

private:
    uint32_t state_;
};

/// Fills every preset with values in the fields' ranges and names of printable
/// characters (quotes, digits, blanks included).
void fillPresets(Tables& tables, Lcg& random);

}  // namespace velt::corvane::presetfiletest
