#pragma once
#include "gui/lib/cbaseobject.h"
#include "gui/lib/cbuttonstate.h"
#include "gui/lib/crect.h"
#include "gui/lib/vstkeycode.h"

namespace VSTGUI {

/** Base of everything on screen. The view size is in the parent's coordinates, and so are the
    points of the mouse events it receives. Main thread only. */
class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    /** Draws the view; updateRect is in the parent's coordinates. */
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    /** distance is positive up (vertical axis) or right (horizontal axis); true when used. */
    virtual bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                         const CButtonState& buttons);
    /** 1 when the key was used, -1 when not. */
    virtual int32_t onKeyDown(VstKeyCode& keyCode);

    /** Keyboard focus given by the frame (setFocusView). */
    virtual void takeFocus() {}
    virtual void looseFocus() {}
    /** True while the frame's focus view is this view. */
    bool hasKeyboardFocus() const;

    virtual bool hitTest(const CPoint& where, const CButtonState& buttons = -1);

    const CRect& getViewSize() const { return size_; }
    virtual void setViewSize(const CRect& rect, bool invalid = true);
    CCoord getWidth() const { return size_.getWidth(); }
    CCoord getHeight() const { return size_.getHeight(); }

    virtual void setVisible(bool state);
    bool isVisible() const { return visible_ && alpha_ > 0.f; }
    bool getVisibleFlag() const { return visible_; }
    virtual void setAlphaValue(float alpha);
    float getAlphaValue() const { return alpha_; }
    virtual void setMouseEnabled(bool state) { mouseEnabled_ = state; }
    bool getMouseEnabled() const { return mouseEnabled_; }
    /** A transparent view lets an unhandled click through to the views below it. */
    void setTransparency(bool state) { transparent_ = state; }
    bool getTransparency() const { return transparent_; }

    /** Background bitmap; the view takes its own reference. */
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background_; }

    /** Requests a redraw of the whole view. */
    virtual void invalid();
    /** Requests a redraw of rect, given in the parent's coordinates. */
    virtual void invalidRect(const CRect& rect);
    virtual void setDirty(bool state = true);
    virtual bool isDirty() const { return dirty_; }

    CViewContainer* getParentView() const { return parent_; }
    /** The frame this view is (indirectly) part of, or null. */
    CFrame* getFrame() const;
    bool isAttached() const { return getFrame() != nullptr; }

    /** Converts a point between this view's coordinate space (its parent's) and the frame's. */
    CPoint& localToFrame(CPoint& where) const;
    CPoint& frameToLocal(CPoint& where) const;

    // Called by containers only.
    void setParentView(CViewContainer* parent) { parent_ = parent; }

private:
    CRect size_;
    CViewContainer* parent_ = nullptr;
    CBitmap* background_ = nullptr;
    float alpha_ = 1.f;
    bool visible_ = true;
    bool mouseEnabled_ = true;
    bool transparent_ = false;
    bool dirty_ = false;
};

}  // namespace VSTGUI
