#pragma once
#include <vector>

#include "gui/lib/cviewcontainer.h"
#include "gui/platform/platform_frame.h"

namespace VSTGUI {

class IModalPopup;
class IPlatformRunLoop;

/** Told when a frame closes, so that work bound to it (a running file dialog) stops. */
class IFrameCloseListener {
public:
    virtual ~IFrameCloseListener() = default;
    virtual void onFrameClosing(CFrame* frame) = 0;
};

/** The root view: one window, its keyboard focus, its popup and its redraws. Its origin is 0, 0.
    Main thread only. */
class CFrame : public CViewContainer, public IPlatformFrameCallback {
public:
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);
    ~CFrame() override;

    /** Opens the window inside parent (an X11 window id for X11 back ends); false when already
        open or when no window could be made. The run loop is config's, else the current one. */
    bool open(void* parent, PlatformType type = PlatformType::kDefaultNative,
              IPlatformFrameConfig* config = nullptr);
    /** Closes the window; the frame and its views stay until the last forget. */
    void close();
    bool isOpen() const { return platformFrame_ != nullptr; }

    VSTGUIEditorInterface* getEditor() const { return editor_; }
    IPlatformFrame* getPlatformFrame() const { return platformFrame_; }
    IPlatformRunLoop* getRunLoop() const { return runLoop_; }

    /** Periodic work from the editor's timer: pending redraws are drawn. */
    void idle();

    /** Gives the keyboard focus to view (null: nobody); the old focus view loses it first. */
    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView_; }

    /** Content scale (1, 2, ...): the window's pixel size is the logical size times it. */
    bool setScaleFactor(double scale);
    double getScaleFactor() const { return scale_; }

    /** Shows popup above all views; it takes all input until closeModalPopup. Takes ownership. */
    bool setModalPopup(IModalPopup* popup);
    void closeModalPopup();
    IModalPopup* getModalPopup() const { return modal_; }

    void addCloseListener(IFrameCloseListener* listener);
    void removeCloseListener(IFrameCloseListener* listener);

    void beginEdit(int32_t tag);
    void endEdit(int32_t tag);

    void invalidChildRect(const CRect& rect) override;
    void setViewSize(const CRect& rect, bool invalid = true) override;

    /** A view leaves the tree: drop focus and mouse state that point into it. */
    void onViewRemoved(CView* view) override;

    // IPlatformFrameCallback
    void platformDrawRect(cairo_t* cr, const CRect& dirtyRect) override;
    CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult platformOnMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult platformOnMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool platformOnMouseWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                              const CButtonState& buttons) override;
    bool platformOnKeyDown(VstKeyCode& key) override;
    bool platformCanDropFiles(const std::vector<std::string>& paths) override;
    bool platformOnDropFiles(const std::vector<std::string>& paths) override;

private:
    void notifyClosing();

    VSTGUIEditorInterface* editor_;
    IPlatformFrame* platformFrame_ = nullptr;
    IPlatformRunLoop* runLoop_ = nullptr;
    CView* focusView_ = nullptr;
    IModalPopup* modal_ = nullptr;
    std::vector<IFrameCloseListener*> closeListeners_;
    double scale_ = 1.0;
    bool pressInModal_ = false;
    bool pressActive_ = false;
    bool destroying_ = false;
};

}  // namespace VSTGUI
