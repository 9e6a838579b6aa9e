// Command-line options of corvane-render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/toolkit/render_outputs.h"

namespace velt::corvane::tools {

/// One --wav SLOT=FILE[:pcm|dpcm|adpcm] request.
struct WavImportRequest {
    int32_t slot = 0;  ///< 0..127
    std::string path;
    int32_t encoding = 0;  ///< 0 pcm, 1 dpcm, 2 adpcm
};

/// One --route PART=OUT request: MIDI channel's part to a stereo output.
struct PartRoute {
    int32_t part = 0;  ///< 0..15 (channel 1..16 on the command line)
    int32_t bus = 0;   ///< 0..15 (out 1..16 on the command line)
};

/// Everything the command line asked for.
struct RenderOptions {
    std::vector<WavImportRequest> wavImports;  ///< in command-line order
    uint32_t sampleRate = 44100;               ///< 8000..384000
    int32_t blockSize = 512;                   ///< 1..8192
    int32_t polyphony = 0;                     ///< 1..1024; 0 keeps the engine's default
    bool acceptSysEx = false;
    std::vector<PartRoute> routes;  ///< applied in command-line order
    double tailSeconds = 2.0;       ///< 0..3600
    OutputMode outputs = OutputMode::Mix;
    std::string tonesPath;
    std::string samplersPath;
    std::string samplesPath;
    std::string songPath;
    std::string outPath;
    bool engine = false;       ///< --engine: render with the engine itself instead of the plug-in
    std::string pluginPath;    ///< --plugin; empty: defaultPluginPath()
    std::string stateInPath;   ///< --state-in: chunk the plug-in starts from (plug-in only)
    std::string stateOutPath;  ///< --state-out: where the plug-in's chunk goes after the render
    bool help = false;         ///< -h/--help: print the usage and do nothing else
};

/// "Corvane Synth PCM.vst3" in the first of $HOME/.vst3, /usr/lib/vst3 and /usr/local/lib/vst3
/// that holds it; "$HOME/.vst3/Corvane Synth PCM.vst3" (empty without HOME) when none does.
std::string defaultPluginPath();

/// Parses argv[1..argc-1] into options; false with a one-line reason in error.
bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

/// The usage text printed by --help.
const char* renderUsage();

}  // namespace velt::corvane::tools
