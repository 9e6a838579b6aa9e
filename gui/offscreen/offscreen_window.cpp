#include "gui/offscreen/offscreen_window.h"

#include <cmath>
#include <new>

#include "gui/lib/cframe.h"

namespace VSTGUI {

namespace {
CRect devicePixelsCovering(const CRect& r, double scale) {
    return CRect(std::floor(r.left * scale), std::floor(r.top * scale), std::ceil(r.right * scale),
                 std::ceil(r.bottom * scale));
}
}  // namespace

OffscreenWindow::OffscreenWindow(IPlatformFrameCallback* frame, const CRect& size, double scale)
    : frame_(frame), size_(size), scale_(scale) {
    makeSurface();
}

OffscreenWindow::~OffscreenWindow() {
    if (surface_) cairo_surface_destroy(surface_);
}

void OffscreenWindow::makeSurface() {
    if (surface_) cairo_surface_destroy(surface_);
    int w = static_cast<int>(std::ceil(size_.getWidth() * scale_));
    int h = static_cast<int>(std::ceil(size_.getHeight() * scale_));
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w > 0 ? w : 1, h > 0 ? h : 1);
    dirty_ = CRect(0, 0, size_.getWidth(), size_.getHeight());
}

OffscreenWindow* OffscreenWindow::of(CFrame* frame) {
    return frame ? dynamic_cast<OffscreenWindow*>(frame->getPlatformFrame()) : nullptr;
}

IPlatformFrame* OffscreenWindow::create(IPlatformFrameCallback* frame, const CRect& size, double scale, void*,
                                        PlatformType, IPlatformRunLoop*) {
    return new (std::nothrow) OffscreenWindow(frame, size, scale);
}

void OffscreenWindow::invalidRect(const CRect& rect) {
    CRect r(rect);
    r.bound(CRect(0, 0, size_.getWidth(), size_.getHeight()));
    dirty_.unite(r);
}

void OffscreenWindow::flush() {
    if (dirty_.isEmpty()) return;
    CRect dirty = dirty_;
    dirty_ = CRect();
    CRect device = devicePixelsCovering(dirty, scale_);
    cairo_t* cr = cairo_create(surface_);
    cairo_rectangle(cr, device.left, device.top, device.getWidth(), device.getHeight());
    cairo_clip(cr);
    cairo_scale(cr, scale_, scale_);
    CRect logical(device.left / scale_, device.top / scale_, device.right / scale_, device.bottom / scale_);
    frame_->platformDrawRect(cr, logical);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    lastDrawn_ = logical;
    ++drawCount_;
}

bool OffscreenWindow::setScaleFactor(double scale) {
    if (scale <= 0) return false;
    scale_ = scale;
    makeSurface();
    return true;
}

CMouseEventResult OffscreenWindow::mouseDown(const CPoint& where, CButtonState buttons) {
    CPoint p(where);
    pressed_ = true;
    return frame_->platformOnMouseDown(p, buttons);
}

CMouseEventResult OffscreenWindow::mouseMoved(const CPoint& where, CButtonState buttons) {
    CPoint p(where);
    return frame_->platformOnMouseMoved(p, pressed_ ? buttons : CButtonState(buttons.getModifierState()));
}

CMouseEventResult OffscreenWindow::mouseUp(const CPoint& where, CButtonState buttons) {
    CPoint p(where);
    pressed_ = false;
    return frame_->platformOnMouseUp(p, buttons);
}

void OffscreenWindow::click(const CPoint& where, CButtonState buttons) {
    mouseDown(where, buttons);
    mouseUp(where, buttons);
}

void OffscreenWindow::drag(const CPoint& from, const CPoint& to, int steps, CButtonState buttons) {
    mouseDown(from, buttons);
    if (steps < 1) steps = 1;
    for (int i = 1; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps;
        mouseMoved(CPoint(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t), buttons);
    }
    mouseUp(to, buttons);
}

bool OffscreenWindow::wheel(const CPoint& where, CMouseWheelAxis axis, float distance, CButtonState buttons) {
    return frame_->platformOnMouseWheel(where, axis, distance, buttons);
}

bool OffscreenWindow::key(VstKeyCode k) {
    return frame_->platformOnKeyDown(k);
}

bool OffscreenWindow::virtualKey(unsigned char virt, unsigned char modifier) {
    VstKeyCode k;
    k.virt = virt;
    k.modifier = modifier;
    return key(k);
}

void OffscreenWindow::typeText(const std::string& utf8) {
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = c;
        size_t len = 1;
        if (c >= 0xC0) {
            size_t want = c >= 0xF0 ? 4 : (c >= 0xE0 ? 3 : 2);
            uint32_t value = c & (0x7F >> want);
            bool ok = i + want <= utf8.size();
            for (size_t k = 1; ok && k < want; ++k) {
                unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
                ok = (cc & 0xC0) == 0x80;
                value = (value << 6) | (cc & 0x3F);
            }
            if (ok) {
                cp = value;
                len = want;
            }
        }
        VstKeyCode k;
        k.character = static_cast<int32_t>(cp);
        key(k);
        i += len;
    }
}

int OffscreenWindow::pixelWidth() const {
    return cairo_image_surface_get_width(surface_);
}
int OffscreenWindow::pixelHeight() const {
    return cairo_image_surface_get_height(surface_);
}

CColor OffscreenWindow::pixel(int x, int y) {
    flush();
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) return kTransparentCColor;
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    uint32_t argb = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    uint8_t a = argb >> 24;
    auto un = [a](uint32_t v) -> uint8_t { return a == 0 ? 0 : static_cast<uint8_t>((v * 255 + a / 2) / a); };
    return CColor(un((argb >> 16) & 0xFF), un((argb >> 8) & 0xFF), un(argb & 0xFF), a);
}

CColor OffscreenWindow::pixelAt(const CPoint& logical) {
    return pixel(static_cast<int>(std::floor((logical.x + 0.5) * scale_)),
                 static_cast<int>(std::floor((logical.y + 0.5) * scale_)));
}

bool OffscreenWindow::writePng(const std::string& path) {
    flush();
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

OffscreenSession::OffscreenSession(bool provideRunLoop)
    : previous_(setPlatformFrameFactory(&OffscreenWindow::create)), providesRunLoop_(provideRunLoop) {
    if (providesRunLoop_) pushRunLoop(&loop_);
}

OffscreenSession::~OffscreenSession() {
    if (providesRunLoop_) removeRunLoop(&loop_);
    setPlatformFrameFactory(previous_);
}

}  // namespace VSTGUI
