// The rows of every editor page: where each control sits and which label the background prints.
// Header-only and free of cairo so that tests can check the bitmaps against the same tables.
#pragma once

#include <cstddef>

namespace velt::corvane::art {

enum class FieldKind {
    Slider,   // horizontal slider with the knob handle
    Number,   // numeric text field that mirrors a slider
    Choice,   // drop-down choice field
    Name,     // preset-name text field
    Entry,    // free text field (sample-data values)
    Readout,  // read-only text label
};

/** Where a row's unit caption goes: right of the control, or over it in the heading strip
    just above the row (where the row has no room left for it). */
enum class UnitPlace { After, Above };

/** One control of a page in page coordinates; label is printed left of it, unit beside it. */
struct FieldRow {
    int x;
    int y;
    FieldKind kind;
    int labelWidth;
    int width;
    const char* label;  // empty when the row's label belongs to another control of the row
    const char* unit;   // small caption, empty when none
    UnitPlace unitPlace = UnitPlace::After;
};

/** A section heading strip with the page's menu button at (menuX, menuY). */
struct Heading {
    int top;
    int height;
    int menuX;
    int menuY;
    const char* title;
};

/** Pixel rectangle, right and bottom exclusive. */
struct Box {
    int left;
    int top;
    int right;
    int bottom;
};

/** Where the editor puts the control of a row. */
constexpr Box controlBox(const FieldRow& r) {
    const int left = r.x + r.labelWidth + 1;
    const int right = r.kind == FieldKind::Slider ? left + r.width + 10 : left + r.width;
    return Box{left, r.y + 1, right, r.y + 23};
}

constexpr int kRowHeight = 24;
/** Width of the drop-down arrow compartment at the right end of a choice well. */
constexpr int kChoiceArrowWidth = 20;
constexpr int kSliderLabel = 160;
constexpr int kSliderWidth = 84;
constexpr int kMirrorLabel = 96;
constexpr int kMirrorWidth = 64;

constexpr FieldRow slider(int x, int y, const char* label) {
    return FieldRow{x, y, FieldKind::Slider, kSliderLabel, kSliderWidth, label, ""};
}
constexpr FieldRow mirror(int x, int y) {
    return FieldRow{x, y, FieldKind::Number, kMirrorLabel, kMirrorWidth, "", ""};
}

// clang-format off
// Top page: logo strip, SYNTH and PART sections.
constexpr Heading kTopHeadings[] = {
    {48, 23, 8, 50, "SYNTH"},
    {96, 23, 8, 98, "PART"},
};
constexpr FieldRow kTopRows[] = {
    // The decibel and hertz fields are wide enough for their six decimals ("-96.000000").
    slider(8, 72, "MAIN VOUME"),
    {8, 72, FieldKind::Number, 86, 74, "", "(dB)", UnitPlace::Above},
    slider(264, 72, "REF PITCH"),
    {264, 72, FieldKind::Number, 86, 74, "", "(Hz)", UnitPlace::Above},
    {8, 120, FieldKind::Choice, 96, 142, "PART", ""},
    {264, 120, FieldKind::Choice, 96, 142, "MODE", ""},
    slider(8, 144, "PROGRAM"),      mirror(8, 144),
    slider(264, 144, "BENDSENS"),   mirror(264, 144),
    slider(8, 168, "PITCHBEND"),    mirror(8, 168),
    slider(264, 168, "MODULATION"), mirror(264, 168),
    slider(8, 192, "VOLUME"),       mirror(8, 192),
    slider(264, 192, "PAN"),        mirror(264, 192),
    slider(8, 216, "EXPRESSION"),   mirror(8, 216),
};

// Tone-preset page; the left rows at y 72 and 96 stay free.
constexpr Heading kToneHeadings[] = {{0, 23, 8, 2, "TONE PRESET"}};
constexpr FieldRow kToneRows[] = {
    slider(8, 24, "PRESET NUM"),    mirror(8, 24),
    {264, 24, FieldKind::Name, 96, 160, "TONE NAME", ""},
    {8, 48, FieldKind::Choice, 96, 142, "STRC", ""},
    slider(8, 120, "LFO FREQ"),     mirror(8, 120),
    slider(8, 144, "LMS"),          mirror(8, 144),
    slider(8, 168, "TUNE"),         mirror(8, 168),
    slider(8, 192, "SAMPLE NUM"),   mirror(8, 192),
    slider(264, 48, "TL"),          mirror(264, 48),
    slider(264, 72, "AR"),          mirror(264, 72),
    slider(264, 96, "DR"),          mirror(264, 96),
    slider(264, 120, "SL"),         mirror(264, 120),
    slider(264, 144, "RR"),         mirror(264, 144),
    slider(264, 168, "KF"),         mirror(264, 168),
    slider(264, 192, "KF START"),   mirror(264, 192),
};

// Sampler-preset page.
constexpr Heading kSamplerHeadings[] = {{0, 23, 8, 2, "SAMPLER PRESET"}};
constexpr FieldRow kSamplerRows[] = {
    slider(8, 24, "KEY NUM"),       mirror(8, 24),
    {264, 24, FieldKind::Name, 96, 160, "toneName", ""},
    slider(8, 48, "SAMPLE NUM"),    mirror(8, 48),
    slider(264, 48, "PAN"),         mirror(264, 48),
    slider(8, 72, "OCTV"),          mirror(8, 72),
    slider(264, 72, "TUNE"),        mirror(264, 72),
    slider(8, 96, "TL"),            mirror(8, 96),
    slider(264, 96, "AR"),          mirror(264, 96),
    slider(8, 120, "DR"),           mirror(8, 120),
    slider(264, 120, "SL"),         mirror(264, 120),
    slider(8, 144, "RR"),           mirror(8, 144),
};

// Sample-data page.
constexpr Heading kSampleHeadings[] = {{0, 23, 8, 2, "SAMPLE DATA"}};
constexpr FieldRow kSampleRows[] = {
    slider(8, 24, "SAMPLE NUM"),    mirror(8, 24),
    {264, 24, FieldKind::Readout, 128, 128, "SAMPLE FRAMES", ""},
    {264, 48, FieldKind::Readout, 128, 128, "CHANNEL COUNT", ""},
    {264, 72, FieldKind::Entry, 128, 96, "SAMPLE RATE (Hz)", ""},
    {264, 96, FieldKind::Entry, 128, 96, "PITCH (Hz)", ""},
    {264, 120, FieldKind::Readout, 128, 128, "LOOPABLE", ""},
    {8, 48, FieldKind::Entry, 128, 128, "PLAYBACK START", ""},
    {8, 72, FieldKind::Entry, 128, 128, "PLAYBACK END", ""},
    {8, 96, FieldKind::Entry, 128, 128, "LOOP START", ""},
    {8, 120, FieldKind::Entry, 128, 128, "LOOP END", ""},
};

// clang-format on

/** One background bitmap with its tables. */
struct PageLayout {
    const char* file;
    int width;
    int height;
    const Heading* headings;
    std::size_t headingCount;
    const FieldRow* rows;
    std::size_t rowCount;
};

template <std::size_t H, std::size_t R>
constexpr PageLayout page(const char* file, int height, const Heading (&h)[H], const FieldRow (&r)[R]) {
    return PageLayout{file, 528, height, h, H, r, R};
}

constexpr PageLayout kPages[] = {
    page("bg0.png", 240, kTopHeadings, kTopRows),
    page("bg1.png", 216, kToneHeadings, kToneRows),
    page("bg2.png", 216, kSamplerHeadings, kSamplerRows),
    page("bg3.png", 152, kSampleHeadings, kSampleRows),
};

/** Height of the logo button that covers the top of the top page. */
constexpr int kLogoHeight = 46;

/** Right edge of the printed label of a row: up to the first control that starts in the row. */
inline int labelRight(const PageLayout& p, const FieldRow& row) {
    int right = row.x + row.labelWidth;
    for (std::size_t i = 0; i < p.rowCount; ++i) {
        const FieldRow& other = p.rows[i];
        if (other.x == row.x && other.y == row.y && other.x + other.labelWidth < right) {
            right = other.x + other.labelWidth;
        }
    }
    return right;
}

}  // namespace velt::corvane::art
