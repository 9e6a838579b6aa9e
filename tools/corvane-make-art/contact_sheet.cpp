#include "tools/corvane-make-art/contact_sheet.h"

#include <cairo.h>

#include <cstring>

#include "tools/corvane-make-art/art_catalog.h"
#include "tools/corvane-make-art/page_layouts.h"
#include "tools/corvane-make-art/panel_painter.h"

namespace velt::corvane::art {

namespace {

constexpr std::size_t kCount = sizeof(kBitmaps) / sizeof(kBitmaps[0]);
constexpr Rgb kControlText = rgb(49, 71, 59);
constexpr Rgb kSheetFace = rgb(92, 96, 94);
constexpr Rgb kCaption = rgb(230, 232, 230);

struct Loaded {
    cairo_surface_t* images[kCount] = {};
    ~Loaded() {
        for (cairo_surface_t* s : images) {
            if (s != nullptr) cairo_surface_destroy(s);
        }
    }
    cairo_surface_t* get(const char* file) const {
        for (std::size_t i = 0; i < kCount; ++i) {
            if (std::strcmp(kBitmaps[i].file, file) == 0) return images[i];
        }
        return nullptr;
    }
};

// Paints one frame of a stacked bitmap at (x, y), optionally enlarged.
void paintFrame(cairo_t* cr, cairo_surface_t* s, int frame, int frameHeight, double x, double y,
                double zoom) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, zoom, zoom);
    cairo_rectangle(cr, 0, 0, cairo_image_surface_get_width(s), frameHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, s, 0, -frame * frameHeight);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

const char* sampleText(const FieldRow& r) {
    if (std::strcmp(r.label, "PART") == 0) return "0 [MIDI CH 1]";
    if (std::strcmp(r.label, "MODE") == 0) return "1 [Instrument]";
    if (std::strcmp(r.label, "STRC") == 0) return "1 [LFO PM]";
    if (std::strcmp(r.unit, "(dB)") == 0) return "-6.0";
    if (std::strcmp(r.unit, "(Hz)") == 0) return "440.0";
    switch (r.kind) {
        case FieldKind::Name: return "preset Name";
        case FieldKind::Entry: return r.labelWidth == 128 && r.x > 200 ? "44100.0" : "12800";
        case FieldKind::Readout: return r.y == 120 ? "true" : "25600";
        default: return "64";
    }
}

// What the editor draws on top of a page: handles on the sliders, values in the fields.
void paintControls(cairo_t* cr, const PageLayout& p, cairo_surface_t* knob, cairo_surface_t* menu, double x,
                   double y) {
    for (std::size_t i = 0; i < p.headingCount; ++i) {
        paintFrame(cr, menu, 0, 20, x + p.headings[i].menuX, y + p.headings[i].menuY, 1);
    }
    for (std::size_t i = 0; i < p.rowCount; ++i) {
        const FieldRow& r = p.rows[i];
        const Box b = controlBox(r);
        if (r.kind == FieldKind::Slider) {
            const double frac = 0.15 + 0.17 * static_cast<double>(i % 5);
            paintFrame(cr, knob, 0, 22, x + b.left + static_cast<int>(r.width * frac), y + b.top, 1);
            continue;
        }
        selectFont(cr, 12, false);
        setColour(cr, kControlText);
        const char* text = sampleText(r);
        if (std::strlen(r.unit) > 0) {
            drawTextLeft(cr, text, x + b.left + 2, y + (b.top + b.bottom) / 2.0);
        } else {
            drawTextCentred(cr, text, x + (b.left + b.right) / 2.0, y + (b.top + b.bottom) / 2.0);
        }
    }
}

void caption(cairo_t* cr, const char* text, double x, double y) {
    selectFont(cr, 12, true);
    setColour(cr, kCaption);
    drawTextLeft(cr, text, x, y);
}

// The window as the editor builds it, with the given middle page.
void paintWindow(cairo_t* cr, const Loaded& art, const PageLayout& middle, double x, double y) {
    cairo_surface_t* knob = art.get("knob0.png");
    cairo_surface_t* menu = art.get("menu.png");
    paintFrame(cr, art.get("bg0.png"), 0, 240, x, y, 1);
    paintFrame(cr, art.get("logo.png"), 0, 46, x, y, 1);
    paintControls(cr, kPages[0], knob, menu, x, y);
    paintFrame(cr, art.get(middle.file), 0, 216, x, y + 240, 1);
    paintControls(cr, middle, knob, menu, x, y + 240);
    paintFrame(cr, art.get("bg3.png"), 0, 152, x, y + 456, 1);
    paintControls(cr, kPages[3], knob, menu, x, y + 456);
}

}  // namespace

bool writeContactSheet(const std::string& artDir, const std::string& sheetPath) {
    Loaded art;
    for (std::size_t i = 0; i < kCount; ++i) {
        const std::string path = artDir + "/" + kBitmaps[i].file;
        art.images[i] = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(art.images[i]) != CAIRO_STATUS_SUCCESS) return false;
    }

    const int width = 20 + 528 + 20 + 528 + 20 + 260 + 20, height = 30 + 700 + 40 + 120;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(sheet);
    setColour(cr, kSheetFace);
    cairo_paint(cr);

    caption(cr, "window, tone page (bg0 + logo, bg1, bg3)", 20, 15);
    paintWindow(cr, art, kPages[1], 20, 30);
    caption(cr, "window, sampler page (bg2)", 568, 15);
    paintWindow(cr, art, kPages[2], 568, 30);
    caption(cr, "libLogo.png, both frames", 1116, 15);
    paintFrame(cr, art.get("libLogo.png"), 0, 350, 1116, 30, 1);
    paintFrame(cr, art.get("libLogo.png"), 1, 350, 1116, 380, 1);

    const double row = 30 + 700 + 30;
    caption(cr, "logo.png, both frames", 20, row - 12);
    paintFrame(cr, art.get("logo.png"), 0, 46, 20, row, 1);
    paintFrame(cr, art.get("logo.png"), 1, 46, 20, row + 56, 1);
    caption(cr, "menu.png x3, both frames", 568, row - 12);
    paintFrame(cr, art.get("menu.png"), 0, 20, 568, row, 3);
    paintFrame(cr, art.get("menu.png"), 1, 20, 568 + 100, row, 3);
    caption(cr, "knob0.png x3", 800, row - 12);
    paintFrame(cr, art.get("knob0.png"), 0, 22, 800, row, 3);

    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(sheet, sheetPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return ok;
}

}  // namespace velt::corvane::art
