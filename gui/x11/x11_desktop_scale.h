#pragma once
// The content scale a desktop asks for through the X server's resource database (xrdb's
// Xft.dpi), for hosts that never say which scale they want.

namespace VSTGUI::X11 {

/** The scale for resource text as XResourceManagerString returns it: Xft.dpi of 192 and up
    gives 2, 144 and up 1.5, anything else (or none) 1. */
double scaleFromResources(const char* resources);

/** scaleFromResources of the display's resource database; 1 without a display. */
double desktopScale();

}  // namespace VSTGUI::X11
