// Finding a project's WAV files again when the project was moved to another machine
// or folder: a file of the same name is looked for where the project's other files
// were found, then in the folders the user lists in CORVANE_SAMPLE_PATH.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "synth/core/engine_limits.h"

namespace velt::corvane::host {

/// True when path names a file that can be opened for reading.
bool fileOpens(const std::string& path);

/// The folder part of path ("" when it has none), without a trailing slash.
std::string folderOf(const std::string& path);

/// The colon-separated folders of a search-path value; empty entries are dropped.
std::vector<std::string> splitSearchPath(const char* value);

/// For every recorded path (empty = no file wanted), the path to import: the recorded
/// one when it opens, else a file of the same name in a folder where another slot's
/// file was found (in slot order), else in one of searchPath's folders; "" when found
/// nowhere. Folders found through searchPath serve the other slots too.
std::array<std::string, kSampleSlotCount> resolveSamplePaths(
    const std::array<std::string, kSampleSlotCount>& recorded, const std::vector<std::string>& searchPath);

}  // namespace velt::corvane::host
