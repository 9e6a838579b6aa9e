// The bundle's Contents/Resources/moduleinfo.json: what hosts read to list the module's classes
// without loading it, in the relaxed JSON (trailing commas) hosts accept since SDK 3.7.5.
#pragma once

#include <string>

#include "pluginterfaces/base/ipluginbase.h"

namespace velt::corvane::packaging {

/// The document for a module named moduleName at moduleVersion whose factory reports info and
/// the classes[0..count-1]; no compatibility entries and no snapshots.
std::string moduleInfoJson(const std::string& moduleName, const std::string& moduleVersion,
                           const Steinberg::PFactoryInfo& info, const Steinberg::PClassInfo2* classes,
                           int count);

}  // namespace velt::corvane::packaging
