#include "gui/lib/cviewcontainer.h"

#include <algorithm>

#include "gui/lib/cbitmap.h"
#include "gui/lib/cdrawcontext.h"
#include "gui/lib/cframe.h"

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::~CViewContainer() {
    releaseChildren();
}

void CViewContainer::releaseChildren() {
    while (!children_.empty()) {
        CView* v = children_.back();
        onViewRemoved(v);
        children_.pop_back();
        v->setParentView(nullptr);
        v->forget();
    }
}

bool CViewContainer::addView(CView* view) {
    return addView(view, nullptr);
}

bool CViewContainer::addView(CView* view, CView* before) {
    if (!view || view->getParentView() || view == this) return false;
    auto it = std::find(children_.begin(), children_.end(), before);
    children_.insert(it, view);
    view->setParentView(this);
    view->invalid();
    return true;
}

void CViewContainer::onViewRemoved(CView* view) {
    if (mouseDownView_ == view) mouseDownView_ = nullptr;
    if (CFrame* frame = getFrame()) frame->onViewRemoved(view);
}

bool CViewContainer::removeView(CView* view, bool withForget) {
    auto it = std::find(children_.begin(), children_.end(), view);
    if (it == children_.end()) return false;
    view->invalid();
    onViewRemoved(view);
    children_.erase(it);
    view->setParentView(nullptr);
    if (withForget) view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget) {
    invalid();
    while (!children_.empty()) {
        CView* v = children_.back();
        onViewRemoved(v);
        children_.pop_back();
        v->setParentView(nullptr);
        if (withForget) v->forget();
    }
    return true;
}

bool CViewContainer::changeViewZOrder(CView* view, uint32_t newIndex) {
    auto it = std::find(children_.begin(), children_.end(), view);
    if (it == children_.end()) return false;
    children_.erase(it);
    newIndex = std::min<uint32_t>(newIndex, static_cast<uint32_t>(children_.size()));
    children_.insert(children_.begin() + newIndex, view);
    view->invalid();
    return true;
}

bool CViewContainer::isChild(CView* view, bool deep) const {
    for (CView* c : children_) {
        if (c == view) return true;
        if (deep) {
            if (auto* cc = dynamic_cast<CViewContainer*>(c); cc && cc->isChild(view, true)) return true;
        }
    }
    return false;
}

void CViewContainer::setBackgroundColor(const CColor& color) {
    backgroundColor_ = color;
    invalid();
}

void CViewContainer::draw(CDrawContext* context) {
    drawRect(context, getViewSize());
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& updateRect) {
    CRect local(0, 0, getWidth(), getHeight());
    if (backgroundColor_.alpha != 0) {
        context->setFillColor(backgroundColor_);
        context->drawRect(CRect(updateRect).bound(local), kDrawFilled);
    }
    if (CBitmap* bg = getBackground()) bg->draw(context, local);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    const CRect& size = getViewSize();
    CRect clip(updateRect);
    clip.bound(size);
    if (clip.isEmpty()) return;
    context->saveGlobalState();
    context->clipRect(clip);
    context->translate(size.left, size.top);
    CRect local(clip);
    local.offset(-size.left, -size.top);
    drawBackgroundRect(context, local);
    for (CView* child : children_) {
        if (!child->isVisible() || !child->getViewSize().rectOverlap(local)) continue;
        float alpha = child->getAlphaValue();
        if (alpha < 1.f) {
            cairo_t* cr = context->getCairo();
            cairo_push_group(cr);
            child->drawRect(context, local);
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, alpha);
        } else {
            child->drawRect(context, local);
        }
    }
    context->restoreGlobalState();
    setDirty(false);
}

void CViewContainer::invalidChildRect(const CRect& rect) {
    CView::invalidRect(CRect(rect).offset(getViewSize().left, getViewSize().top).bound(getViewSize()));
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons) {
    CPoint local(where.x - getViewSize().left, where.y - getViewSize().top);
    mouseDownView_ = nullptr;
    // Children may be removed while they handle the event: walk a copy, holding references.
    std::vector<CView*> snapshot(children_);
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        CView* v = *it;
        if (std::find(children_.begin(), children_.end(), v) == children_.end()) continue;
        if (!v->isVisible() || !v->getMouseEnabled() || !v->hitTest(local, buttons)) continue;
        v->remember();
        CPoint p(local);
        CMouseEventResult result = v->onMouseDown(p, buttons);
        bool stillChild = v->getParentView() == this;
        bool opaque = !v->getTransparency();
        if (result == kMouseEventHandled || result == kMouseDownEventHandledButDontNeedMovedOrUpEvents) {
            if (result == kMouseEventHandled && stillChild) mouseDownView_ = v;
            v->forget();
            return result;
        }
        v->forget();
        if (opaque) return kMouseEventNotHandled;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons) {
    CView* v = mouseDownView_;
    if (!v) return kMouseEventNotHandled;
    CPoint local(where.x - getViewSize().left, where.y - getViewSize().top);
    v->remember();
    CMouseEventResult result = v->onMouseUp(local, buttons);
    if (mouseDownView_ == v) mouseDownView_ = nullptr;
    v->forget();
    return result;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    CPoint local(where.x - getViewSize().left, where.y - getViewSize().top);
    if (CView* v = mouseDownView_) {
        v->remember();
        CMouseEventResult result = v->onMouseMoved(local, buttons);
        if (result == kMouseMoveEventHandledButDontNeedMoreEvents && mouseDownView_ == v)
            mouseDownView_ = nullptr;
        v->forget();
        return result;
    }
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        CView* v = *it;
        if (!v->isVisible() || !v->getMouseEnabled() || !v->hitTest(local, buttons)) continue;
        v->remember();
        CMouseEventResult result = v->onMouseMoved(local, buttons);
        v->forget();
        return result;
    }
    return kMouseEventNotHandled;
}

bool CViewContainer::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                             const CButtonState& buttons) {
    CPoint local(where.x - getViewSize().left, where.y - getViewSize().top);
    std::vector<CView*> snapshot(children_);
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        CView* v = *it;
        if (std::find(children_.begin(), children_.end(), v) == children_.end()) continue;
        if (!v->isVisible() || !v->getMouseEnabled() || !v->hitTest(local, buttons)) continue;
        v->remember();
        bool used = v->onWheel(local, axis, distance, buttons);
        bool opaque = !v->getTransparency();
        v->forget();
        if (used) return true;
        if (opaque) return false;
    }
    return false;
}

}  // namespace VSTGUI
