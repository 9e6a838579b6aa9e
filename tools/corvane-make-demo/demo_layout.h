// Where every sound of the demo set lives: slots, programs, channels and keys,
// shared by the sample files, the song and the read-me so they cannot disagree.
#pragma once

#include <cstdint>

namespace velt::corvane::tools {

// Sample-data slots of the instrument waveforms.
constexpr int32_t kEPianoSlot = 0;
constexpr int32_t kBassSlot = 1;
constexpr int32_t kPadSlot = 2;
constexpr int32_t kLeadSlot = 3;
// Sample-data slots of the drum one-shots.
constexpr int32_t kKickSlot = 8;
constexpr int32_t kSnareSlot = 9;
constexpr int32_t kHatClosedSlot = 10;
constexpr int32_t kHatOpenSlot = 11;
constexpr int32_t kClapSlot = 12;
constexpr int32_t kTomSlot = 13;

// Tone presets, selected by program change; each plays the slot named above.
constexpr int32_t kEPianoProgram = 4;
constexpr int32_t kBassProgram = 33;
constexpr int32_t kPadProgram = 89;
constexpr int32_t kLeadProgram = 81;

// MIDI channels (0-based), one part each; the drums use channel 10.
constexpr int32_t kEPianoChannel = 0;
constexpr int32_t kBassChannel = 1;
constexpr int32_t kPadChannel = 2;
constexpr int32_t kLeadChannel = 3;
constexpr int32_t kDrumChannel = 9;

// Keys of the drum part, each the number of the sampler preset it plays.
constexpr int32_t kKickKey = 36;
constexpr int32_t kSnareKey = 38;
constexpr int32_t kClapKey = 39;
constexpr int32_t kHatClosedKey = 42;
constexpr int32_t kLowTomKey = 45;
constexpr int32_t kHatOpenKey = 46;
constexpr int32_t kHighTomKey = 48;

// Song timing.
constexpr int32_t kTicksPerQuarter = 480;
constexpr int32_t kTicksPerBar = 4 * kTicksPerQuarter;
// One beat of setup before bar 1, so every preset write lands before the first note.
constexpr int32_t kSongStartTick = kTicksPerQuarter;
constexpr int32_t kBarCount = 16;

}  // namespace velt::corvane::tools
