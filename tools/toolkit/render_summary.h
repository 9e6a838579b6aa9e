// What corvane-render prints: the summary after a render, and its one-line failures.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "synth/core/engine_limits.h"
#include "tools/toolkit/render_options.h"
#include "tools/toolkit/render_outputs.h"

namespace velt::corvane::tools {

/// The measurements of one render.
struct RenderStats {
    int64_t framesRendered = 0;
    std::array<float, kOutputBusCount> peaks{};  ///< largest absolute sample per bus
    int32_t mostVoices = -1;                     ///< -1 when the renderer cannot see the voices
};

/// "corvane-render: " + message on err; returns the failure exit status.
int renderFailure(std::ostream& err, const std::string& message);

/// Frames and seconds rendered, each sounding bus's peak, the mix peak (mix mode), the
/// voice count when known and the files written.
void printRenderSummary(std::ostream& out, const RenderStats& stats, const RenderOutputs& outputs,
                        const RenderOptions& options, const std::vector<std::string>& written);

}  // namespace velt::corvane::tools
