#pragma once
// X errors on our own connections (a parent window destroyed before we close, say) must not
// reach Xlib's default handler, which ends the host process.
#include <X11/Xlib.h>

namespace VSTGUI::X11 {

/** Starts ignoring (and counting) errors on display; other displays keep the previous handler. */
void watchDisplayErrors(Display* display);
/** Stops watching display; the previous handler returns when no display is watched. */
void unwatchDisplayErrors(Display* display);
/** Errors seen on display since the last call (after a round trip). */
int takeDisplayErrors(Display* display);

}  // namespace VSTGUI::X11
