// Command-line options of corvane-host.
#pragma once

#include <string>

namespace velt::corvane::tools {

struct HostOptions {
    std::string pluginPath;        ///< --plugin; empty: defaultPluginPath()
    std::string stateInPath;       ///< --state-in: chunk applied before the editor opens
    std::string stateOutPath;      ///< --state-out: where the chunk goes after the editor closed
    double seconds = 0.0;          ///< --seconds; 0: run until the window is closed
    std::string screenshotPath;    ///< --screenshot: PNG of the window's contents
    double screenshotAfter = 1.0;  ///< --screenshot-after, seconds after the window opened
    double scale = 0.0;            ///< --scale: content scale given to the view; 0: none (the desktop's)
    std::string songPath;          ///< SONG.mid, played in real time while the window is open
    std::string outPath;           ///< OUT.wav: what was played, with a 2 s tail
    bool jack = false;             ///< --jack: a JACK client at the server's rate and period
    bool mix = false;              ///< --mix: one stereo pair of all 16 outputs instead of 32 ports
    bool connect = false;          ///< --connect: outputs to the playback ports, MIDI hardware to the input
    bool noEditor = false;         ///< --no-editor: no window
    bool verbose = false;          ///< --verbose: xruns and the callback's load once a second
    bool help = false;
};

/// Parses argv[1..argc-1]; false with a one-line reason in error.
bool parseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);

/// The usage text printed by --help.
const char* hostUsage();

}  // namespace velt::corvane::tools
