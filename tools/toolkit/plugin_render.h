// corvane-render's default path: the song rendered through the plug-in bundle.
#pragma once

#include <cstdint>
#include <ostream>

#include "tools/toolkit/midi_file_reader.h"
#include "tools/toolkit/render_options.h"

namespace velt::corvane::tools {

/// Loads options.pluginPath (or the installed bundle), gives the instance the sound of the
/// options through one state chunk (the fresh instance's or --state-in's), renders song's
/// frames 0..totalFrames-1 (frames already assigned) into the outputs, saves --state-out and
/// prints the summary. Returns the exit status; a failure leaves no output file.
int renderWithPlugin(const RenderOptions& options, const MidiSong& song, int64_t totalFrames,
                     std::ostream& out, std::ostream& err);

}  // namespace velt::corvane::tools
