// The bodies of the fuzz targets, shared by the fuzzers and the regression test that
// replays their saved inputs in the normal build. Each takes any bytes and returns 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velt::corvane::fuzz {

/// First byte: the encoding (0..2); the rest: a WAV file, imported into a fresh slot.
int fuzzWavImport(const uint8_t* data, size_t size);
/// First byte: the text kind (0..2); the rest: the text, imported into fresh tables.
int fuzzTextImport(const uint8_t* data, size_t size);
/// The bytes as a state chunk: restored into one shared processor, then saved again.
int fuzzStateRestore(const uint8_t* data, size_t size);
/// The bytes split into SysEx messages, received by a synthesizer with SysEx on, then played.
int fuzzSysEx(const uint8_t* data, size_t size);
/// The bytes as a Standard MIDI File, parsed and timed.
int fuzzMidiFile(const uint8_t* data, size_t size);
/// The bytes decoded into editor messages (message_script.h) sent to one shared processor.
int fuzzMessages(const uint8_t* data, size_t size);
/// The bytes decoded into a host's blocks and calls between them (host_script.h), run on one
/// shared processor; a save that restores into different bytes traps.
int fuzzHostProcess(const uint8_t* data, size_t size);

}  // namespace velt::corvane::fuzz
