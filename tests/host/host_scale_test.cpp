// The editor's scale on a virtual X server whose resource database says Xft.dpi (as xrdb sets
// it on a HiDPI desktop): 96 gives 1, 144 gives 1.5, 192 gives 2; a host's own scale wins.
#include <cairo.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/host/child_process.h"
#include "tests/host/virtual_display.h"

namespace velt::corvane::testing {
namespace {

const std::string kBinary = CORVANE_BINARY_DIR;

struct Picture {
    int width = 0;
    int height = 0;
    double meanGrey = 0.0;  ///< mean of the channels, 0 to 255
};

Picture readPicture(const std::string& path) {
    Picture p;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(s);
        p.width = cairo_image_surface_get_width(s);
        p.height = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        double sum = 0.0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const auto px = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
                sum += ((px >> 16) & 255) + ((px >> 8) & 255) + (px & 255);
            }
        p.meanGrey = p.width > 0 ? sum / (3.0 * p.width * p.height) : 0.0;
    }
    cairo_surface_destroy(s);
    return p;
}

class HostScale : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string server = findProgram("Xvfb");
        if (server.empty()) GTEST_SKIP() << "Xvfb is not installed";
        if (findProgram("xrdb").empty()) GTEST_SKIP() << "xrdb (package x11-xserver-utils) is not installed";
        ASSERT_TRUE(display_.start(server));
    }

    /// The window's picture with the server's Xft.dpi at dpi (0: no resources at all).
    Picture shoot(int dpi, const std::vector<std::string>& extra = {}) {
        const std::string resources = kBinary + "/host-scale.Xresources";
        std::ofstream(resources) << (dpi > 0 ? "Xft.dpi:\t" + std::to_string(dpi) + "\n" : std::string("\n"));
        EXPECT_EQ(runProgram({"xrdb", "-nocpp", "-load", resources}, display_.name(), 10.0), 0);
        const std::string shot = kBinary + "/host-scale-" + std::to_string(dpi) + ".png";
        std::remove(shot.c_str());
        std::vector<std::string> argv = {
            CORVANE_HOST_PATH, "--plugin", CORVANE_BUNDLE_PATH,  "--seconds", "1.5",
            "--screenshot",    shot,       "--screenshot-after", "1"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        const std::string log = kBinary + "/host-scale-" + std::to_string(dpi) + ".log";
        EXPECT_EQ(runProgram(argv, display_.name(), 30.0, log), 0) << readWholeFile(log);
        return readPicture(shot);
    }

    VirtualDisplay display_;
};

TEST_F(HostScale, XftDpiSetsTheScaleWhenTheHostGivesNone) {
    const Picture plain = shoot(96);
    EXPECT_EQ(plain.width, 528);
    EXPECT_EQ(plain.height, 608);
    const Picture none = shoot(0);
    EXPECT_EQ(none.width, 528);
    const Picture half = shoot(144);
    EXPECT_EQ(half.width, 792);
    EXPECT_EQ(half.height, 912);
    const Picture twice = shoot(192);
    EXPECT_EQ(twice.width, 1056);
    EXPECT_EQ(twice.height, 1216);
    // The same picture, only finer: the larger windows are drawn whole, not padded.
    EXPECT_GT(plain.meanGrey, 5.0);
    EXPECT_NEAR(half.meanGrey, plain.meanGrey, 3.0);
    EXPECT_NEAR(twice.meanGrey, plain.meanGrey, 3.0);
}

TEST_F(HostScale, TheHostsScaleWins) {
    const Picture told = shoot(192, {"--scale", "1"});
    EXPECT_EQ(told.width, 528);
    EXPECT_EQ(told.height, 608);
    const Picture raised = shoot(96, {"--scale", "1.5"});
    EXPECT_EQ(raised.width, 792);
    EXPECT_EQ(raised.height, 912);
}

}  // namespace
}  // namespace velt::corvane::testing
