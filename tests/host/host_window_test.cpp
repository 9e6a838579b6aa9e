// corvane-host on a virtual X server: the editor shown, its PROGRAM field typed into with
// xdotool, the state saved on quit, the window's picture and a song's recording written.
#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/state_chunk.h"
#include "tests/host/child_process.h"
#include "tests/host/virtual_display.h"

namespace velt::corvane::testing {
namespace {

const std::string kBinary = CORVANE_BINARY_DIR;
constexpr int64_t kFloatWavHeaderBytes = 58;

/// Half a second of one note at 120 bpm, 480 ticks a quarter.
bool writeShortSong(const std::string& path) {
    // clang-format off
    const uint8_t bytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                             'M', 'T', 'r', 'k', 0, 0, 0, 13,
                             0x00, 0x90, 60, 100,
                             0x83, 0x60, 0x80, 60, 0,
                             0x00, 0xFF, 0x2F, 0x00};
    // clang-format on
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    return static_cast<bool>(out);
}

/// Lets the server settle until xdotool gets an answer from it.
bool displayAnswers(const std::string& display) {
    for (int attempt = 0; attempt < 30; ++attempt)
        if (runProgram({"xdotool", "getdisplaygeometry"}, display, 2.0) == 0) return true;
    return false;
}

TEST(HostWindow, NoDisplayIsOneLineAndStatusTwo) {
    const std::string log = kBinary + "/host-no-display.log";
    EXPECT_EQ(
        runProgram({CORVANE_HOST_PATH, "--plugin", CORVANE_BUNDLE_PATH, "--seconds", "1"}, "", 10.0, log), 2);
    EXPECT_EQ(readWholeFile(log), "corvane-host: cannot open display\n");
}

TEST(HostWindow, ProgramTypedIntoTheEditorIsSavedAndTheSongRecorded) {
    const std::string server = findProgram("Xvfb");
    if (server.empty()) GTEST_SKIP() << "Xvfb is not installed";
    if (findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    VirtualDisplay display;
    ASSERT_TRUE(display.start(server));
    ASSERT_TRUE(displayAnswers(display.name()));

    const std::string song = kBinary + "/host-test-song.mid";
    const std::string wav = kBinary + "/host-test-song.wav";
    const std::string stateOut = kBinary + "/host-test-state.bin";
    const std::string shot = kBinary + "/host-test-editor.png";
    const std::string log = kBinary + "/host-test.log";
    ASSERT_TRUE(writeShortSong(song));
    std::remove(wav.c_str());
    std::remove(stateOut.c_str());
    std::remove(shot.c_str());

    ChildProcess host;
    ASSERT_TRUE(
        host.start({CORVANE_HOST_PATH, "--plugin", CORVANE_BUNDLE_PATH, "--seconds", "6", "--state-out",
                    stateOut, "--screenshot", shot, "--screenshot-after", "1", song, wav},
                   display.name(), log));
    const std::string idFile = kBinary + "/host-test-window.txt";
    ASSERT_EQ(runProgram({"xdotool", "search", "--sync", "--onlyvisible", "--name", "Corvane Synth PCM"},
                         display.name(), 10.0, idFile),
              0);
    std::string id = readWholeFile(idFile);
    id = id.substr(0, id.find('\n'));
    ASSERT_FALSE(id.empty());

    const std::string d = display.name();
    // The editor's first drawing and event handling come with its first timer turns.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // The middle of the PROGRAM field, in the window's own coordinates.
    EXPECT_EQ(runProgram({"xdotool", "mousemove", "--window", id, "137", "156", "click", "1"}, d, 5.0), 0);
    EXPECT_EQ(runProgram({"xdotool", "key", "--delay", "20", "End", "BackSpace", "BackSpace", "BackSpace",
                          "BackSpace", "Delete", "Delete", "Delete"},
                         d, 5.0),
              0);
    EXPECT_EQ(runProgram({"xdotool", "type", "--delay", "20", "42"}, d, 5.0), 0);
    EXPECT_EQ(runProgram({"xdotool", "key", "Return"}, d, 5.0), 0);

    EXPECT_EQ(host.wait(15.0), 0) << readWholeFile(log);

    const std::string saved = readWholeFile(stateOut);
    ASSERT_FALSE(saved.empty()) << readWholeFile(log);
    state::MemorySource source(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
    state::StateChunk chunk;
    ASSERT_TRUE(state::readStateChunk(source, chunk).complete);
    EXPECT_EQ(chunk.parts[0].program, 42);

    cairo_surface_t* picture = cairo_image_surface_create_from_png(shot.c_str());
    ASSERT_EQ(cairo_surface_status(picture), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(picture), 528);
    EXPECT_EQ(cairo_image_surface_get_height(picture), 608);
    cairo_surface_destroy(picture);

    // Half a second of song and the 2 s tail, stereo 32-bit float, played whole within 6 s.
    const int64_t frames = 22050 + 2 * 44100;
    EXPECT_EQ(static_cast<int64_t>(readWholeFile(wav).size()), kFloatWavHeaderBytes + frames * 2 * 4);
}

}  // namespace
}  // namespace velt::corvane::testing
