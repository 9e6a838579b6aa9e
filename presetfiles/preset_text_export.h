// Export of tone presets, sampler presets and sample-data parameters as text in
// the line grammars that the import reads back.
#pragma once

#include <cstdint>
#include <string>

#include "presetfiles/sound_tables.h"

namespace velt::corvane::presetfiles {

/// The whole file of kind (TextKind): its header comment lines, then one line
/// per record 0 to 127, each line ended by '\n'. Empty for an unknown kind or a
/// null table. Reads the tables only.
std::string formatText(int32_t kind, const SoundTables& tables);

/// Writes formatText(kind, tables) to path, replacing any file there. False when
/// the kind is unknown, its table is null or the path cannot be opened for
/// writing; then nothing is written. Main thread.
bool exportText(const char* path, int32_t kind, const SoundTables& tables);

/// The tone-preset file from a table of 128 presets.
std::string formatTonePresets(const TonePreset* tones);
/// The sampler-preset file from a table of 128 presets.
std::string formatSamplerPresets(const SamplerPreset* samplers);
/// The sample-data parameter file from a table of 128 slots.
std::string formatSampleParameters(const SampleData* slots);

}  // namespace velt::corvane::presetfiles
