// "corvane-render export KIND OUT.txt": the plug-in writes its presets or sample-data
// parameters as text, through the same file request its editor sends.
#pragma once

#include <ostream>

namespace velt::corvane::tools {

/// argv[0] is "export"; the rest are KIND, OUT.txt and the options --state-in FILE and
/// --plugin BUNDLE. Returns kRenderOk or kRenderFailed (nothing is left at OUT then).
int runExportCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

/// The usage text of the subcommand.
const char* exportUsage();

}  // namespace velt::corvane::tools
