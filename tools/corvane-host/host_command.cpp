#include "tools/corvane-host/host_command.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "tools/corvane-host/editor_loop.h"
#include "tools/corvane-host/host_component_handler.h"
#include "tools/corvane-host/host_options.h"
#include "tools/corvane-host/host_window.h"
#include "tools/corvane-host/live_driver.h"
#include "tools/corvane-host/live_player.h"
#include "tools/corvane-host/stop_signals.h"
#include "tools/toolkit/chunk_files.h"
#include "tools/toolkit/float_wav_writer.h"
#include "tools/toolkit/midi_file_reader.h"
#include "tools/toolkit/plugin_session.h"
#include "tools/toolkit/render_options.h"
#if CORVANE_HOST_HAS_JACK
#include "tools/corvane-host/jack_driver.h"
#include "tools/corvane-host/jack_host.h"
#endif

namespace velt::corvane::tools {

namespace {

constexpr uint32_t kSampleRate = 44100;
constexpr int32_t kBlockSize = 512;
constexpr int64_t kTailFrames = 2 * kSampleRate;

int failure(std::ostream& err, const std::string& message) {
    err << "corvane-host: " << message << '\n';
    return kHostFailed;
}

// Xlib's default handler ends the process on any protocol error; a window that went away
// under a request is not worth that, and the request that failed reports it.
int tolerateXError(Display*, XErrorEvent*) {
    return 0;
}

/// The song read and timed at the host's rate, with its length and tail; false with error set.
bool loadSong(const std::string& path, MidiSong& song, int64_t& totalFrames, std::string& error) {
    const MidiFileResult read = readMidiFile(path.c_str(), song);
    if (!read.ok) {
        error = path + ": " + read.message;
        return false;
    }
    assignFrames(song, kSampleRate);
    const auto limit = static_cast<int64_t>(maxFloatWavFrames(2));
    if (song.endFrame > limit - kTailFrames) {
        error = path + ": song too long for a WAV file";
        return false;
    }
    totalFrames = song.endFrame + kTailFrames;
    return true;
}

/// The instance loaded and given --state-in's chunk, processing at the host's own rate unless
/// JACK sets it up; false with error set.
bool openSession(const HostOptions& options, PluginSession& session, HostComponentHandler& handler,
                 std::string& error) {
    const std::string bundle = options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath;
    if (bundle.empty()) {
        error = "--plugin: not given, and HOME is not set to find the bundle";
        return false;
    }
    if (!session.open(bundle, error)) return false;
    if (!options.stateInPath.empty()) {
        std::unique_ptr<state::StateChunk> chunk(new (std::nothrow) state::StateChunk);
        if (!chunk) {
            error = "out of memory";
            return false;
        }
        if (!readChunkFile(options.stateInPath, *chunk, error)) return false;
        if (!session.applyState(state::stateChunkBytes(*chunk), error)) {
            error = bundle + ": " + error;
            return false;
        }
    }
    session.instance()->controller()->setComponentHandler(&handler);
    if (options.jack) return true;
    if (!session.prepare(kSampleRate, kBlockSize, error)) {
        error = bundle + ": " + error;
        return false;
    }
    return true;
}

/// The view (or no view) while driver runs; false with error.
bool runLoop(const HostOptions& options, PluginSession& session, HostWindow& window, LoopDriver& driver,
             std::string& error) {
    if (options.noEditor) return runHeadlessLoop(driver, options.seconds, error);
    EditorLoopSettings settings;
    settings.seconds = options.seconds;
    settings.screenshotPath = options.screenshotPath;
    settings.screenshotAfter = options.screenshotAfter;
    settings.scale = options.scale;
    return runEditorLoop(*session.instance()->controller(), window, driver, settings, error);
}

bool saveStateOut(const HostOptions& options, PluginSession& session, std::string& error) {
    if (options.stateOutPath.empty()) return true;
    std::vector<uint8_t> saved;
    return session.saveState(saved, error) && writeFileBytes(options.stateOutPath, saved, error);
}

#if CORVANE_HOST_HAS_JACK
/// The live part of --jack: the client open until the loop ends; the exit status.
int runJack(const HostOptions& options, PluginSession& session, HostComponentHandler& handler,
            HostWindow& window, std::ostream& out, std::ostream& err) {
    std::string error;
    std::unique_ptr<JackHost> jack(new (std::nothrow) JackHost(session));
    if (!jack) return failure(err, "out of memory");
    JackHostSettings settings;
    settings.mix = options.mix;
    settings.connect = options.connect;
    if (!jack->open(settings, error)) return failure(err, error);
    JackDriver driver(*jack, handler, options.verbose ? &out : nullptr);
    const bool ran = runLoop(options, session, window, driver, error);
    // What the view changed last still reaches the processor before its state is saved.
    if (!driver.serverGone()) jack->drainEdits(handler);
    jack->close();
    session.instance()->controller()->setComponentHandler(nullptr);
    // The musician's edits are kept even when the server went away.
    std::string saveError;
    const bool saved = (ran || driver.serverGone()) && saveStateOut(options, session, saveError);
    if (!ran) return failure(err, error);
    if (!saved) return failure(err, saveError);
    return kHostOk;
}
#else
int runJack(const HostOptions&, PluginSession&, HostComponentHandler&, HostWindow&, std::ostream&,
            std::ostream& err) {
    return failure(err, "--jack: this corvane-host was built without JACK");
}
#endif

}  // namespace

int runHostCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    HostOptions options;
    std::string error;
    if (!parseHostOptions(argc, argv, options, error)) return failure(err, error);
    if (options.help) {
        out << hostUsage();
        return kHostOk;
    }
    std::unique_ptr<MidiSong> song;
    int64_t totalFrames = 0;
    if (!options.songPath.empty()) {
        song.reset(new (std::nothrow) MidiSong);
        if (!song) return failure(err, "out of memory");
        if (!loadSong(options.songPath, *song, totalFrames, error)) return failure(err, error);
    }

    catchStopSignals();
    // Declared before the session: the window outlives the instance whose view it held.
    HostWindow window;
    if (!options.noEditor) {
        if (!window.openDisplay()) return failure(err, "cannot open display");
        XSetErrorHandler(tolerateXError);
    }

    HostComponentHandler handler;
    std::unique_ptr<PluginSession> session(new (std::nothrow) PluginSession);
    if (!session) return failure(err, "out of memory");
    if (!openSession(options, *session, handler, error)) return failure(err, error);
    if (options.jack) return runJack(options, *session, handler, window, out, err);
    std::unique_ptr<LivePlayer> player(new (std::nothrow) LivePlayer(*session, handler));
    if (!player || !player->ready()) return failure(err, "out of memory");
    if (song && !player->startSong(*song, totalFrames, options.outPath, error)) return failure(err, error);

    LiveDriver driver(*player);
    const bool shown = runLoop(options, *session, window, driver, error);
    std::string late;
    // What the view changed last still reaches the processor before its state is saved.
    bool ok = player->flushEdits(late) && player->finishSong(late);
    session->instance()->controller()->setComponentHandler(nullptr);
    if (!shown) return failure(err, error);
    if (!ok) return failure(err, late);

    if (!saveStateOut(options, *session, error)) return failure(err, error);
    if (song)
        out << options.outPath << ": " << static_cast<double>(player->songFramesPlayed()) / kSampleRate
            << " s of " << static_cast<double>(totalFrames) / kSampleRate << " s played\n";
    return kHostOk;
}

}  // namespace velt::corvane::tools
