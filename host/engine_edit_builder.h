// Small edits built in one line.
#pragma once

#include <cstdint>

#include "synth/pcm/engine_edit.h"

namespace velt::corvane::host {

inline synth::EngineEdit edit(synth::EditKind kind, int32_t index = 0, int32_t a = 0, int32_t b = 0,
                              float value = 0.0f) {
    synth::EngineEdit e{};
    e.kind = kind;
    e.index = index;
    e.a = a;
    e.b = b;
    e.value = value;
    return e;
}

}  // namespace velt::corvane::host
