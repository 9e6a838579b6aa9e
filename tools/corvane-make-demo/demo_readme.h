// The read-me of the demo set, built from the same tables as the files it describes.
#pragma once

#include <string>
#include <vector>

#include "tools/corvane-make-demo/demo_sample.h"

namespace velt::corvane::tools {

/// The text of README.txt for these samples.
std::string demoReadme(const std::vector<DemoSample>& samples);

}  // namespace velt::corvane::tools
