#pragma once
#include <string>

namespace VSTGUI {

/** Folder the bitmaps are loaded from: the override when one is set, else the bundle's
    Contents/Resources/ found beside the module that holds this code. Main thread only. */
std::string getResourceFolder();

/** Overrides the resource folder (tests and tools); an empty path restores the default. */
void setResourceFolder(const std::string& path);

}  // namespace VSTGUI
