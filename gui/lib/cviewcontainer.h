#pragma once
#include <vector>

#include "gui/lib/ccolor.h"
#include "gui/lib/cview.h"

namespace VSTGUI {

/** A view holding child views (in its own coordinates: the container's top-left is 0, 0).
    It owns one reference to each child, draws them in order and gives the mouse to the
    top-most visible child under it. */
class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect& size);
    ~CViewContainer() override;

    /** Adds view on top, taking over the caller's reference. False for null or a view that has a parent. */
    virtual bool addView(CView* view);
    /** Adds view just below before (or on top when before is not a child). */
    virtual bool addView(CView* view, CView* before);
    /** Removes view; withForget drops the container's reference. */
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    /** Moves view to position index in the drawing order (0 = bottom). */
    bool changeViewZOrder(CView* view, uint32_t newIndex);

    uint32_t getNbViews() const { return static_cast<uint32_t>(children_.size()); }
    CView* getView(uint32_t index) const { return index < children_.size() ? children_[index] : nullptr; }
    bool isChild(CView* view, bool deep = false) const;

    void setBackgroundColor(const CColor& color);
    const CColor& getBackgroundColor() const { return backgroundColor_; }

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    /** Draws the background colour and bitmap (container coordinates). */
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& updateRect);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;

    /** A child asks for rect (in this container's coordinates) to be redrawn. */
    virtual void invalidChildRect(const CRect& rect);

    /** The child that took the current mouse press, if any. */
    CView* getMouseDownView() const { return mouseDownView_; }

protected:
    /** Called before a view leaves the tree (removal or destruction of this container). */
    virtual void onViewRemoved(CView* view);
    void releaseChildren();

private:
    std::vector<CView*> children_;
    CColor backgroundColor_ = kTransparentCColor;
    CView* mouseDownView_ = nullptr;
};

/** A container whose children lie in layers: the order of addition is the z order. */
class CLayeredViewContainer : public CViewContainer {
public:
    explicit CLayeredViewContainer(const CRect& size) : CViewContainer(size) {}
};

}  // namespace VSTGUI
