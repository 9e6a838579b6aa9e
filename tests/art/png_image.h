// Read-only pixel access to a PNG loaded with cairo, for the bitmap tests.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace velt::corvane::arttest {

/** One PNG in memory; ok() is false when the file could not be read. */
class PngImage {
public:
    explicit PngImage(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {
        cairo_surface_flush(surface_);
    }
    ~PngImage() { cairo_surface_destroy(surface_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return ok() ? cairo_image_surface_get_width(surface_) : 0; }
    int height() const { return ok() ? cairo_image_surface_get_height(surface_) : 0; }
    bool hasAlpha() const { return cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_ARGB32; }

    /** The pixel as 0xAARRGGBB (premultiplied; alpha forced to 0xFF for opaque images). */
    uint32_t pixel(int x, int y) const {
        const unsigned char* row = cairo_image_surface_get_data(surface_) +
                                   static_cast<long>(y) * cairo_image_surface_get_stride(surface_);
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return hasAlpha() ? p : (p | 0xFF000000u);
    }

    /** Perceived brightness 0 to 255 of an opaque pixel. */
    double luminance(int x, int y) const {
        const uint32_t p = pixel(x, y);
        return 0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
    }

private:
    cairo_surface_t* surface_;
};

}  // namespace velt::corvane::arttest
