// The record tables that the preset text files read and write, and the file kinds.
#pragma once

#include <cstdint>

#include "synth/pcm/sound_records.h"

namespace velt::corvane::presetfiles {

/// Number of records in each table.
constexpr int32_t kRecordCount = 128;

/// The three kinds of parameter text file (the request's kind number).
enum class TextKind : int32_t { Tones = 0, Samplers = 1, SampleData = 2 };

/// The engine's three tables of kRecordCount entries each, used in place; a kind
/// whose table pointer is null is refused.
struct SoundTables {
    TonePreset* tones = nullptr;
    SamplerPreset* samplers = nullptr;
    SampleData* slots = nullptr;
};

}  // namespace velt::corvane::presetfiles
