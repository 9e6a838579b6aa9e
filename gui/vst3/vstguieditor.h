#pragma once
// The VST 3 editor view that hosts a frame: attaches to the host's X11 window, adapts the host's
// run loop, runs the idle timer and follows the host's content scale (the desktop's while the
// host gives none).
#include "gui/lib/cbaseobject.h"
#include "gui/lib/cvstguitimer.h"
#include "gui/lib/vstguieditorinterface.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace VSTGUI {
class RunLoopAdapter;
}

namespace Steinberg {
namespace Vst {

/** Base of editors built on the GUI layer. Subclasses build and open their frame in open()
    (parent is the host's window) and release it in close(). Main thread only. */
class VSTGUIEditor : public EditorView,
                     public VSTGUI::VSTGUIEditorInterface,
                     public VSTGUI::CBaseObject,
                     public IPlugViewContentScaleSupport {
public:
    /** size is the window's logical size. */
    VSTGUIEditor(EditController* controller, ViewRect* size = nullptr);
    ~VSTGUIEditor() override;

    /** Builds the window inside parent; false leaves nothing open. */
    virtual bool PLUGIN_API open(void* parent,
                                 const VSTGUI::PlatformType& type = VSTGUI::PlatformType::kDefaultNative) = 0;
    virtual void PLUGIN_API close() = 0;

    /** Starts (or changes) the timer that calls notify(timer, CVSTGUITimer::kMsgTimer). */
    void setIdleRate(int32 millisec);
    double getContentScaleFactor() const { return contentScale_; }

    // IPlugView
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) SMTG_OVERRIDE;
    /** Only X11 embedding; needs the host's Linux IRunLoop through the IPlugFrame. */
    tresult PLUGIN_API attached(void* parent, FIDString type) SMTG_OVERRIDE;
    tresult PLUGIN_API removed() SMTG_OVERRIDE;
    /** The logical size times the content scale. */
    tresult PLUGIN_API getSize(ViewRect* size) SMTG_OVERRIDE;
    /** The window has one size: only that size is accepted. */
    tresult PLUGIN_API onSize(ViewRect* newSize) SMTG_OVERRIDE;
    tresult PLUGIN_API canResize() SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) SMTG_OVERRIDE;
    /** Keys a host forwards instead of letting the window have them: given to the focus view
        (or the open popup). The SDK's key and modifier codes are the key codes' own. */
    tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) SMTG_OVERRIDE;

    // IPlugViewContentScaleSupport
    tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) SMTG_OVERRIDE;

    // VSTGUIEditorInterface: gestures on controls whose tag is a parameter reach the host.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

    // CBaseObject: timer ticks let the frame do its idle work.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
    void remember() override { addRef(); }
    void forget() override { release(); }

    OBJ_METHODS(VSTGUIEditor, EditorView)
    DEFINE_INTERFACES
    DEF_INTERFACE(IPlugViewContentScaleSupport)
    END_DEFINE_INTERFACES(EditorView)
    REFCOUNT_METHODS(EditorView)

protected:
    VSTGUI::CVSTGUITimer* timer = nullptr;

private:
    ViewRect scaledRect() const;
    /** Until the host sets a scale, the desktop's is used; it is read once, before the size is
        first told. */
    void adoptDesktopScale();
    void stopTimer();

    ViewRect logicalRect_;
    VSTGUI::RunLoopAdapter* runLoop_ = nullptr;
    double contentScale_ = 1.0;
    bool hostScaled_ = false;
    bool desktopScaleRead_ = false;
    bool open_ = false;
};

}  // namespace Vst
}  // namespace Steinberg
