// Import of tone presets ("@I:"), sampler presets ("@S:") and sample-data
// parameters ("@:") from text, one record per line.
#pragma once

#include <cstdint>
#include <string>

#include "presetfiles/sound_tables.h"

namespace velt::corvane::presetfiles {

/// Reads the file at path and writes every record it names into the table of
/// kind (TextKind); lines that do not fit the kind's grammar, records numbered
/// 128 or more and records with a number beyond 2147483647 are skipped, and the
/// last line naming a record wins. A record may be of any length; a UTF-8
/// byte-order mark at the start of the text is skipped. Time is linear in the
/// length of the text and memory bounded. False when the kind is unknown, its
/// table is null or the file cannot be opened; then nothing is changed. Main thread.
bool importText(const char* path, int32_t kind, const SoundTables& tables);

/// The same import from text held in memory (the contents of such a file).
bool importTextFromString(const std::string& text, int32_t kind, const SoundTables& tables);

}  // namespace velt::corvane::presetfiles
