// The song player kept in step with real time: every turn renders what the clock says is due.
#pragma once

#include "tools/corvane-host/live_player.h"
#include "tools/corvane-host/loop_driver.h"

namespace velt::corvane::tools {

class LiveDriver final : public LoopDriver {
public:
    /// player must outlive the driver; the clock starts at the first turn.
    explicit LiveDriver(LivePlayer& player) : player_(player) {}

    bool turn(std::string& error) override;
    bool finished() const override;

private:
    LivePlayer& player_;
    double startMs_ = -1.0;
    int64_t startFrame_ = 0;
};

}  // namespace velt::corvane::tools
