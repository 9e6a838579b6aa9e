// The demo set as files: the samples, their slot parameters, the song and the read-me.
#pragma once

#include <string>
#include <vector>

#include "tools/corvane-make-demo/demo_sample.h"

namespace velt::corvane::tools {

/// Every sample of the set, in slot order.
std::vector<DemoSample> buildDemoSamples();

/// The "@:" sample-data lines for the samples, after one comment line.
std::string sampleDataText(const std::vector<DemoSample>& samples);

/// Writes the whole set into directory (which must exist); false, with the failing
/// file in failedPath, when a file cannot be written.
bool writeDemoSet(const std::string& directory, std::string& failedPath);

}  // namespace velt::corvane::tools
