// Saved state chunks read from files, as --state-in hands them to the plug-in, and written back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/state_chunk.h"

namespace velt::corvane::tools {

/// Reads and parses a whole chunk file; false with a one-line error naming path when the
/// file cannot be read, is not a chunk of version 2 to 4, or ends early.
bool readChunkFile(const std::string& path, state::StateChunk& chunk, std::string& error);

/// Writes bytes to path, replacing any file there; false with a one-line error naming path
/// (and nothing left there) when it cannot be written whole.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace velt::corvane::tools
