#include "gui/lib/cview.h"

#include "gui/lib/cbitmap.h"
#include "gui/lib/cdrawcontext.h"
#include "gui/lib/cframe.h"
#include "gui/lib/cviewcontainer.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size_(size) {}

CView::~CView() {
    if (background_) background_->forget();
}

void CView::draw(CDrawContext* context) {
    if (background_) background_->draw(context, size_);
    dirty_ = false;
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) {
    draw(context);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
bool CView::onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&) {
    return false;
}
int32_t CView::onKeyDown(VstKeyCode&) {
    return -1;
}

bool CView::hasKeyboardFocus() const {
    CFrame* frame = getFrame();
    return frame && frame->getFocusView() == this;
}

bool CView::hitTest(const CPoint& where, const CButtonState&) {
    return size_.pointInside(where);
}

void CView::setViewSize(const CRect& rect, bool doInvalid) {
    if (doInvalid) invalid();
    size_ = rect;
    if (doInvalid) invalid();
}

void CView::setVisible(bool state) {
    if (visible_ == state) return;
    if (!state) invalid();
    visible_ = state;
    if (state) invalid();
}

void CView::setAlphaValue(float alpha) {
    if (alpha_ == alpha) return;
    alpha_ = alpha;
    invalidRect(size_);
}

void CView::setBackground(CBitmap* bitmap) {
    if (bitmap == background_) return;
    if (bitmap) bitmap->remember();
    if (background_) background_->forget();
    background_ = bitmap;
    invalid();
}

void CView::invalid() {
    invalidRect(size_);
}

void CView::invalidRect(const CRect& rect) {
    if (parent_) parent_->invalidChildRect(rect);
}

void CView::setDirty(bool state) {
    dirty_ = state;
    if (state) invalid();
}

CFrame* CView::getFrame() const {
    const CView* v = this;
    while (v->parent_) v = v->parent_;
    return dynamic_cast<CFrame*>(const_cast<CView*>(v));
}

CPoint& CView::localToFrame(CPoint& where) const {
    for (const CViewContainer* p = parent_; p && p->getParentView(); p = p->getParentView())
        where.offset(p->getViewSize().left, p->getViewSize().top);
    return where;
}

CPoint& CView::frameToLocal(CPoint& where) const {
    for (const CViewContainer* p = parent_; p && p->getParentView(); p = p->getParentView())
        where.offset(-p->getViewSize().left, -p->getViewSize().top);
    return where;
}

}  // namespace VSTGUI
