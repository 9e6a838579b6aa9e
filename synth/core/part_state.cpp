#include "synth/core/part_state.h"

namespace velt::corvane {

void PartState::resetPart() {
    program = 0;
    channelPressure = 0;
    pitchBend = 8192;
    for (int32_t& c : controllers) c = 0;
    controllers[7] = 100;
    controllers[10] = 64;
    controllers[11] = 127;
    pitchBendRange = 2;
    reservedParameters[0] = reservedParameters[1] = 0;
    rpnSelect = 0;
    nrpnSelect = 0;
    parameterIndex = kNoParameter;
}

void PartState::resetControllers() {
    pitchBend = 8192;
    controllers[1] = 0;
    controllers[11] = 127;
    channelPressure = 0;
    rpnSelect = 0;
    nrpnSelect = 0;
    parameterIndex = kNoParameter;
}

}  // namespace velt::corvane
