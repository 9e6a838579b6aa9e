// A virtual X server of the test's own on a display number nobody else uses.
#pragma once

#include <string>

#include "tests/host/child_process.h"

namespace velt::corvane::testing {

class VirtualDisplay {
public:
    VirtualDisplay() = default;
    /// Ends the server.
    ~VirtualDisplay() { server_.stop(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    /// Starts the server binary on the first free display from 90 on, 2048 x 1536 x 24 (the
    /// editor at scale 2 fits whole), and
    /// waits until it takes connections; false when none would start.
    bool start(const std::string& serverPath);
    /// ":N", empty before start.
    const std::string& name() const { return name_; }

private:
    ChildProcess server_;
    std::string name_;
};

}  // namespace velt::corvane::testing
