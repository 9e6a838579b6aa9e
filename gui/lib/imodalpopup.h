#pragma once
#include "gui/lib/cbuttonstate.h"
#include "gui/lib/crect.h"
#include "gui/lib/vstkeycode.h"

namespace VSTGUI {

/** Something drawn above every view that takes all input while it is open (a popup menu).
    Coordinates are the frame's. The frame owns it and deletes it when it closes. */
class IModalPopup {
public:
    virtual ~IModalPopup() = default;
    virtual void drawPopup(CDrawContext* context, const CRect& updateRect) = 0;
    /** The area it covers, for redraws. */
    virtual CRect getPopupBounds() const = 0;
    virtual void popupMouseDown(const CPoint& where, const CButtonState& buttons) = 0;
    virtual void popupMouseMoved(const CPoint& where, const CButtonState& buttons) = 0;
    virtual void popupMouseUp(const CPoint& where, const CButtonState& buttons) = 0;
    virtual void popupKeyDown(const VstKeyCode& key) = 0;
    virtual void popupWheel(const CPoint& /*where*/, CMouseWheelAxis /*axis*/, float /*distance*/) {}
};

}  // namespace VSTGUI
