// The renderer's sound options written into a state chunk, so that one restore gives the
// plug-in the sound that the same options give the engine directly.
#pragma once

#include <ostream>
#include <string>

#include "host/state_chunk.h"
#include "tools/toolkit/render_options.h"

namespace velt::corvane::tools {

/// Applies --sysex, --polyphony, --route, --wav, --tones, --samplers and --samples to chunk
/// in the engine path's order (WAV files, then the text files). A --wav slot's entry gets the
/// file's absolute path, its encoding and the rate, pitch and points the import and the
/// sample-data text leave; saved slots that the sample-data text may change are loaded first
/// as a restore loads them. Warnings go to err; false with error set as the engine path fails.
bool applyOptionsToChunk(const RenderOptions& options, state::StateChunk& chunk, std::ostream& err,
                         std::string& error);

}  // namespace velt::corvane::tools
