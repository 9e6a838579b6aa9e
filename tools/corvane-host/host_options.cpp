#include "tools/corvane-host/host_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velt::corvane::tools {

namespace {

/// A number of seconds from 0 to a day; false when the text is not one.
bool readSeconds(const char* text, double& value) {
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(v) || v < 0.0 || v > 86400.0)
        return false;
    value = v;
    return true;
}

}  // namespace

bool parseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error) {
    options = HostOptions{};
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return true;
        }
        if (arg == "--jack" || arg == "--mix" || arg == "--connect" || arg == "--no-editor" ||
            arg == "--verbose") {
            bool& flag = arg == "--jack"      ? options.jack
                         : arg == "--mix"     ? options.mix
                         : arg == "--connect" ? options.connect
                         : arg == "--verbose" ? options.verbose
                                              : options.noEditor;
            flag = true;
            continue;
        }
        const bool takesValue = arg == "--plugin" || arg == "--state-in" || arg == "--state-out" ||
                                arg == "--seconds" || arg == "--screenshot" || arg == "--screenshot-after" ||
                                arg == "--scale";
        if (takesValue) {
            if (i + 1 >= argc) {
                error = arg + ": a value is missing";
                return false;
            }
            const char* value = argv[++i];
            if (arg == "--plugin") {
                options.pluginPath = value;
            } else if (arg == "--state-in") {
                options.stateInPath = value;
            } else if (arg == "--state-out") {
                options.stateOutPath = value;
            } else if (arg == "--screenshot") {
                options.screenshotPath = value;
            } else if (arg == "--scale") {
                if (!readSeconds(value, options.scale) || options.scale < 0.5 || options.scale > 4.0) {
                    error = arg + ": not a scale from 0.5 to 4: " + value;
                    return false;
                }
            } else if (arg == "--seconds") {
                if (!readSeconds(value, options.seconds) || options.seconds <= 0.0) {
                    error = arg + ": not a number of seconds above 0: " + value;
                    return false;
                }
            } else if (!readSeconds(value, options.screenshotAfter)) {
                error = arg + ": not a number of seconds: " + value;
                return false;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            error = arg + ": unknown option";
            return false;
        }
        positional.push_back(arg);
    }
    if (!options.jack && (options.mix || options.connect || options.verbose)) {
        error = "--mix, --connect and --verbose need --jack";
        return false;
    }
    if (options.jack && !positional.empty()) {
        error = "--jack plays what comes in from JACK, not a song";
        return false;
    }
    if (options.noEditor && !options.screenshotPath.empty()) {
        error = "--screenshot needs the editor's window";
        return false;
    }
    if (positional.size() == 2) {
        options.songPath = positional[0];
        options.outPath = positional[1];
    } else if (!positional.empty()) {
        error = "give a song and an output file together: SONG.mid OUT.wav";
        return false;
    }
    return true;
}

const char* hostUsage() {
    return "usage: corvane-host [--plugin BUNDLE] [--state-in FILE] [--state-out FILE] [--seconds N]\n"
           "                    [--screenshot FILE.png] [--screenshot-after S] [--scale S] [--no-editor]\n"
           "                    [SONG.mid OUT.wav | --jack [--mix] [--connect] [--verbose]]\n"
           "Opens the plug-in's editor in a window and, with a song, plays it through the plug-in in\n"
           "real time into OUT.wav (the song and a 2 s tail, or what was played when the window closed).\n"
           "  --plugin BUNDLE        the .vst3 bundle (default: the first of ~/.vst3, /usr/lib/vst3 and\n"
           "                         /usr/local/lib/vst3 that holds \"Corvane Synth PCM.vst3\")\n"
           "  --state-in FILE        state chunk applied before the editor opens\n"
           "  --state-out FILE       state chunk saved after the editor closed\n"
           "  --seconds N            quit after N seconds (default: when the window is closed)\n"
           "  --screenshot FILE.png  the window's contents, taken --screenshot-after S seconds\n"
           "                         after it opened (default 1)\n"
           "  --scale S              tell the editor its content scale, as a HiDPI host does\n"
           "                         (default: none, the editor follows the desktop's Xft.dpi)\n"
           "  --no-editor            run without a window\n"
           "  --jack                 play live as a JACK client: one MIDI input, the outputs as\n"
           "                         32 audio ports \"out 1 L\" ... \"out 16 R\"\n"
           "  --mix                  one stereo pair \"out L\", \"out R\" of all 16 outputs instead\n"
           "  --connect              outputs to the system playback ports, every MIDI hardware\n"
           "                         port to the input\n"
           "  --verbose              xruns and the callback's load once a second\n"
           "Ctrl+C or closing the window saves --state-out and quits.\n";
}

}  // namespace velt::corvane::tools
