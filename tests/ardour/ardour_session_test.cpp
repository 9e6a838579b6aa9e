// Ardour 7 as a host of the built bundle: its scanner loads it, a session with one MIDI track on
// the instrument is built with its Lua tool and completed in the saved file, the session is
// exported from the master bus and compared with corvane-render's render of the same song and
// state, then saved, reloaded and exported again.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ardour/session_xml.h"
#include "tests/ardour/song_files.h"
#include "tests/host/child_process.h"

namespace velt::corvane::testing {
namespace {

const std::string kScanner = "/usr/lib/ardour7/ardour-vst3-scanner";
const std::string kLua = "/usr/bin/ardour7-lua";
const std::string kExport = "/usr/bin/ardour7-export";
const std::string kBundle = CORVANE_BUNDLE_PATH;
const std::string kClassId = "5EA2803C747E41E789E50BF6BDC5DAB4";
const std::string kSessionName = "song";
constexpr int kRate = 48000;
constexpr int64_t kFramesPerTick = 50;      // 120 bpm, 480 ticks a quarter, 48000 Hz
constexpr int64_t kTailFrames = 2 * kRate;  // corvane-render's default tail
constexpr int64_t kSongFrames = kSongLastTick * kFramesPerTick + kTailFrames;
// Ardour now and then exports a session 16 frames late or early; nothing else is excused.
constexpr int64_t kArdourShift = 16;

bool exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

/// A fresh folder for the run, and HOME, XDG and VST3_PATH pointing Ardour into it and at the
/// build tree's bundle, so that neither the user's settings nor ~/.vst3 take part.
std::string hermeticWorkFolder() {
    const std::string work = std::string(CORVANE_BINARY_DIR) + "/ardour-test";
    runProgram({"rm", "-rf", work}, "", 30.0);
    runProgram({"mkdir", "-p", work + "/home", work + "/samples"}, "", 10.0);
    setenv("HOME", (work + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (work + "/home/.config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (work + "/home/.cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (work + "/home/.local/share").c_str(), 1);
    setenv("VST3_PATH", kBundle.substr(0, kBundle.rfind('/')).c_str(), 1);
    return work;
}

std::string lua(const std::string& body) {
    return "AudioEngine:set_backend(\"None (Dummy)\", \"\", \"\")\n"
           "AudioEngine:set_sample_rate(" +
           std::to_string(kRate) +
           ")\n"
           "if AudioEngine:start(false) ~= 0 then io.stderr:write(\"engine did not start\\n\") os.exit(3) "
           "end\n" +
           body + "close_session()\nio.stderr:write(\"lua done\\n\")\n";
}

int runLua(const std::string& work, const std::string& name, const std::string& body) {
    const std::string script = work + "/" + name + ".lua";
    writeFile(script, std::vector<uint8_t>(body.begin(), body.end()));
    return runProgram({kLua, script}, "", 180.0, work + "/" + name + ".log");
}

// Attempts at one export; a whole export takes 3 to 10 s here, the session load included.
constexpr int kExportAttempts = 5;
constexpr double kExportStartSeconds = 30.0;
constexpr double kExportSeconds = 120.0;

/// One run of Ardour's exporter: its exit status, or -1 when it died on a signal or was
/// stopped. A run that has not begun to export (its progress line) kExportStartSeconds after
/// it started is hung (below) and is stopped, so that a hang costs little.
int runExporter(const std::vector<std::string>& argv, const std::string& log, bool& hung) {
    hung = false;
    ChildProcess child;
    if (!child.start(argv, "", log)) return -1;
    const int early = child.wait(kExportStartSeconds);
    if (!child.running()) return early;
    if (readWholeFile(log).find("* Exporting") == std::string::npos) {
        hung = true;
        return -1;
    }
    const int status = child.wait(kExportSeconds);
    hung = child.running();
    return hung ? -1 : status;
}

/// Exports the session range. Ardour's exporter fails now and then in ways of its own, and is
/// run again then (about one attempt in five, counted over 53 runs on one saved session):
/// - it hangs right after loading the session, before exporting: its main thread, starting the
///   export, waits for its butler thread, which waits inside Ardour's transport work; no thread
///   is in the plug-in, whose last call has returned (backtraces of hung runs);
/// - it aborts on a corrupted heap ("free(): invalid next size") late in the export or after
///   it, and the file it leaves may be whole yet partly 16 frames off. The plug-in makes no
///   invalid access in a whole export under valgrind.
/// So only an exporter that ends by itself with status 0 and a whole file counts.
bool exportSession(const std::string& work, const std::string& out, FloatWav& wav, std::string& note) {
    for (int attempt = 1; attempt <= kExportAttempts; ++attempt) {
        std::remove(out.c_str());
        const std::string log = out + "-" + std::to_string(attempt) + ".log";
        bool hung = false;
        const int status = runExporter(
            {kExport, "-b", "float", "-o", out, work + "/" + kSessionName, kSessionName}, log, hung);
        wav = FloatWav{};
        const bool whole = readFloatWav(out, wav) && wav.frames() == kSongFrames;
        if (status == 0 && whole) return true;
        note += out.substr(out.rfind('/') + 1) + " attempt " + std::to_string(attempt) +
                (hung           ? " hung"
                 : status == -1 ? " died on a signal"
                                : " exited " + std::to_string(status)) +
                (whole ? " (its file whole)" : " (no whole file)") + "; ";
    }
    note += readWholeFile(out + "-" + std::to_string(kExportAttempts) + ".log").substr(0, 400);
    return false;
}

/// Frames of a against b at the given shift (a[i] against b[i - shift]), over the frames both have.
struct Difference {
    double largest = 0.0;
    int64_t frame = -1;
};
Difference compare(const FloatWav& a, const FloatWav& b, int64_t shift) {
    Difference d;
    const int64_t frames = std::min(a.frames(), b.frames());
    for (int64_t i = std::max<int64_t>(shift, 0); i < frames + std::min<int64_t>(shift, 0); ++i)
        for (int c = 0; c < 2; ++c) {
            const double e =
                std::fabs(static_cast<double>(a.samples[2 * i + c]) - b.samples[2 * (i - shift) + c]);
            if (e > d.largest) {
                d.largest = e;
                d.frame = i;
            }
        }
    return d;
}

/// Ardour's master bus at unity gain hands the track's samples on unchanged (measured: bit for
/// bit); the bound only allows for float rounding in a gain of exactly 1.
constexpr double kTolerance = 1e-6;

void expectSameAudio(const FloatWav& ardour, const FloatWav& reference, const std::string& what) {
    ASSERT_EQ(ardour.channels, 2) << what;
    ASSERT_EQ(ardour.rate, kRate) << what;
    ASSERT_EQ(ardour.frames(), reference.frames()) << what;
    const Difference same = compare(ardour, reference, 0);
    if (same.largest <= kTolerance) return;
    for (const int64_t shift : {kArdourShift, -kArdourShift}) {
        const Difference shifted = compare(ardour, reference, shift);
        if (shifted.largest <= kTolerance) {
            std::printf("%s: Ardour's export is shifted by exactly %lld frames; accepted\n", what.c_str(),
                        static_cast<long long>(shift));
            return;
        }
    }
    ADD_FAILURE() << what << ": largest difference " << same.largest << " at frame " << same.frame;
}

std::vector<uint8_t> sessionChunk(const std::string& work) {
    const std::string xml = readWholeFile(work + "/" + kSessionName + "/" + kSessionName + ".ardour");
    std::vector<uint8_t> container;
    std::vector<uint8_t> component;
    if (!base64Decode(chunkText(xml), container) || !componentOf(container, component)) return {};
    return component;
}

TEST(Ardour, ScansBuildsExportsAndReloadsASessionThatSoundsAsCorvaneRenderDoes) {
    for (const std::string& program : {kScanner, kLua, kExport})
        if (!exists(program)) GTEST_SKIP() << program << " is not installed (Debian package ardour)";
    const std::string work = hermeticWorkFolder();

    // The scanner loads the bundle and writes what it found into the (temporary) cache, where the
    // Lua tool and the exporter look it up.
    const std::string scanLog = work + "/scan.log";
    ASSERT_EQ(runProgram({"env", "LD_LIBRARY_PATH=/usr/lib/ardour7", kScanner, "-f", "-v", kBundle}, "", 60.0,
                         scanLog),
              0)
        << readWholeFile(scanLog);
    const std::string scan = readWholeFile(scanLog);
    EXPECT_NE(scan.find("Found Plugin: Corvane Synth PCM"), std::string::npos) << scan;
    EXPECT_NE(scan.find("n_outputs=\"32\""), std::string::npos) << scan;
    EXPECT_NE(scan.find("n_midi_inputs=\"1\""), std::string::npos) << scan;

    // The sound: two demo samples, their loop points, SysEx reception on; saved before any song.
    const std::string demo = std::string(CORVANE_SOURCE_DIR) + "/resources/demo/";
    for (const char* name : {"epiano.wav", "bass.wav"})
        ASSERT_TRUE(writeFile(work + "/samples/" + name, readFile(demo + name)));
    ASSERT_TRUE(writeFile(work + "/empty.mid", emptySong()));
    ASSERT_TRUE(writeFile(work + "/song.mid", testSong()));
    const std::string state = work + "/state.bin";
    ASSERT_EQ(runProgram({CORVANE_RENDER_PATH, "--plugin", kBundle, "--rate", std::to_string(kRate),
                          "--sysex", "--wav", "0=" + work + "/samples/epiano.wav", "--wav",
                          "1=" + work + "/samples/bass.wav", "--samples", demo + "demo-samples.txt", "--tail",
                          "0", "--state-out", state, work + "/empty.mid", work + "/empty.wav"},
                         "", 120.0, work + "/state.log"),
              0)
        << readWholeFile(work + "/state.log");
    const std::vector<uint8_t> chunk = readFile(state);
    ASSERT_GT(chunk.size(), 7485u);

    FloatWav reference;
    ASSERT_EQ(runProgram({CORVANE_RENDER_PATH, "--plugin", kBundle, "--rate", std::to_string(kRate),
                          "--state-in", state, work + "/song.mid", work + "/reference.wav"},
                         "", 120.0, work + "/reference.log"),
              0)
        << readWholeFile(work + "/reference.log");
    ASSERT_TRUE(readFloatWav(work + "/reference.wav", reference));
    ASSERT_EQ(reference.frames(), kSongFrames);
    float peak = 0.0f;
    for (const float v : reference.samples) peak = std::max(peak, std::fabs(v));
    ASSERT_GT(peak, 0.1f) << "the reference render is silent";

    // The session: one MIDI track on the instrument, its first stereo output to the master bus.
    const std::string sessionDir = work + "/" + kSessionName;
    ASSERT_EQ(
        runLua(work, "create",
               lua("local s = create_session(\"" + sessionDir + "\", \"" + kSessionName + "\", " +
                   std::to_string(kRate) +
                   ")\n"
                   "if not s then os.exit(4) end\n"
                   "local pi = ARDOUR.LuaAPI.new_plugin_info(\"Corvane Synth PCM\", ARDOUR.PluginType.VST3)\n"
                   "if pi:isnil() then io.stderr:write(\"plug-in not found\\n\") os.exit(5) end\n"
                   "local tl = s:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType(\"midi\"), 1), "
                   "ARDOUR.ChanCount(ARDOUR.DataType(\"audio\"), 2), true, pi, nil, nil, 1, \"Corvane\", "
                   "ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)\n"
                   "if tl:size() ~= 1 then os.exit(6) end\n"
                   "s:save_state(\"\", false, false, false, false, false)\n")),
        0)
        << readWholeFile(work + "/create.log");

    // What the Lua API cannot do: the song, its region, the range, the plug-in's state, and outputs
    // that do not depend on when the Lua tool saved (see wireToMaster).
    const std::string sessionFile = sessionDir + "/" + kSessionName + ".ardour";
    std::string xml = readWholeFile(sessionFile);
    ASSERT_FALSE(xml.empty());
    ASSERT_TRUE(replaceChunk(xml, base64Encode(presetContainer(kClassId, chunk))));
    ASSERT_TRUE(addMidiRegion(xml, "song.mid", "Corvane",
                              int64_t{kSongLastTick} * kArdourTicksPerQuarter / kSongTicksPerQuarter));
    ASSERT_TRUE(setSessionRange(xml, kSongFrames, kRate));
    ASSERT_TRUE(wireToMaster(xml, "Corvane"));
    ASSERT_TRUE(writeFile(sessionFile, std::vector<uint8_t>(xml.begin(), xml.end())));
    // Ardour looks for the session's own files under interchange/<folder name>/.
    ASSERT_TRUE(writeFile(sessionDir + "/interchange/" + kSessionName + "/midifiles/song.mid", testSong()));

    FloatWav first;
    std::string note;
    ASSERT_TRUE(exportSession(work, work + "/export-1.wav", first, note)) << note;
    expectSameAudio(first, reference, "first export");

    // Saved by Ardour and read back: the chunk it stores is ours, byte for byte, and sounds the same.
    ASSERT_EQ(
        runLua(work, "resave",
               lua("local s = load_session(\"" + sessionDir + "\", \"" + kSessionName +
                   "\")\n"
                   "if not s then os.exit(4) end\n"
                   "if s:save_state(\"\", false, false, false, false, false) ~= 0 then os.exit(5) end\n")),
        0)
        << readWholeFile(work + "/resave.log");
    EXPECT_EQ(sessionChunk(work), chunk);
    FloatWav second;
    ASSERT_TRUE(exportSession(work, work + "/export-2.wav", second, note)) << note;
    expectSameAudio(second, reference, "export after save and reload");
    if (!note.empty()) std::printf("%s\n", note.c_str());
}

}  // namespace
}  // namespace velt::corvane::testing
