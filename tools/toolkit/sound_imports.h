// The renderer's sound imports: --wav files into sample slots, then the text files
// (tones, samplers, sample data), applied to whichever tables the caller hands in.
#pragma once

#include <ostream>
#include <string>

#include "synth/pcm/sound_records.h"
#include "tools/toolkit/render_options.h"

namespace velt::corvane::tools {

/// The tables an import writes; a null table is left alone (its text file then fails).
struct ImportTables {
    TonePreset* tones = nullptr;        ///< 128 tone presets
    SamplerPreset* samplers = nullptr;  ///< 128 sampler presets
    SampleData* slots = nullptr;        ///< 128 sample-data slots
};

/// Imports every --wav request, in command-line order, into slots[request.slot]. A file
/// whose depth cannot be converted leaves its slot empty with a warning on err; false with
/// error set for a file that cannot be read or is not a usable WAV file.
bool importWavFiles(const RenderOptions& options, SampleData* slots, std::ostream& err, std::string& error);

/// Applies the text files in the order tones, samplers, sample data; false with error set
/// when one cannot be opened or read.
bool importTextFiles(const RenderOptions& options, const ImportTables& tables, std::string& error);

/// "corvane-render: warning: " + message, one line on err.
void renderWarning(std::ostream& err, const std::string& message);

}  // namespace velt::corvane::tools
