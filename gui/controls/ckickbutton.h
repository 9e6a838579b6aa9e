#pragma once
#include "gui/controls/ccontrol.h"

namespace VSTGUI {

/** A push button: value max while pressed, min once released (inside or outside). Its bitmap
    holds two frames stacked vertically: normal, then pressed. */
class CKickButton : public CControl {
public:
    CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                const CPoint& offset = CPoint(0, 0));
    CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
                CBitmap* background, const CPoint& offset = CPoint(0, 0));

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    void setHeightOfOneImage(CCoord h) { heightOfOneImage_ = h; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }

private:
    void changeTo(float value);

    CPoint offset_;
    CCoord heightOfOneImage_;
    bool pressed_ = false;
};

}  // namespace VSTGUI
