// The editor shown in the host's window while the processor plays in real time, until the
// window closes or the time is up; the view is removed and released before it returns.
#pragma once

#include <string>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "tools/corvane-host/host_window.h"
#include "tools/corvane-host/live_player.h"

namespace velt::corvane::tools {

struct EditorLoopSettings {
    double seconds = 0.0;          ///< quit after this long; 0: when the window is closed
    std::string screenshotPath;    ///< empty: none
    double screenshotAfter = 1.0;  ///< seconds after the window opened
};

/// Creates the controller's "editor" view in a window of its size on window's display (open),
/// attaches it and runs the loop, playing through player. False with a one-line error; the
/// view is gone either way.
bool runEditorLoop(Steinberg::Vst::IEditController& controller, HostWindow& window, LivePlayer& player,
                   const EditorLoopSettings& settings, std::string& error);

}  // namespace velt::corvane::tools
