#pragma once

namespace VSTGUI {

/** Frees the font and glyph caches cairo and fontconfig keep for the whole process, so that
    leak checkers see only real leaks. Only for the end of a test or tool process, after every
    frame, bitmap and surface is gone; never inside a plug-in (the host may use cairo too). */
void releaseGraphicsCaches();

}  // namespace VSTGUI
