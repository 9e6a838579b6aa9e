#include "tools/corvane-host/jack_driver.h"

#include <cstdio>

#include "tools/corvane-host/host_clock.h"
#include "tools/corvane-host/stop_signals.h"

namespace velt::corvane::tools {

bool JackDriver::turn(std::string& error) {
    if (host_.serverGone()) {
        gone_ = true;
        const std::string reason = host_.goneReason();
        error = "the JACK server went away" + (reason.empty() ? std::string() : ": " + reason);
        return false;
    }
    if (!host_.service(error)) return false;
    edits_.takePendingEdits([this](Steinberg::Vst::ParamID id, double value) {
        return host_.queueEdit(ParameterEdit{id, value});
    });
    const double now = monotonicMs();
    if (nextReportMs_ < 0.0) nextReportMs_ = now + 1000.0;
    if (verbose_ && now >= nextReportMs_) {
        nextReportMs_ += 1000.0;
        if (nextReportMs_ < now) nextReportMs_ = now + 1000.0;
        report();
    }
    return true;
}

bool JackDriver::finished() const {
    return stopRequested();
}

void JackDriver::report() {
    const JackLoad load = host_.takeLoad();
    char line[160];
    std::snprintf(line, sizeof line,
                  "corvane-host: %u Hz, %u frames: load %.1f %% (peak %.1f %%), %lld xruns\n",
                  host_.sampleRate(), host_.periodFrames(), load.average * 100.0, load.peak * 100.0,
                  static_cast<long long>(load.xruns));
    *verbose_ << line << std::flush;
}

}  // namespace velt::corvane::tools
