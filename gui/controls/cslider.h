#pragma once
#include "gui/controls/ccontrol.h"

namespace VSTGUI {

/** A slider: a handle bitmap moving over a range of positions. A press on the handle drags it;
    a press elsewhere moves the handle's centre there and drags from there (free click). With the
    zoom modifier held, drags and wheel steps are finer. */
class CSlider : public CControl {
public:
    /** iMinPos and iMaxPos are the handle's leftmost (topmost) positions, in the coordinates of
        size; style holds kHorizontal or kVertical and kLeft/kRight (kTop/kBottom) for the minimum's side. */
    CSlider(const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos, int32_t iMaxPos,
            CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint(0, 0),
            int32_t style = kLeft | kHorizontal);
    ~CSlider() override;

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    /** Moves the value by distance × wheel increment (a tenth with the zoom modifier). On a
        horizontal slider the horizontal axis counts right-to-left, as wheels report it. */
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;

    virtual void setStyle(int32_t style);
    int32_t getStyle() const { return style_; }
    /** The slider takes its own reference. */
    virtual void setHandle(CBitmap* handle);
    CBitmap* getHandle() const { return handle_; }
    void setOffsetHandle(const CPoint& p) {
        offsetHandle_ = p;
        invalid();
    }
    const CPoint& getOffsetHandle() const { return offsetHandle_; }
    void setOffset(const CPoint& p) {
        offset_ = p;
        invalid();
    }
    /** False: a press beside the handle does nothing. */
    void setFreeClick(bool state) { freeClick_ = state; }
    bool getFreeClick() const { return freeClick_; }
    void setZoomFactor(float f) { zoomFactor_ = f > 0 ? f : 1; }

    /** The handle's rectangle for the current value, in the view's coordinates. */
    CRect getHandleRect() const;

private:
    bool horizontal() const { return (style_ & kVertical) == 0; }
    bool inverted() const { return horizontal() ? (style_ & kRight) != 0 : (style_ & kBottom) != 0; }
    CCoord along(const CPoint& p) const { return horizontal() ? p.x : p.y; }
    CCoord handleLength() const;
    float normalizedAt(CCoord pos) const;
    void changeNormalized(float v);

    CBitmap* handle_ = nullptr;
    CPoint offset_;
    CPoint offsetHandle_;
    CCoord minPos_;
    CCoord rangeHandle_;
    int32_t style_;
    float zoomFactor_ = 10.f;
    bool freeClick_ = true;
    bool dragging_ = false;
    CCoord delta_ = 0;
    CCoord lastPos_ = 0;
    float lastNormalized_ = 0;
    bool fine_ = false;
};

/** A slider whose style always includes kHorizontal. */
class CHorizontalSlider : public CSlider {
public:
    CHorizontalSlider(const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
                      int32_t iMaxPos, CBitmap* handle, CBitmap* background,
                      const CPoint& offset = CPoint(0, 0), int32_t style = kLeft);
    void setStyle(int32_t style) override;
};

/** A slider whose style always includes kVertical. */
class CVerticalSlider : public CSlider {
public:
    CVerticalSlider(const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
                    int32_t iMaxPos, CBitmap* handle, CBitmap* background,
                    const CPoint& offset = CPoint(0, 0), int32_t style = kBottom);
    void setStyle(int32_t style) override;
};

}  // namespace VSTGUI
