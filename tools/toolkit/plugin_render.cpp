#include "tools/toolkit/plugin_render.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "tools/toolkit/chunk_files.h"
#include "tools/toolkit/chunk_options.h"
#include "tools/toolkit/plugin_session.h"
#include "tools/toolkit/render_command.h"
#include "tools/toolkit/render_outputs.h"
#include "tools/toolkit/render_summary.h"
#include "tools/toolkit/sound_imports.h"

namespace velt::corvane::tools {

namespace {}  // namespace

int renderWithPlugin(const RenderOptions& options, const MidiSong& song, int64_t totalFrames,
                     std::ostream& out, std::ostream& err) {
    std::string error;
    const std::string bundle = options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath;
    if (bundle.empty())
        return renderFailure(err, "--plugin: not given, and HOME is not set to find the bundle");
    std::unique_ptr<PluginSession> session(new (std::nothrow) PluginSession);
    if (!session) return renderFailure(err, "out of memory");
    if (!session->open(bundle, error)) return renderFailure(err, error);

    // The whole sound goes in as one chunk, the way a host restores a project.
    std::unique_ptr<state::StateChunk> chunk(new (std::nothrow) state::StateChunk);
    if (!chunk) return renderFailure(err, "out of memory");
    if (!options.stateInPath.empty()) {
        if (!readChunkFile(options.stateInPath, *chunk, error)) return renderFailure(err, error);
    } else if (!session->readState(*chunk, error)) {
        return renderFailure(err, bundle + ": " + error);
    }
    if (!applyOptionsToChunk(options, *chunk, err, error)) return renderFailure(err, error);
    if (!session->applyState(state::stateChunkBytes(*chunk), error))
        return renderFailure(err, bundle + ": " + error);
    if (!session->prepare(options.sampleRate, options.blockSize, error))
        return renderFailure(err, bundle + ": " + error);

    RenderOutputs outputs;
    if (!outputs.open(options.outPath, options.outputs, options.sampleRate, options.blockSize, error))
        return renderFailure(err, error);
    outputs.setProgress(&err, totalFrames, options.sampleRate);
    if (!session->render(song.events, song.sysExBytes, totalFrames, outputs, error)) {
        outputs.discard();
        return renderFailure(err,
                             outputs.writeError().empty() ? bundle + ": " + error : outputs.writeError());
    }
    if (session->unmappedMessages() > 0)
        renderWarning(err, std::to_string(session->unmappedMessages()) +
                               " controller, pitch-bend or program messages have no parameter in the "
                               "plug-in's MIDI mapping and were left out");
    if (!options.stateOutPath.empty()) {
        std::vector<uint8_t> saved;
        if (!session->saveState(saved, error) || !writeFileBytes(options.stateOutPath, saved, error)) {
            outputs.discard();
            return renderFailure(err, error);
        }
    }

    RenderStats stats;
    std::array<bool, kOutputBusCount> keep{};
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        keep[bus] = session->carriesSound(bus);
        stats.peaks[bus] = session->peak(bus);
    }
    stats.framesRendered = session->framesRendered();
    std::vector<std::string> written;
    if (!outputs.commit(keep, written, error)) {
        if (!options.stateOutPath.empty()) std::remove(options.stateOutPath.c_str());
        return renderFailure(err, error);
    }
    printRenderSummary(out, stats, outputs, options, written);
    return kRenderOk;
}

}  // namespace velt::corvane::tools
