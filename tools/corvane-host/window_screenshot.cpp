#include "tools/corvane-host/window_screenshot.h"

#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdint>

namespace velt::corvane::tools {

namespace {

/// The 8-bit channel a pixel holds under mask.
uint32_t channelOf(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1UL)) ++shift;
    const unsigned long bits = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<uint32_t>(bits == 0xFF ? value : value * 255UL / bits);
}

}  // namespace

bool writeWindowScreenshot(Display* display, Window window, const std::string& path, std::string& error) {
    XWindowAttributes attributes{};
    if (!display || !XGetWindowAttributes(display, window, &attributes)) {
        error = path + ": the window is gone";
        return false;
    }
    if (attributes.map_state != IsViewable) {
        error = path + ": the window is not shown";
        return false;
    }
    const int width = attributes.width;
    const int height = attributes.height;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) {
        error = path + ": the window's pixels cannot be read";
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        XDestroyImage(image);
        error = "out of memory";
        return false;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const Visual* visual = attributes.visual;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            row[x] = 0xFF000000u | channelOf(pixel, visual->red_mask) << 16 |
                     channelOf(pixel, visual->green_mask) << 8 | channelOf(pixel, visual->blue_mask);
        }
    }
    cairo_surface_mark_dirty(surface);
    XDestroyImage(image);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot write the PNG: " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace velt::corvane::tools
