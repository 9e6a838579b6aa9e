// The parameter and unit ids that processor and controller share.
#pragma once

#include <cstdint>

#include "host/editor_protocol.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace velt::corvane::plugin {

constexpr Steinberg::Vst::ParamID kBypassId = 0x1000001;
using host::protocol::kMidiParamBase;
using host::protocol::kPitchBendNumber;
using host::protocol::kProgramChangeNumber;

constexpr Steinberg::Vst::ParamID midiParamId(int32_t channel, int32_t number) {
    return host::protocol::midiParamId(channel, number);
}

constexpr int32_t kMidiControllerUnitId = 0x10000;
constexpr int32_t programUnitId(int32_t channel) {
    return 0x100000 + channel;
}

}  // namespace velt::corvane::plugin
