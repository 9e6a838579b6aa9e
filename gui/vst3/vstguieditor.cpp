#include "gui/vst3/vstguieditor.h"

#include <cmath>
#include <cstring>
#include <new>

#include "gui/lib/cframe.h"
#include "gui/platform/platform_frame.h"
#include "gui/vst3/run_loop_adapter.h"

namespace Steinberg {
namespace Vst {

VSTGUIEditor::VSTGUIEditor(EditController* controller, ViewRect* size)
    : EditorView(controller, size), logicalRect_(size ? *size : ViewRect()) {}

VSTGUIEditor::~VSTGUIEditor() {
    stopTimer();
    if (runLoop_) runLoop_->retire();
}

void VSTGUIEditor::stopTimer() {
    if (!timer) return;
    timer->stop();
    timer->forget();
    timer = nullptr;
}

void VSTGUIEditor::setIdleRate(int32 millisec) {
    uint32_t ms = millisec > 0 ? static_cast<uint32_t>(millisec) : 1;
    if (!timer) timer = new (std::nothrow) VSTGUI::CVSTGUITimer(this, ms, false);
    if (!timer) return;
    timer->setFireTime(ms);
    timer->start();
}

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported(FIDString type) {
    return (type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached(void* parent, FIDString type) {
    if (open_ || isPlatformTypeSupported(type) != kResultTrue) return kResultFalse;
    Linux::IRunLoop* hostLoop = nullptr;
    if (!plugFrame ||
        plugFrame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&hostLoop)) != kResultTrue ||
        !hostLoop)
        return kResultFalse;
    runLoop_ = new (std::nothrow) VSTGUI::RunLoopAdapter(hostLoop);
    if (!runLoop_) {
        hostLoop->release();
        return kResultFalse;
    }
    VSTGUI::pushRunLoop(runLoop_);
    if (!open(parent, VSTGUI::PlatformType::kX11EmbedWindowID)) {
        stopTimer();
        runLoop_->retire();
        runLoop_ = nullptr;
        return kResultFalse;
    }
    open_ = true;
    adoptDesktopScale();
    if (frame && contentScale_ != 1.0) frame->setScaleFactor(contentScale_);
    return EditorView::attached(parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed() {
    if (open_) {
        stopTimer();
        close();
        open_ = false;
    }
    if (runLoop_) {
        runLoop_->retire();
        runLoop_ = nullptr;
    }
    return EditorView::removed();
}

void VSTGUIEditor::adoptDesktopScale() {
    if (hostScaled_ || desktopScaleRead_) return;
    desktopScaleRead_ = true;
    contentScale_ = VSTGUI::getDesktopScaleFactor();
}

ViewRect VSTGUIEditor::scaledRect() const {
    auto scale = [this](int32 v) { return static_cast<int32>(std::lround(v * contentScale_)); };
    return ViewRect(scale(logicalRect_.left), scale(logicalRect_.top), scale(logicalRect_.right),
                    scale(logicalRect_.bottom));
}

tresult PLUGIN_API VSTGUIEditor::getSize(ViewRect* size) {
    if (!size) return kInvalidArgument;
    adoptDesktopScale();
    *size = scaledRect();
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::onSize(ViewRect* newSize) {
    if (!newSize) return kInvalidArgument;
    adoptDesktopScale();
    ViewRect r = scaledRect();
    return (newSize->getWidth() == r.getWidth() && newSize->getHeight() == r.getHeight()) ? kResultTrue
                                                                                          : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::checkSizeConstraint(ViewRect* rect) {
    if (!rect) return kInvalidArgument;
    adoptDesktopScale();
    ViewRect r = scaledRect();
    rect->right = rect->left + r.getWidth();
    rect->bottom = rect->top + r.getHeight();
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::onKeyDown(char16 key, int16 keyCode, int16 modifiers) {
    if (!frame) return kResultFalse;
    VSTGUI::VstKeyCode code;
    code.character = keyCode > 0 ? 0 : static_cast<int32_t>(key);
    code.virt = static_cast<unsigned char>(keyCode > 0 && keyCode < 256 ? keyCode : 0);
    code.modifier = static_cast<unsigned char>(modifiers & 0x0F);
    if (code.character == 0 && code.virt == 0) return kResultFalse;
    return frame->platformOnKeyDown(code) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::setContentScaleFactor(ScaleFactor factor) {
    if (!(factor > 0)) return kResultFalse;
    hostScaled_ = true;
    if (contentScale_ == factor) return kResultTrue;
    contentScale_ = factor;
    if (frame) frame->setScaleFactor(contentScale_);
    if (plugFrame && open_) {
        ViewRect r = scaledRect();
        plugFrame->resizeView(this, &r);
    }
    return kResultTrue;
}

void VSTGUIEditor::beginEdit(int32_t index) {
    if (controller && controller->getParameterObject(static_cast<ParamID>(index)))
        controller->beginEdit(index);
}

void VSTGUIEditor::endEdit(int32_t index) {
    if (controller && controller->getParameterObject(static_cast<ParamID>(index))) controller->endEdit(index);
}

VSTGUI::CMessageResult VSTGUIEditor::notify(VSTGUI::CBaseObject*, VSTGUI::IdStringPtr message) {
    if (message && std::strcmp(message, VSTGUI::CVSTGUITimer::kMsgTimer) == 0) {
        if (frame) frame->idle();
        return VSTGUI::kMessageNotified;
    }
    return VSTGUI::kMessageUnknown;
}

}  // namespace Vst
}  // namespace Steinberg
