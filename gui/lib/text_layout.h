#pragma once
// Cairo text helpers shared by the draw context and the text controls.
#include <cairo.h>

#include <string>

#include "gui/lib/vstguifwd.h"

namespace VSTGUI {

/** Selects font's face and size on cr (a null font selects the standard 12-point one). */
void selectFont(cairo_t* cr, const CFontDesc* font);

/** Horizontal advance of text in the selected font. Invalid UTF-8 is shown as '?'. */
CCoord textAdvance(cairo_t* cr, const std::string& text);

/** text with every invalid UTF-8 sequence replaced by '?', so cairo always draws it. */
std::string displayableUtf8(const std::string& text);

/** Byte index of the code point boundary before (or after) index in a UTF-8 string. */
size_t previousCharBoundary(const std::string& text, size_t index);
size_t nextCharBoundary(const std::string& text, size_t index);

/** Appends code point cp to out as UTF-8. */
void appendUtf8(std::string& out, uint32_t cp);

}  // namespace VSTGUI
