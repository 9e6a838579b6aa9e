// Colours and fonts shared by every bitmap, so that the pages look like one panel.
#pragma once

namespace velt::corvane::art {

struct Rgb {
    double r;
    double g;
    double b;
};

constexpr Rgb rgb(int r, int g, int b) {
    return Rgb{r / 255.0, g / 255.0, b / 255.0};
}

constexpr const char* kFontFamily = "Arial";

// Panel face and its engraving.
constexpr Rgb kPanelTop = rgb(236, 240, 234);
constexpr Rgb kPanelBottom = rgb(224, 230, 222);
constexpr Rgb kRule = rgb(203, 211, 201);
constexpr Rgb kRuleLight = rgb(248, 250, 247);
constexpr Rgb kPanelEdge = rgb(160, 172, 162);

// Section headings.
constexpr Rgb kHeadingTop = rgb(86, 112, 97);
constexpr Rgb kHeadingBottom = rgb(64, 86, 74);
constexpr Rgb kHeadingText = rgb(238, 244, 238);

// Printed labels; darker than the controls' own text (49, 71, 59).
constexpr Rgb kLabelText = rgb(40, 58, 48);
constexpr Rgb kUnitText = rgb(88, 106, 95);

// Field wells behind the editor's text controls.
constexpr Rgb kWellFill = rgb(250, 252, 248);
constexpr Rgb kWellBorder = rgb(148, 163, 152);
constexpr Rgb kWellShade = rgb(214, 222, 213);
constexpr Rgb kReadoutFill = rgb(240, 244, 238);
constexpr Rgb kReadoutBorder = rgb(184, 195, 186);

// Slider tracks.
constexpr Rgb kGroove = rgb(128, 146, 134);
constexpr Rgb kGrooveDark = rgb(86, 104, 92);
constexpr Rgb kTick = rgb(150, 164, 154);

// Knob handle and menu buttons.
constexpr Rgb kKnobLight = rgb(104, 136, 117);
constexpr Rgb kKnobDark = rgb(50, 72, 60);
constexpr Rgb kKnobEdge = rgb(30, 44, 36);
constexpr Rgb kKnobGrip = rgb(214, 232, 218);
constexpr Rgb kButtonLight = rgb(246, 249, 245);
constexpr Rgb kButtonDark = rgb(208, 217, 208);
constexpr Rgb kButtonPressedLight = rgb(176, 190, 179);
constexpr Rgb kButtonPressedDark = rgb(198, 210, 200);
constexpr Rgb kButtonEdge = rgb(42, 60, 50);

// Logo strips and the library emblem.
constexpr Rgb kLogoTop = rgb(44, 62, 52);
constexpr Rgb kLogoBottom = rgb(26, 38, 32);
constexpr Rgb kLogoText = rgb(238, 244, 238);
constexpr Rgb kAccent = rgb(132, 204, 160);
constexpr Rgb kAccentBright = rgb(176, 236, 196);
constexpr Rgb kMuted = rgb(150, 170, 158);

}  // namespace velt::corvane::art
