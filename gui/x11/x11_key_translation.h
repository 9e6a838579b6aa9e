#pragma once
#include <X11/Xlib.h>

#include "gui/lib/vstkeycode.h"

namespace VSTGUI::X11 {

/** The key code for a KeyPress event; false for keys the frame has no use for (modifiers alone). */
bool translateKeyEvent(XKeyEvent& event, VstKeyCode& key);

/** Buttons and modifiers of an X event state mask. */
int32_t buttonStateFromX(unsigned int state);

}  // namespace VSTGUI::X11
