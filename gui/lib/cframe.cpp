#include "gui/lib/cframe.h"

#include <algorithm>

#include "gui/lib/cdrawcontext.h"
#include "gui/lib/imodalpopup.h"
#include "gui/lib/vstguieditorinterface.h"
#include "gui/platform/run_loop.h"

namespace VSTGUI {

namespace {
bool isInside(const CView* view, const CView* ancestor) {
    for (const CView* v = view; v; v = v->getParentView())
        if (v == ancestor) return true;
    return false;
}
}  // namespace

CFrame::CFrame(const CRect& size, VSTGUIEditorInterface* editor)
    : CViewContainer(CRect(0, 0, size.getWidth(), size.getHeight())), editor_(editor) {}

CFrame::~CFrame() {
    destroying_ = true;
    notifyClosing();
    closeModalPopup();
    focusView_ = nullptr;
    close();
    releaseChildren();
}

bool CFrame::open(void* parent, PlatformType type, IPlatformFrameConfig* config) {
    if (platformFrame_) return false;
    IPlatformRunLoop* loop = (config && config->runLoop) ? config->runLoop : getCurrentRunLoop();
    PlatformFrameFactory factory = getPlatformFrameFactory();
    platformFrame_ = factory ? factory(this, getViewSize(), scale_, parent, type, loop) : nullptr;
    if (!platformFrame_) return false;
    runLoop_ = loop;
    invalid();
    return true;
}

void CFrame::close() {
    if (!platformFrame_) return;
    notifyClosing();
    closeModalPopup();
    IPlatformFrame* p = platformFrame_;
    platformFrame_ = nullptr;
    runLoop_ = nullptr;
    delete p;
}

void CFrame::notifyClosing() {
    std::vector<IFrameCloseListener*> listeners;
    listeners.swap(closeListeners_);
    for (IFrameCloseListener* l : listeners) l->onFrameClosing(this);
}

void CFrame::addCloseListener(IFrameCloseListener* listener) {
    if (listener &&
        std::find(closeListeners_.begin(), closeListeners_.end(), listener) == closeListeners_.end())
        closeListeners_.push_back(listener);
}

void CFrame::removeCloseListener(IFrameCloseListener* listener) {
    closeListeners_.erase(std::remove(closeListeners_.begin(), closeListeners_.end(), listener),
                          closeListeners_.end());
}

void CFrame::idle() {
    if (platformFrame_) platformFrame_->flush();
}

void CFrame::setFocusView(CView* view) {
    if (view == focusView_) return;
    CView* old = focusView_;
    focusView_ = view;
    // The old view may react (a text field commits) and even move the focus again.
    if (old) old->looseFocus();
    if (view && focusView_ == view) {
        view->takeFocus();
        if (platformFrame_) platformFrame_->takeKeyboardFocus();
    }
}

bool CFrame::setScaleFactor(double scale) {
    if (scale <= 0) return false;
    scale_ = scale;
    if (platformFrame_ && !platformFrame_->setScaleFactor(scale)) return false;
    invalid();
    return true;
}

bool CFrame::setModalPopup(IModalPopup* popup) {
    if (!popup) return false;
    closeModalPopup();
    modal_ = popup;
    if (platformFrame_) {
        platformFrame_->invalidRect(CRect(popup->getPopupBounds()).bound(getViewSize()));
        platformFrame_->takeKeyboardFocus();  // so that Escape and the arrow keys reach the list
    }
    return true;
}

void CFrame::closeModalPopup() {
    IModalPopup* p = modal_;
    if (!p) return;
    modal_ = nullptr;
    if (platformFrame_) platformFrame_->invalidRect(CRect(p->getPopupBounds()).bound(getViewSize()));
    delete p;
}

void CFrame::beginEdit(int32_t tag) {
    if (editor_) editor_->beginEdit(tag);
}

void CFrame::endEdit(int32_t tag) {
    if (editor_) editor_->endEdit(tag);
}

void CFrame::invalidChildRect(const CRect& rect) {
    if (!platformFrame_) return;
    CRect r(rect);
    r.bound(getViewSize());
    if (!r.isEmpty()) platformFrame_->invalidRect(r);
}

void CFrame::setViewSize(const CRect& rect, bool doInvalid) {
    CViewContainer::setViewSize(CRect(0, 0, rect.getWidth(), rect.getHeight()), doInvalid);
}

void CFrame::onViewRemoved(CView* view) {
    if (focusView_ && isInside(focusView_, view)) {
        CView* old = focusView_;
        focusView_ = nullptr;
        if (!destroying_) old->looseFocus();
    }
}

void CFrame::platformDrawRect(cairo_t* cr, const CRect& dirtyRect) {
    CDrawContext context(cr);
    context.saveGlobalState();
    context.clipRect(dirtyRect);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    CViewContainer::drawRect(&context, dirtyRect);
    if (modal_) modal_->drawPopup(&context, dirtyRect);
    context.restoreGlobalState();
}

CMouseEventResult CFrame::platformOnMouseDown(CPoint& where, const CButtonState& buttons) {
    remember();
    CMouseEventResult result = kMouseEventHandled;
    pressActive_ = true;
    if (modal_) {
        pressInModal_ = true;
        modal_->popupMouseDown(where, buttons);
    } else {
        pressInModal_ = false;
        if (focusView_) {
            CPoint p(where);
            focusView_->frameToLocal(p);
            if (!focusView_->getViewSize().pointInside(p)) setFocusView(nullptr);
        }
        result = CViewContainer::onMouseDown(where, buttons);
    }
    forget();
    return result;
}

CMouseEventResult CFrame::platformOnMouseMoved(CPoint& where, const CButtonState& buttons) {
    // A press that began before the popup opened still belongs to the view that took it.
    if (modal_ && (!pressActive_ || pressInModal_)) {
        modal_->popupMouseMoved(where, buttons);
        return kMouseEventHandled;
    }
    remember();
    CMouseEventResult result = CViewContainer::onMouseMoved(where, buttons);
    forget();
    return result;
}

CMouseEventResult CFrame::platformOnMouseUp(CPoint& where, const CButtonState& buttons) {
    bool wasPress = pressActive_;
    pressActive_ = false;
    if (modal_ && (!wasPress || pressInModal_)) {
        modal_->popupMouseUp(where, buttons);
        return kMouseEventHandled;
    }
    remember();
    CMouseEventResult result = CViewContainer::onMouseUp(where, buttons);
    forget();
    return result;
}

bool CFrame::platformOnMouseWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                                  const CButtonState& buttons) {
    if (modal_) {
        modal_->popupWheel(where, axis, distance);
        return true;
    }
    remember();
    bool used = CViewContainer::onWheel(where, axis, distance, buttons);
    forget();
    return used;
}

bool CFrame::platformOnKeyDown(VstKeyCode& key) {
    if (modal_) {
        modal_->popupKeyDown(key);
        return true;
    }
    if (!focusView_) return false;
    remember();
    CView* v = focusView_;
    v->remember();
    bool used = v->onKeyDown(key) == 1;
    v->forget();
    forget();
    return used;
}

bool CFrame::platformCanDropFiles(const std::vector<std::string>& paths) {
    return editor_ && editor_->canDropFiles(paths);
}

bool CFrame::platformOnDropFiles(const std::vector<std::string>& paths) {
    return editor_ && editor_->onDropFiles(paths);
}

}  // namespace VSTGUI
