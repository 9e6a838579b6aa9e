// Export of tone and sampler presets as a text listing of system exclusive
// messages, one message per line in hexadecimal bytes.
#pragma once

#include <cstdint>
#include <string>

#include "presetfiles/sound_tables.h"

namespace velt::corvane::presetfiles {

/// The listing of kind 0 (tone presets) or 1 (sampler presets): its "#" header
/// lines, then one message per preset 0 to 127 that, sent to the synthesizer,
/// writes every parameter of that preset but its name. Lines end with '\n'.
/// Empty for any other kind or a null table. Reads the tables only.
std::string formatSysExText(int32_t kind, const SoundTables& tables);

/// Writes formatSysExText(kind, tables) to path, replacing any file there. False
/// when the kind is not 0 or 1, its table is null or the path cannot be opened
/// for writing; then nothing is written. Main thread.
bool exportSysExText(const char* path, int32_t kind, const SoundTables& tables);

/// The tone listing from a table of 128 presets.
std::string formatToneSysEx(const TonePreset* tones);
/// The sampler listing from a table of 128 presets.
std::string formatSamplerSysEx(const SamplerPreset* samplers);

}  // namespace velt::corvane::presetfiles
