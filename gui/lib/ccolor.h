#pragma once
#include <cstdint>

namespace VSTGUI {

/** An 8-bit RGBA colour; alpha 0 is fully transparent. */
struct CColor {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
    uint8_t alpha = 255;

    constexpr CColor() = default;
    constexpr CColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
        : red(r), green(g), blue(b), alpha(a) {}

    double normRed() const { return red / 255.0; }
    double normGreen() const { return green / 255.0; }
    double normBlue() const { return blue / 255.0; }
    double normAlpha() const { return alpha / 255.0; }

    bool operator==(const CColor& c) const {
        return red == c.red && green == c.green && blue == c.blue && alpha == c.alpha;
    }
    bool operator!=(const CColor& c) const { return !(*this == c); }
};

constexpr CColor kTransparentCColor(0, 0, 0, 0);
constexpr CColor kBlackCColor(0, 0, 0, 255);
constexpr CColor kWhiteCColor(255, 255, 255, 255);
constexpr CColor kGreyCColor(127, 127, 127, 255);
constexpr CColor kRedCColor(255, 0, 0, 255);
constexpr CColor kGreenCColor(0, 255, 0, 255);
constexpr CColor kBlueCColor(0, 0, 255, 255);

}  // namespace VSTGUI
