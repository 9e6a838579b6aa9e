// The song's opening set-up: tone, sampler and part-mode SysEx writes, program
// changes, mix controllers and the bend range, all placed in the beat before bar 1.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/corvane-make-demo/smf_writer.h"

namespace velt::corvane::tools {

/// The fields of a tone preset, as its SysEx record carries them.
struct ToneSettings {
    const char* name;  ///< 16 characters
    int32_t lfoFreq, strc, tune, lms, wave, tl, ar, dr, sl, rr, kf, kfStart;
};

/// The fields of a sampler preset.
struct SamplerSettings {
    const char* name;  ///< 16 characters
    int32_t smplNum, pan, octv, tune, tl, ar, dr, sl, rr;
};

/// A melodic part: its channel, program, tone and mix.
struct MelodicPart {
    const char* trackName;
    int32_t channel;
    int32_t program;
    ToneSettings tone;
    int32_t volume, pan, expression, modulation, bendRange;
};

enum class MelodicRole { EPiano, Bass, Pad, Lead };

/// The demo's settings for one melodic part.
MelodicPart melodicPart(MelodicRole role);

/// Message bytes after F0 (closing F7 included) writing a whole tone preset from address 00.
std::vector<uint8_t> toneWrite(int32_t preset, const ToneSettings& tone);
/// Message bytes writing a whole sampler preset from address 00.
std::vector<uint8_t> samplerWrite(int32_t preset, const SamplerSettings& sampler);
/// Message bytes writing one part-mode address: 00 the default mode, 01 the mode.
std::vector<uint8_t> partModeWrite(int32_t part, int32_t address, int32_t mode);

/// Writes the part's tone preset, selects it and sets volume, pan, expression,
/// modulation and (by RPN 0) the bend range, all before the song starts.
void addMelodicSetup(SmfTrack& track, const MelodicPart& part);
/// Puts the drum channel into Sampler mode (mode and default mode), writes a sampler
/// preset for every drum key and sets the drum part's mix.
void addDrumSetup(SmfTrack& track);

}  // namespace velt::corvane::tools
