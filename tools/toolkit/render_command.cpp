#include "tools/toolkit/render_command.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "synth/pcm/sample_import.h"
#include "tools/toolkit/engine_session.h"
#include "tools/toolkit/float_wav_writer.h"
#include "tools/toolkit/midi_file_reader.h"
#include "tools/toolkit/render_options.h"
#include "tools/toolkit/render_outputs.h"

#if CORVANE_TOOLKIT_HAS_PRESETFILES
#include "presetfiles/preset_text_import.h"
#endif

namespace velt::corvane::tools {

namespace {

constexpr const char* kProgram = "corvane-render";

int fail(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << '\n';
    return kRenderFailed;
}

void warn(std::ostream& err, const std::string& message) {
    err << kProgram << ": warning: " << message << '\n';
}

/// Imports every --wav request into its slot; false with error set.
bool importWavFiles(const RenderOptions& options, synth::SynthesizerPCM& synth, std::ostream& err,
                    std::string& error) {
    for (const WavImportRequest& request : options.wavImports) {
        PreparedSample prepared = prepareSampleFromFile(request.path.c_str(), request.encoding);
        switch (prepared.result) {
            case SampleImportResult::Imported: break;
            case SampleImportResult::NoSamples:
                warn(err, request.path + ": bit depth cannot be converted; slot " +
                              std::to_string(request.slot) + " is left without samples");
                break;
            case SampleImportResult::Rejected:
                error =
                    request.path +
                    ": not a usable WAV file (RIFF/WAVE integer PCM, 1 or 2 channels, 8 to 32 bits expected)";
                return false;
            case SampleImportResult::Unreadable: error = request.path + ": cannot be read"; return false;
            case SampleImportResult::UnknownEncoding:
                error = request.path + ": unknown encoding";
                return false;
        }
        // The engine is not running yet, so the replaced array can go at once.
        std::unique_ptr<uint32_t[]> previous =
            installPreparedSample(synth.sampleSlot(request.slot), prepared);
    }
    return true;
}

/// Applies the text files in the order tones, samplers, sample data.
bool importTextFiles(const RenderOptions& options, synth::SynthesizerPCM& synth, std::string& error) {
    const std::string* paths[3] = {&options.tonesPath, &options.samplersPath, &options.samplesPath};
    for (int32_t kind = 0; kind < 3; ++kind) {
        const std::string& path = *paths[kind];
        if (path.empty()) continue;
        std::FILE* probe = std::fopen(path.c_str(), "rb");
        if (!probe) {
            error = path + ": cannot open: " + std::strerror(errno);
            return false;
        }
        std::fclose(probe);
#if CORVANE_TOOLKIT_HAS_PRESETFILES
        presetfiles::SoundTables tables;
        tables.tones = synth.tonePresets();
        tables.samplers = synth.samplerPresets();
        tables.slots = synth.sampleData();
        if (!presetfiles::importText(path.c_str(), kind, tables)) {
            error = path + ": cannot be read";
            return false;
        }
#else
        (void)synth;
        error = path + ": this build has no text import";
        return false;
#endif
    }
    return true;
}

std::string formatPeak(const char* label, float peak) {
    char line[96];
    if (peak > 0.0f) {
        std::snprintf(line, sizeof line, "%s: peak %.3f (%.1f dBFS)", label, static_cast<double>(peak),
                      20.0 * std::log10(static_cast<double>(peak)));
    } else {
        std::snprintf(line, sizeof line, "%s: silent", label);
    }
    return line;
}

void printSummary(std::ostream& out, const EngineSession& session, const RenderOutputs& outputs,
                  const RenderOptions& options, const std::vector<std::string>& written) {
    char line[128];
    std::snprintf(line, sizeof line, "rendered %lld frames (%.3f s at %u Hz)",
                  static_cast<long long>(session.framesRendered()),
                  static_cast<double>(session.framesRendered()) / options.sampleRate, options.sampleRate);
    out << line << '\n';
    bool anySound = false;
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        if (!session.carriesSound(bus)) continue;
        anySound = true;
        const std::string label = "out " + std::to_string(bus + 1);
        out << formatPeak(label.c_str(), session.peak(bus)) << '\n';
    }
    if (!anySound) out << "no output carries sound\n";
    if (options.outputs == OutputMode::Mix) out << formatPeak("mix", outputs.mixPeak()) << '\n';
    out << "most voices sounding at once: " << session.mostVoices() << '\n';
    for (const std::string& path : written) out << "wrote " << path << '\n';
}

}  // namespace

int runRenderCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc, argv, options, error)) return fail(err, error);
    if (options.help) {
        out << renderUsage();
        return kRenderOk;
    }

    MidiSong song;
    const MidiFileResult read = readMidiFile(options.songPath.c_str(), song);
    if (!read.ok) return fail(err, options.songPath + ": " + read.message);

    std::unique_ptr<EngineSession> session(new (std::nothrow) EngineSession);
    SessionSettings settings;
    settings.sampleRate = options.sampleRate;
    settings.blockSize = options.blockSize;
    settings.polyphony = options.polyphony;
    settings.acceptSysEx = options.acceptSysEx;
    if (!session || !session->prepare(settings)) return fail(err, "out of memory");
    for (const PartRoute& route : options.routes) session->synthesizer().setPartOutput(route.part, route.bus);
    if (!importWavFiles(options, session->synthesizer(), err, error)) return fail(err, error);
    // After the WAV files, so that sample points are checked against their frame counts.
    if (!importTextFiles(options, session->synthesizer(), error)) return fail(err, error);

    assignFrames(song, options.sampleRate);
    const auto tailFrames = static_cast<int64_t>(std::llround(options.tailSeconds * options.sampleRate));
    const auto limit = static_cast<int64_t>(maxFloatWavFrames(2));
    if (song.endFrame > limit - tailFrames)
        return fail(err, options.songPath + ": song too long for a WAV file (more than " +
                             std::to_string(limit) + " frames with the tail)");
    const int64_t totalFrames = song.endFrame + tailFrames;

    RenderOutputs outputs;
    if (!outputs.open(options.outPath, options.outputs, options.sampleRate, options.blockSize, error))
        return fail(err, error);
    outputs.setProgress(&err, totalFrames, options.sampleRate);
    if (!session->render(song.events, song.sysExBytes, totalFrames, outputs)) {
        outputs.discard();
        return fail(err, outputs.writeError().empty() ? std::string("render failed") : outputs.writeError());
    }
    std::array<bool, kOutputBusCount> keep{};
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) keep[bus] = session->carriesSound(bus);
    std::vector<std::string> written;
    if (!outputs.commit(keep, written, error)) return fail(err, error);
    printSummary(out, *session, outputs, options, written);
    return kRenderOk;
}

}  // namespace velt::corvane::tools
