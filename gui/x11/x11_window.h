#pragma once
#include "gui/platform/platform_frame.h"

namespace VSTGUI::X11 {

/** Makes an X11 window for a frame inside parent (an X11 window id; 0 for a top-level window),
    with its own connection to $DISPLAY watched through runLoop. Null without a display, a
    usable parent or a run loop. */
IPlatformFrame* createX11Window(IPlatformFrameCallback* frame, const CRect& size, double scale, void* parent,
                                PlatformType type, IPlatformRunLoop* runLoop);

/** The X11 window id of a frame opened on this back end, or 0. */
unsigned long windowIdOf(IPlatformFrame* platformFrame);

}  // namespace VSTGUI::X11
