// A PNG of what an X11 window shows, the windows embedded in it included.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace velt::corvane::tools {

/// Reads the window's pixels from the server and writes them to path as a PNG of the window's
/// size; false with a one-line error.
bool writeWindowScreenshot(Display* display, Window window, const std::string& path, std::string& error);

}  // namespace velt::corvane::tools
