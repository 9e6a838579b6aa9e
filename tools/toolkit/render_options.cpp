#include "tools/toolkit/render_options.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace velt::corvane::tools {

namespace {

/// A decimal integer made of digits only, within lo..hi.
bool parseInteger(const std::string& text, int64_t lo, int64_t hi, int64_t& value) {
    if (text.empty() || text.size() > 12) return false;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return false;
    value = v;
    return true;
}

bool parseSeconds(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v) || v < 0.0 || v > 3600.0) return false;
    value = v;
    return true;
}

bool parseWavRequest(const std::string& text, WavImportRequest& request, std::string& error) {
    const size_t equals = text.find('=');
    int64_t slot = 0;
    if (equals == std::string::npos || !parseInteger(text.substr(0, equals), 0, 127, slot)) {
        error = "--wav: '" + text + "': expected SLOT=FILE[:pcm|dpcm|adpcm] with SLOT 0 to 127";
        return false;
    }
    std::string path = text.substr(equals + 1);
    int32_t encoding = 0;
    // The suffix counts only when it names an encoding, so paths may hold colons.
    const size_t colon = path.rfind(':');
    if (colon != std::string::npos) {
        const std::string suffix = path.substr(colon + 1);
        const int32_t code = suffix == "pcm" ? 0 : suffix == "dpcm" ? 1 : suffix == "adpcm" ? 2 : -1;
        if (code >= 0) {
            encoding = code;
            path.resize(colon);
        }
    }
    if (path.empty()) {
        error = "--wav: '" + text + "': no file named";
        return false;
    }
    request.slot = static_cast<int32_t>(slot);
    request.path = path;
    request.encoding = encoding;
    return true;
}

bool takesValue(const std::string& name) {
    static const char* const kNames[] = {"--wav",    "--route",    "--rate",     "--block",    "--polyphony",
                                         "--tail",   "--outputs",  "--tones",    "--samplers", "--samples",
                                         "--plugin", "--state-in", "--state-out"};
    for (const char* n : kNames)
        if (name == n) return true;
    return false;
}

bool applyOption(const std::string& name, const std::string& value, RenderOptions& options,
                 std::string& error) {
    int64_t n = 0;
    if (name == "--wav") {
        WavImportRequest request;
        if (!parseWavRequest(value, request, error)) return false;
        options.wavImports.push_back(request);
    } else if (name == "--route") {
        const size_t equals = value.find('=');
        int64_t part = 0;
        int64_t bus = 0;
        if (equals == std::string::npos || !parseInteger(value.substr(0, equals), 1, 16, part) ||
            !parseInteger(value.substr(equals + 1), 1, 16, bus)) {
            error = "--route: '" + value + "': expected PART=OUT with both from 1 to 16";
            return false;
        }
        options.routes.push_back(PartRoute{static_cast<int32_t>(part - 1), static_cast<int32_t>(bus - 1)});
    } else if (name == "--rate") {
        if (!parseInteger(value, 8000, 384000, n)) {
            error = "--rate: '" + value + "' is not a whole number of Hz from 8000 to 384000";
            return false;
        }
        options.sampleRate = static_cast<uint32_t>(n);
    } else if (name == "--block") {
        if (!parseInteger(value, 1, 8192, n)) {
            error = "--block: '" + value + "' is not a block size from 1 to 8192 frames";
            return false;
        }
        options.blockSize = static_cast<int32_t>(n);
    } else if (name == "--polyphony") {
        if (!parseInteger(value, 1, 1024, n)) {
            error = "--polyphony: '" + value + "' is not a voice count from 1 to 1024";
            return false;
        }
        options.polyphony = static_cast<int32_t>(n);
    } else if (name == "--tail") {
        if (!parseSeconds(value, options.tailSeconds)) {
            error = "--tail: '" + value + "' is not a number of seconds from 0 to 3600";
            return false;
        }
    } else if (name == "--outputs") {
        if (value == "mix") {
            options.outputs = OutputMode::Mix;
        } else if (value == "all") {
            options.outputs = OutputMode::All;
        } else {
            error = "--outputs: '" + value + "' is neither mix nor all";
            return false;
        }
    } else if (value.empty()) {
        error = name + ": no file named";
        return false;
    } else if (name == "--tones") {
        options.tonesPath = value;
    } else if (name == "--samplers") {
        options.samplersPath = value;
    } else if (name == "--plugin") {
        options.pluginPath = value;
    } else if (name == "--state-in") {
        options.stateInPath = value;
    } else if (name == "--state-out") {
        options.stateOutPath = value;
    } else {
        options.samplesPath = value;
    }
    return true;
}

}  // namespace

std::string defaultPluginPath() {
    static const char kBundle[] = "/Corvane Synth PCM.vst3";
    const char* home = std::getenv("HOME");
    const std::string user = home && *home ? std::string(home) + "/.vst3" + kBundle : std::string();
    // The order hosts scan in: a copy built into ~/.vst3 wins over the packaged one.
    for (const std::string& candidate :
         {user, std::string("/usr/lib/vst3") + kBundle, std::string("/usr/local/lib/vst3") + kBundle}) {
        struct stat info {};
        if (!candidate.empty() && stat(candidate.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return candidate;
    }
    return user;
}

const char* renderUsage() {
    return "usage: corvane-render [options] SONG.mid OUT.wav\n"
           "       corvane-render export KIND OUT.txt [--state-in FILE] [--plugin BUNDLE]\n"
           "Renders a Standard MIDI File (format 0 or 1) with the Corvane Synth PCM plug-in,\n"
           "driven as a host drives it, into a 32-bit float stereo WAV file.\n"
           "\n"
           "  --plugin BUNDLE   the plug-in bundle to load\n"
           "                    (default: \"Corvane Synth PCM.vst3\" in the first of ~/.vst3,\n"
           "                    /usr/lib/vst3 and /usr/local/lib/vst3 that has it)\n"
           "  --engine          render with the synthesizer engine directly, no plug-in\n"
           "  --state-in FILE   start the plug-in from this saved state chunk; the options\n"
           "                    below apply on top of it (plug-in only)\n"
           "  --state-out FILE  save the plug-in's state chunk after the render (plug-in only)\n"
           "  --wav SLOT=FILE[:pcm|dpcm|adpcm]  import a WAV file into sample slot 0-127\n"
           "                                    (repeatable; default encoding pcm)\n"
           "  --tones FILE      import tone presets (\"@I:\" lines)\n"
           "  --samplers FILE   import sampler presets (\"@S:\" lines)\n"
           "  --samples FILE    import sample-data parameters (\"@:\" lines), after the WAV files\n"
           "  --route PART=OUT  send part (MIDI channel) 1-16 to stereo output 1-16\n"
           "                    (repeatable; every part plays into output 1 by default)\n"
           "  --rate HZ         render rate, 8000-384000 (default 44100)\n"
           "  --block N         largest block in frames, 1-8192 (default 512)\n"
           "  --polyphony N     voices, 1-1024, rounded up to a power of two (default 128)\n"
           "  --sysex           pass the song's SysEx messages to the synthesizer\n"
           "  --tail SECONDS    audio rendered after the last event (default 2)\n"
           "  --outputs mix|all mix: the 16 outputs summed into OUT.wav (default);\n"
           "                    all: OUT-01.wav ... OUT-16.wav for each output with sound\n"
           "  -h, --help        show this text\n"
           "  --version         show the version (alone)\n"
           "\n"
           "Through the plug-in, the song's notes and SysEx messages go in as events, its\n"
           "controllers, pitch bends and program changes as the parameters the plug-in's\n"
           "MIDI mapping names; channel and key pressure are left out, as a host leaves\n"
           "them out for this plug-in, which would ignore them.\n"
           "\n"
           "Exit status: 0 on success, 2 on any error (nothing is written then).\n";
}

bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error) {
    options = RenderOptions{};
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return true;
        }
        if (arg == "--sysex") {
            options.acceptSysEx = true;
            continue;
        }
        if (arg == "--engine") {
            options.engine = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        const size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            hasValue = true;
        }
        if (!takesValue(name)) {
            error = name + ": unknown option (see --help)";
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= argc || !argv[i + 1]) {
                error = name + ": missing value";
                return false;
            }
            value = argv[++i];
        }
        if (!applyOption(name, value, options, error)) return false;
    }
    if (positional.size() != 2) {
        error = "expected SONG.mid and OUT.wav, got " + std::to_string(positional.size()) +
                " file argument(s) (see --help)";
        return false;
    }
    options.songPath = positional[0];
    options.outPath = positional[1];
    if (options.outPath.empty() || options.songPath.empty()) {
        error = "empty file name";
        return false;
    }
    if (options.engine) {
        const char* conflict = !options.pluginPath.empty()     ? "--plugin"
                               : !options.stateInPath.empty()  ? "--state-in"
                               : !options.stateOutPath.empty() ? "--state-out"
                                                               : nullptr;
        if (conflict) {
            error = std::string(conflict) + ": needs the plug-in, not --engine";
            return false;
        }
    }
    return true;
}

}  // namespace velt::corvane::tools
