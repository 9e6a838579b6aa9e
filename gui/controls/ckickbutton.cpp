#include "gui/controls/ckickbutton.h"

#include "gui/lib/cbitmap.h"

namespace VSTGUI {

CKickButton::CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                         const CPoint& offset)
    : CKickButton(size, listener, tag, size.getHeight(), background, offset) {}

CKickButton::CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset_(offset), heightOfOneImage_(heightOfOneImage) {
    setWheelInc(0);
}

void CKickButton::draw(CDrawContext* context) {
    CPoint where(offset_.x, offset_.y + (getValue() == getMax() ? heightOfOneImage_ : 0));
    if (CBitmap* bg = getBackground()) bg->draw(context, getViewSize(), where);
    setDirty(false);
}

void CKickButton::changeTo(float value) {
    if (getValue() == value) return;
    setValue(value);
    invalid();
    valueChanged();
}

CMouseEventResult CKickButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    remember();
    pressed_ = true;
    beginEdit();
    changeTo(getMax());
    forget();
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!pressed_) return kMouseEventNotHandled;
    if (buttons.isLeftButton() || buttons.getButtonState() == 0)
        changeTo(getViewSize().pointInside(where) ? getMax() : getMin());
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&) {
    if (!pressed_) return kMouseEventNotHandled;
    remember();
    pressed_ = false;
    changeTo(getMin());
    endEdit();
    forget();
    return kMouseEventHandled;
}

}  // namespace VSTGUI
