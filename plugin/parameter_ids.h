// The parameter and unit ids that processor and controller share.
#pragma once

#include <cstdint>

#include "pluginterfaces/vst/vsttypes.h"

namespace velt::corvane::plugin {

constexpr Steinberg::Vst::ParamID kBypassId = 0x1000001;
/// Bit 16 marks the MIDI-mapped parameters: 0x10000 + channel * 256 + number.
constexpr uint32_t kMidiParamBase = 0x10000;
constexpr int32_t kPitchBendNumber = 129;
constexpr int32_t kProgramChangeNumber = 130;

constexpr Steinberg::Vst::ParamID midiParamId(int32_t channel, int32_t number) {
    return kMidiParamBase + static_cast<uint32_t>(channel & 15) * 256 + static_cast<uint32_t>(number);
}

constexpr int32_t kMidiControllerUnitId = 0x10000;
constexpr int32_t programUnitId(int32_t channel) { return 0x100000 + channel; }

}  // namespace velt::corvane::plugin
