// corvane-host: the plug-in's editor in a window of our own, a song played through it in real time.
#pragma once

#include <ostream>

namespace velt::corvane::tools {

constexpr int kHostOk = 0;
constexpr int kHostFailed = 2;

/// Runs the command line argv[1..argc-1]; returns the exit status. Every failure is one line on err.
int runHostCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace velt::corvane::tools
