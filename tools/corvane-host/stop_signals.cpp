#include "tools/corvane-host/stop_signals.h"

#include <csignal>

namespace velt::corvane::tools {

namespace {

volatile std::sig_atomic_t gStop = 0;

void onStopSignal(int) {
    gStop = 1;
}

}  // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: poll() returns at once, so the loop sees the request without delay.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested() {
    return gStop != 0;
}

}  // namespace velt::corvane::tools
