#include "tools/toolkit/render_command.h"

#include <array>
#include <cmath>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "tools/toolkit/engine_session.h"
#include "tools/toolkit/export_command.h"
#include "tools/toolkit/float_wav_writer.h"
#include "tools/toolkit/midi_file_reader.h"
#include "tools/toolkit/plugin_render.h"
#include "tools/toolkit/render_options.h"
#include "tools/toolkit/render_outputs.h"
#include "tools/toolkit/render_summary.h"
#include "tools/toolkit/sound_imports.h"

namespace velt::corvane::tools {

namespace {

int renderWithEngine(const RenderOptions& options, const MidiSong& song, int64_t totalFrames,
                     std::ostream& out, std::ostream& err) {
    std::string error;
    std::unique_ptr<EngineSession> session(new (std::nothrow) EngineSession);
    SessionSettings settings;
    settings.sampleRate = options.sampleRate;
    settings.blockSize = options.blockSize;
    settings.polyphony = options.polyphony;
    settings.acceptSysEx = options.acceptSysEx;
    if (!session || !session->prepare(settings)) return renderFailure(err, "out of memory");
    synth::SynthesizerPCM& synth = session->synthesizer();
    for (const PartRoute& route : options.routes) synth.setPartOutput(route.part, route.bus);
    if (!importWavFiles(options, synth.sampleData(), err, error)) return renderFailure(err, error);
    // After the WAV files, so that sample points are checked against their frame counts.
    const ImportTables tables{synth.tonePresets(), synth.samplerPresets(), synth.sampleData()};
    if (!importTextFiles(options, tables, error)) return renderFailure(err, error);

    RenderOutputs outputs;
    if (!outputs.open(options.outPath, options.outputs, options.sampleRate, options.blockSize, error))
        return renderFailure(err, error);
    outputs.setProgress(&err, totalFrames, options.sampleRate);
    if (!session->render(song.events, song.sysExBytes, totalFrames, outputs)) {
        outputs.discard();
        return renderFailure(
            err, outputs.writeError().empty() ? std::string("render failed") : outputs.writeError());
    }
    RenderStats stats;
    std::array<bool, kOutputBusCount> keep{};
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        keep[bus] = session->carriesSound(bus);
        stats.peaks[bus] = session->peak(bus);
    }
    stats.framesRendered = session->framesRendered();
    stats.mostVoices = session->mostVoices();
    std::vector<std::string> written;
    if (!outputs.commit(keep, written, error)) return renderFailure(err, error);
    printRenderSummary(out, stats, outputs, options, written);
    return kRenderOk;
}

}  // namespace

int runRenderCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc > 1 && std::string(argv[1]) == "export") return runExportCommand(argc - 1, argv + 1, out, err);
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc, argv, options, error)) return renderFailure(err, error);
    if (options.help) {
        out << renderUsage();
        return kRenderOk;
    }

    MidiSong song;
    const MidiFileResult read = readMidiFile(options.songPath.c_str(), song);
    if (!read.ok) return renderFailure(err, options.songPath + ": " + read.message);
    assignFrames(song, options.sampleRate);
    const auto tailFrames = static_cast<int64_t>(std::llround(options.tailSeconds * options.sampleRate));
    const auto limit = static_cast<int64_t>(maxFloatWavFrames(2));
    if (song.endFrame > limit - tailFrames)
        return renderFailure(err, options.songPath + ": song too long for a WAV file (more than " +
                                      std::to_string(limit) + " frames with the tail)");
    const int64_t totalFrames = song.endFrame + tailFrames;

    if (options.engine) return renderWithEngine(options, song, totalFrames, out, err);
    return renderWithPlugin(options, song, totalFrames, out, err);
}

}  // namespace velt::corvane::tools
