#include "tools/corvane-make-art/art_set.h"

#include <cstring>

#include "tools/corvane-make-art/control_bitmaps.h"
#include "tools/corvane-make-art/logo_bitmaps.h"
#include "tools/corvane-make-art/page_backgrounds.h"

namespace velt::corvane::art {

namespace {

void drawFrame(cairo_t* cr, const BitmapEntry& entry, int frame) {
    const bool pressed = frame == 1;
    if (std::strcmp(entry.file, "knob0.png") == 0) {
        drawKnob(cr);
    } else if (std::strcmp(entry.file, "menu.png") == 0) {
        drawMenuFrame(cr, pressed);
    } else if (std::strcmp(entry.file, "logo.png") == 0) {
        drawLogoFrame(cr, pressed);
    } else if (std::strcmp(entry.file, "libLogo.png") == 0) {
        drawLibraryLogoFrame(cr, pressed);
    } else {
        for (const PageLayout& p : kPages) {
            if (std::strcmp(entry.file, p.file) == 0) drawPageBackground(cr, p);
        }
    }
}

}  // namespace

cairo_surface_t* renderBitmap(const BitmapEntry& entry) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, entry.width, entry.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);

    const int frameHeight = entry.height / entry.frames;
    for (int f = 0; f < entry.frames; ++f) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, f * frameHeight, entry.width, frameHeight);
        cairo_clip(cr);
        cairo_translate(cr, 0, f * frameHeight);
        drawFrame(cr, entry, f);
        cairo_restore(cr);
    }
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (!ok) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    return surface;
}

bool writeAllBitmaps(const std::string& outDir, std::ostream& err) {
    for (const BitmapEntry& entry : kBitmaps) {
        cairo_surface_t* surface = renderBitmap(entry);
        if (surface == nullptr) {
            err << "corvane-make-art: cannot draw " << entry.file << "\n";
            return false;
        }
        const std::string path = outDir + "/" + entry.file;
        const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
        cairo_surface_destroy(surface);
        if (status != CAIRO_STATUS_SUCCESS) {
            err << "corvane-make-art: cannot write " << path << ": " << cairo_status_to_string(status)
                << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace velt::corvane::art
