// What the host's one thread does besides serving the window: the audio it keeps going,
// called once every loop turn.
#pragma once

#include <string>

namespace velt::corvane::tools {

class LoopDriver {
public:
    virtual ~LoopDriver() = default;
    /// One turn's work; false with a one-line error ends the loop as a failure.
    virtual bool turn(std::string& error) = 0;
    /// True once the loop should end without failing (Ctrl+C, for instance).
    virtual bool finished() const = 0;
};

}  // namespace velt::corvane::tools
