// The host's loop while the plug-in plays through JACK: the view's edits passed to the
// callback, changes of period or rate followed, the load printed once a second, and the
// server's departure noticed.
#pragma once

#include <ostream>

#include "tools/corvane-host/host_component_handler.h"
#include "tools/corvane-host/jack_host.h"
#include "tools/corvane-host/loop_driver.h"

namespace velt::corvane::tools {

class JackDriver final : public LoopDriver {
public:
    /// All must outlive the driver; verbose null: nothing printed.
    JackDriver(JackHost& host, HostComponentHandler& edits, std::ostream* verbose)
        : host_(host), edits_(edits), verbose_(verbose) {}

    /// False with error when the server went away or the processor refused a new setup.
    bool turn(std::string& error) override;
    bool finished() const override;

    /// The loop ended because the server went away.
    bool serverGone() const { return gone_; }

private:
    void report();

    JackHost& host_;
    HostComponentHandler& edits_;
    std::ostream* verbose_;
    double nextReportMs_ = -1.0;
    bool gone_ = false;
};

}  // namespace velt::corvane::tools
