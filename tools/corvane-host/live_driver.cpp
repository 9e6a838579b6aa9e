#include "tools/corvane-host/live_driver.h"

#include <cmath>

#include "tools/corvane-host/host_clock.h"
#include "tools/corvane-host/stop_signals.h"

namespace velt::corvane::tools {

namespace {

constexpr double kFramesPerMs = 44.1;
/// Most frames one turn renders, so that a loop that fell behind still serves the view.
constexpr int64_t kMostFramesPerTurn = 8192;

}  // namespace

bool LiveDriver::turn(std::string& error) {
    if (startMs_ < 0.0) {
        startMs_ = monotonicMs();
        startFrame_ = player_.position();
    }
    const double elapsedMs = monotonicMs() - startMs_;
    const auto due = startFrame_ + static_cast<int64_t>(std::floor(elapsedMs * kFramesPerMs));
    if (!player_.advanceTo(due, kMostFramesPerTurn, error)) return false;
    return !player_.songDone() || player_.finishSong(error);
}

bool LiveDriver::finished() const {
    return stopRequested();
}

}  // namespace velt::corvane::tools
