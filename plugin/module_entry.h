// What the module knows about itself while a host has it entered (ModuleEntry to ModuleExit).
#pragma once

#include <string>

namespace velt::corvane {

/// The handle the host passed to the first ModuleEntry; null outside entry and exit.
void* moduleHandle();
/// The bundle's directory ("…/Corvane Synth PCM.vst3/", ending in '/'), or the module file's own
/// directory when it does not sit in a bundle; empty outside entry and exit.
const std::string& moduleDirectory();

}  // namespace velt::corvane
