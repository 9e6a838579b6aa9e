#include "gui/controls/cslider.h"

#include "gui/lib/cbitmap.h"

namespace VSTGUI {

CSlider::CSlider(const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos, int32_t iMaxPos,
                 CBitmap* handle, CBitmap* background, const CPoint& offset, int32_t style)
    : CControl(size, listener, tag, background), offset_(offset), style_(style) {
    if (!(style_ & (kHorizontal | kVertical))) style_ |= kHorizontal;
    minPos_ = (horizontal() ? iMinPos - size.left : iMinPos - size.top);
    rangeHandle_ = static_cast<CCoord>(iMaxPos) - iMinPos;
    setHandle(handle);
    setWheelInc(0.1f);
}

CSlider::~CSlider() {
    if (handle_) handle_->forget();
}

void CSlider::setStyle(int32_t style) {
    style_ = style;
    invalid();
}

void CSlider::setHandle(CBitmap* handle) {
    if (handle == handle_) return;
    if (handle) handle->remember();
    if (handle_) handle_->forget();
    handle_ = handle;
    invalid();
}

CCoord CSlider::handleLength() const {
    if (!handle_ || handle_->getWidth() <= 0) return 1;
    return horizontal() ? handle_->getWidth() : handle_->getHeight();
}

CRect CSlider::getHandleRect() const {
    const CRect& s = getViewSize();
    float v = getValueNormalized();
    if (inverted()) v = 1.f - v;
    CCoord w = handle_ && handle_->getWidth() > 0 ? handle_->getWidth() : (horizontal() ? 1 : s.getWidth());
    CCoord h =
        handle_ && handle_->getHeight() > 0 ? handle_->getHeight() : (horizontal() ? s.getHeight() : 1);
    CRect r;
    if (horizontal()) {
        r.left = s.left + offsetHandle_.x + minPos_ + v * rangeHandle_;
        r.top = s.top + offsetHandle_.y;
    } else {
        r.left = s.left + offsetHandle_.x;
        r.top = s.top + offsetHandle_.y + minPos_ + v * rangeHandle_;
    }
    r.right = r.left + w;
    r.bottom = r.top + h;
    return r;
}

void CSlider::draw(CDrawContext* context) {
    if (CBitmap* bg = getBackground()) bg->draw(context, getViewSize(), offset_);
    if (handle_) handle_->draw(context, getHandleRect());
    setDirty(false);
}

float CSlider::normalizedAt(CCoord pos) const {
    if (rangeHandle_ <= 0) return getValueNormalized();
    CCoord origin = horizontal() ? getViewSize().left + offsetHandle_.x : getViewSize().top + offsetHandle_.y;
    float v = static_cast<float>((pos - delta_ - origin - minPos_) / rangeHandle_);
    if (inverted()) v = 1.f - v;
    return v < 0.f ? 0.f : (v > 1.f ? 1.f : v);
}

void CSlider::changeNormalized(float v) {
    if (v < 0.f) v = 0.f;
    if (v > 1.f) v = 1.f;
    float before = getValue();
    setValueNormalized(v);
    if (getValue() != before) {
        invalid();
        valueChanged();
    }
}

CMouseEventResult CSlider::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    CRect handleRect = getHandleRect();
    bool onHandle = handleRect.pointInside(where);
    if (!onHandle && !freeClick_) return kMouseEventNotHandled;
    remember();
    dragging_ = true;
    beginEdit();
    fine_ = (buttons & kZoomModifier) != 0;
    if (onHandle) {
        delta_ = along(where) - (horizontal() ? handleRect.left : handleRect.top);
    } else {
        delta_ = handleLength() / 2;
        changeNormalized(normalizedAt(along(where)));
    }
    lastPos_ = along(where);
    lastNormalized_ = getValueNormalized();
    forget();
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!dragging_) return kMouseEventNotHandled;
    bool fine = (buttons & kZoomModifier) != 0;
    CCoord pos = along(where);
    if (fine != fine_) {
        // Switching between coarse and fine keeps the handle where it is.
        fine_ = fine;
        lastPos_ = pos;
        lastNormalized_ = getValueNormalized();
        if (!fine) {
            CRect handleRect = getHandleRect();
            delta_ = pos - (horizontal() ? handleRect.left : handleRect.top);
        }
        return kMouseEventHandled;
    }
    if (fine_ && rangeHandle_ > 0) {
        float step = static_cast<float>((pos - lastPos_) / rangeHandle_ / zoomFactor_);
        if (inverted()) step = -step;
        changeNormalized(lastNormalized_ + step);
    } else {
        changeNormalized(normalizedAt(pos));
    }
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseUp(CPoint&, const CButtonState&) {
    if (!dragging_) return kMouseEventNotHandled;
    dragging_ = false;
    endEdit();
    return kMouseEventHandled;
}

bool CSlider::onWheel(const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                      const CButtonState& buttons) {
    if (!getMouseEnabled()) return false;
    float d = distance;
    if (horizontal() && axis == kMouseWheelAxisX) d = -d;
    if (buttons & kZoomModifier) d *= 0.1f;
    float before = getValue();
    setValueNormalized(getValueNormalized() + d * getWheelInc());
    if (getValue() != before) {
        remember();
        invalid();
        beginEdit();
        valueChanged();
        endEdit();
        forget();
    }
    return true;
}

CHorizontalSlider::CHorizontalSlider(const CRect& size, IControlListener* listener, int32_t tag,
                                     int32_t iMinPos, int32_t iMaxPos, CBitmap* handle, CBitmap* background,
                                     const CPoint& offset, int32_t style)
    : CSlider(size, listener, tag, iMinPos, iMaxPos, handle, background, offset,
              (style & ~kVertical) | kHorizontal) {}

void CHorizontalSlider::setStyle(int32_t style) {
    CSlider::setStyle((style & ~kVertical) | kHorizontal);
}

CVerticalSlider::CVerticalSlider(const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
                                 int32_t iMaxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                                 int32_t style)
    : CSlider(size, listener, tag, iMinPos, iMaxPos, handle, background, offset,
              (style & ~kHorizontal) | kVertical) {}

void CVerticalSlider::setStyle(int32_t style) {
    CSlider::setStyle((style & ~kHorizontal) | kVertical);
}

}  // namespace VSTGUI
