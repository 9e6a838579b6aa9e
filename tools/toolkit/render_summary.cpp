#include "tools/toolkit/render_summary.h"

#include <cmath>
#include <cstdio>

#include "tools/toolkit/render_command.h"

namespace velt::corvane::tools {

namespace {

std::string formatPeak(const char* label, float peak) {
    char line[96];
    if (peak > 0.0f) {
        std::snprintf(line, sizeof line, "%s: peak %.3f (%.1f dBFS)", label, static_cast<double>(peak),
                      20.0 * std::log10(static_cast<double>(peak)));
    } else {
        std::snprintf(line, sizeof line, "%s: silent", label);
    }
    return line;
}

}  // namespace

int renderFailure(std::ostream& err, const std::string& message) {
    err << "corvane-render: " << message << '\n';
    return kRenderFailed;
}

void printRenderSummary(std::ostream& out, const RenderStats& stats, const RenderOutputs& outputs,
                        const RenderOptions& options, const std::vector<std::string>& written) {
    char line[128];
    std::snprintf(line, sizeof line, "rendered %lld frames (%.3f s at %u Hz)",
                  static_cast<long long>(stats.framesRendered),
                  static_cast<double>(stats.framesRendered) / options.sampleRate, options.sampleRate);
    out << line << '\n';
    bool anySound = false;
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        if (!(stats.peaks[bus] > 0.0f)) continue;
        anySound = true;
        const std::string label = "out " + std::to_string(bus + 1);
        out << formatPeak(label.c_str(), stats.peaks[bus]) << '\n';
    }
    if (!anySound) out << "no output carries sound\n";
    if (options.outputs == OutputMode::Mix) out << formatPeak("mix", outputs.mixPeak()) << '\n';
    if (stats.mostVoices >= 0) out << "most voices sounding at once: " << stats.mostVoices << '\n';
    for (const std::string& path : written) out << "wrote " << path << '\n';
}

}  // namespace velt::corvane::tools
