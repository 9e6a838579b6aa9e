// Saved state chunks read from files, as --state-in hands them to the plug-in.
#pragma once

#include <string>

#include "plugin/state_chunk.h"

namespace velt::corvane::tools {

/// Reads and parses a whole chunk file; false with a one-line error naming path when the
/// file cannot be read, is not a chunk of version 2 to 4, or ends early.
bool readChunkFile(const std::string& path, state::StateChunk& chunk, std::string& error);

}  // namespace velt::corvane::tools
