// The eight bitmaps of the plug-in window: file names, pixel sizes and frame counts.
#pragma once

namespace velt::corvane::art {

struct BitmapEntry {
    const char* file;
    int width;
    int height;
    int frames;  // frames are stacked vertically, each height / frames tall
};

constexpr BitmapEntry kBitmaps[] = {
    {"bg0.png", 528, 240, 1}, {"bg1.png", 528, 216, 1},     {"bg2.png", 528, 216, 1},
    {"bg3.png", 528, 152, 1}, {"knob0.png", 10, 22, 1},     {"menu.png", 28, 40, 2},
    {"logo.png", 528, 92, 2}, {"libLogo.png", 260, 700, 2},
};

}  // namespace velt::corvane::art
