// A preview sheet of the eight bitmaps, with the window put together and sample values shown.
#pragma once

#include <string>

namespace velt::corvane::art {

/** Reads the PNGs from artDir and writes the sheet to sheetPath; false when any step fails. */
bool writeContactSheet(const std::string& artDir, const std::string& sheetPath);

}  // namespace velt::corvane::art
