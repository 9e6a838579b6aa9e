// The whole corvane-render command, callable from tests without a process.
#pragma once

#include <ostream>

namespace velt::corvane::tools {

/// Exit status of a successful render (or --help).
constexpr int kRenderOk = 0;
/// Exit status of every failure: bad option, unreadable or malformed input,
/// output that cannot be written. Nothing is left at the output path then.
constexpr int kRenderFailed = 2;

/// Runs corvane-render with argv[1..argc-1]: the summary goes to out, progress,
/// warnings and the one-line error to err. Returns the exit status.
int runRenderCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace velt::corvane::tools
