// The host's one thread: the editor shown in the host's window (or no window) while a driver
// keeps the audio going; the view is removed and released before it returns.
#pragma once

#include <string>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "tools/corvane-host/host_window.h"
#include "tools/corvane-host/loop_driver.h"

namespace velt::corvane::tools {

struct EditorLoopSettings {
    double seconds = 0.0;          ///< quit after this long; 0: when the window is closed
    std::string screenshotPath;    ///< empty: none
    double screenshotAfter = 1.0;  ///< seconds after the window opened
    double scale = 0.0;            ///< content scale for the view before it opens; 0: none
};

/// Creates the controller's "editor" view in a window of its size on window's display (open),
/// attaches it and runs the loop, giving driver a turn at least every 5 ms, until the window
/// closes, the time is up or the driver has finished. False with a one-line error; the view is
/// gone either way.
bool runEditorLoop(Steinberg::Vst::IEditController& controller, HostWindow& window, LoopDriver& driver,
                   const EditorLoopSettings& settings, std::string& error);

/// The same loop without a window: driver's turns every 5 ms until the time is up or it has
/// finished. False with driver's error.
bool runHeadlessLoop(LoopDriver& driver, double seconds, std::string& error);

}  // namespace velt::corvane::tools
