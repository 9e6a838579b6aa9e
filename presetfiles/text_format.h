// Small text builders shared by the exports, independent of the C locale.
#pragma once

#include <cstdint>
#include <string>

#include "synth/pcm/sound_records.h"

namespace velt::corvane::presetfiles {

/// Appends value in plain decimal (a minus sign only for negative values).
void appendDecimal(std::string& out, int64_t value);
/// Appends the low byte of value as two lowercase hexadecimal digits.
void appendHexByte(std::string& out, int32_t value);
/// Appends value as printf's "%f" writes it in the "C" locale: fixed, six decimals.
void appendFixed6(std::string& out, double value);
/// Appends the 16 name bytes, each byte outside 0x20..0x7E (a zero byte included) as a
/// space, so that the name always fills its 16 quoted characters.
void appendPresetName(std::string& out, const char (&presetName)[kPresetNameLength + 1]);

/// Writes contents to path in text mode, replacing any file there; false when
/// the path cannot be opened for writing, and then nothing is written.
bool writeTextFile(const char* path, const std::string& contents);

}  // namespace velt::corvane::presetfiles
