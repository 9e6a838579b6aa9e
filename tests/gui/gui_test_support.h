#pragma once
// Shared pieces of the GUI tests: bitmaps made on the fly, a recording listener and an
// off-screen frame.
#include <cairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/offscreen/offscreen_window.h"
#include "gui/vstgui.h"

namespace guitest {

using namespace VSTGUI;

inline std::string testFolder(const std::string& name) {
    std::string dir = std::string(CORVANE_BINARY_DIR) + "/gui-tests";
    mkdir(dir.c_str(), 0755);
    dir += "/" + name;
    mkdir(dir.c_str(), 0755);
    return dir;
}

/** Writes a PNG of w × h filled with one colour per frame (frames stacked vertically). */
inline void writeFramesPng(const std::string& path, int w, int frameHeight,
                           const std::vector<CColor>& frames) {
    int h = frameHeight * static_cast<int>(frames.size());
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    for (size_t i = 0; i < frames.size(); ++i) {
        const CColor& c = frames[i];
        cairo_set_source_rgba(cr, c.normRed(), c.normGreen(), c.normBlue(), c.normAlpha());
        cairo_rectangle(cr, 0, static_cast<double>(i) * frameHeight, w, frameHeight);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    // Written aside and renamed: test programs running at the same time never see half a file.
    std::string temp = path + ".tmp" + std::to_string(getpid());
    cairo_surface_write_to_png(s, temp.c_str());
    cairo_surface_destroy(s);
    std::rename(temp.c_str(), path.c_str());
}

/** A resource folder with the bitmaps the tests use. */
inline std::string makeResources() {
    std::string dir = testFolder("resources");
    writeFramesPng(dir + "/bg.png", 100, 60, {CColor(10, 200, 30)});
    writeFramesPng(dir + "/button.png", 20, 10, {CColor(200, 0, 0), CColor(0, 0, 200)});
    writeFramesPng(dir + "/knob.png", 10, 22, {CColor(250, 250, 0)});
    setResourceFolder(dir);
    return dir;
}

struct RecordingListener : IControlListener {
    struct Change {
        CControl* control;
        float value;
    };
    std::vector<Change> changes;
    int begins = 0;
    int ends = 0;
    void valueChanged(CControl* c) override { changes.push_back({c, c->getValue()}); }
    void controlBeginEdit(CControl*) override { ++begins; }
    void controlEndEdit(CControl*) override { ++ends; }
};

/** An off-screen frame of the given size, opened on its own run loop. */
struct OffscreenFrame {
    explicit OffscreenFrame(const CRect& size = CRect(0, 0, 200, 150), double scale = 1.0) {
        frame = new CFrame(size, nullptr);
        if (scale != 1.0) frame->setScaleFactor(scale);
        frame->open(nullptr);
        window = OffscreenWindow::of(frame);
    }
    ~OffscreenFrame() {
        if (frame) frame->forget();
    }
    OffscreenSession session;
    CFrame* frame = nullptr;
    OffscreenWindow* window = nullptr;
};

}  // namespace guitest
