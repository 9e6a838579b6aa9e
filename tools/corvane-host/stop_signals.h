// Ctrl+C (SIGINT) and SIGTERM as a request to quit cleanly, seen by the host's loop.
#pragma once

namespace velt::corvane::tools {

/// Installs the handlers; later signals only set the request.
void catchStopSignals();
/// A stop signal arrived since catchStopSignals.
bool stopRequested();

}  // namespace velt::corvane::tools
