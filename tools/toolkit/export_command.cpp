#include "tools/toolkit/export_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "tools/toolkit/chunk_files.h"
#include "tools/toolkit/plugin_session.h"
#include "tools/toolkit/render_command.h"
#include "tools/toolkit/render_options.h"
#include "tools/toolkit/render_summary.h"

namespace velt::corvane::tools {

namespace {

struct ExportKind {
    const char* name;
    int64_t request;  ///< the editor's file request code
};

constexpr ExportKind kKinds[] = {
    {"tones", 0x9100},       {"samplers", 0x9200},       {"samples", 0x9500},
    {"tones-sysex", 0x9300}, {"samplers-sysex", 0x9400},
};

bool fileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

}  // namespace

const char* exportUsage() {
    return "usage: corvane-render export KIND OUT.txt [--state-in FILE] [--plugin BUNDLE]\n"
           "Writes the plug-in's tone presets, sampler presets or sample-data parameters\n"
           "as text, or its presets as a SysEx listing, as the editor's export does.\n"
           "\n"
           "  KIND              tones, samplers, samples, tones-sysex or samplers-sysex\n"
           "  --state-in FILE   export from this saved state chunk (default: a new instance)\n"
           "  --plugin BUNDLE   the plug-in bundle to load\n"
           "                    (default: \"Corvane Synth PCM.vst3\" in the first of ~/.vst3,\n"
           "                    /usr/lib/vst3 and /usr/local/lib/vst3 that has it)\n"
           "\n"
           "Exit status: 0 on success, 2 on any error (nothing is written then).\n";
}

int runExportCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::string kind, outPath, stateIn, plugin;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            out << exportUsage();
            return kRenderOk;
        }
        if (arg == "--state-in" || arg == "--plugin") {
            if (i + 1 >= argc) return renderFailure(err, arg + ": needs a value");
            (arg == "--state-in" ? stateIn : plugin) = argv[++i];
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') return renderFailure(err, arg + ": unknown option of export");
        if (positional == 0)
            kind = arg;
        else if (positional == 1)
            outPath = arg;
        else
            return renderFailure(err, arg + ": export takes KIND and OUT.txt only");
        ++positional;
    }
    if (positional < 2) return renderFailure(err, "export: KIND and OUT.txt expected (see export --help)");
    const ExportKind* chosen = nullptr;
    for (const ExportKind& k : kKinds)
        if (kind == k.name) chosen = &k;
    if (!chosen)
        return renderFailure(err,
                             kind + ": unknown KIND (tones, samplers, samples, tones-sysex, samplers-sysex)");

    std::string error;
    const std::string bundle = plugin.empty() ? defaultPluginPath() : plugin;
    if (bundle.empty())
        return renderFailure(err, "--plugin: not given, and HOME is not set to find the bundle");
    std::unique_ptr<PluginSession> session(new (std::nothrow) PluginSession);
    if (!session) return renderFailure(err, "out of memory");
    if (!session->open(bundle, error)) return renderFailure(err, error);
    if (!stateIn.empty()) {
        std::unique_ptr<state::StateChunk> chunk(new (std::nothrow) state::StateChunk);
        if (!chunk) return renderFailure(err, "out of memory");
        if (!readChunkFile(stateIn, *chunk, error)) return renderFailure(err, error);
        if (!session->applyState(state::stateChunkBytes(*chunk), error))
            return renderFailure(err, bundle + ": " + error);
    }

    // The plug-in reports nothing back, so it writes beside the target and the file is
    // moved into place only once it exists: a failed export leaves an older file alone.
    const std::string temporary = outPath + ".part";
    std::remove(temporary.c_str());
    if (!session->sendFileRequest(chosen->request, temporary, error))
        return renderFailure(err, bundle + ": " + error);
    if (!fileExists(temporary)) return renderFailure(err, outPath + ": cannot be written");
    if (std::rename(temporary.c_str(), outPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        return renderFailure(err, outPath + ": cannot be written: " + std::strerror(errno));
    }
    out << "wrote " << outPath << '\n';
    return kRenderOk;
}

}  // namespace velt::corvane::tools
