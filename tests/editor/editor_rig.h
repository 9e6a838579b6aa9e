// A processor and a controller of this build connected as a host connects them, and the
// controller's editor opened on the off-screen back end with a run loop driven by hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/corvane_vstgui_editor.h"
#include "gui/controls/menu_popup.h"
#include "gui/offscreen/offscreen_run_loop.h"
#include "gui/offscreen/offscreen_window.h"
#include "host/editor_requests.h"
#include "plugin/corvane_vst_controller.h"
#include "plugin/corvane_vst_processor.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tools/vst3host/host_object.h"

namespace velt::corvane::editortest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace VSTGUI;

/// Sits between processor and controller as a host's connection proxy does: passes every
/// message on and keeps the ids and tags of what went by.
class Relay : public IConnectionPoint {
public:
    CORVANE_HOST_OBJECT(IConnectionPoint)
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override {
        std::string id = message->getMessageID() ? message->getMessageID() : "";
        int64 tag = -1;
        double val = 0.0;
        if (IAttributeList* a = message->getAttributes()) {
            a->getInt("tag", tag);
            a->getFloat("val", val);
        }
        log.push_back({id, tag, val});
        return target && !cut ? target->notify(message) : kResultOk;
    }
    struct Entry {
        std::string id;
        int64 tag;
        double val;
    };
    std::vector<Entry> log;
    IConnectionPoint* target = nullptr;
    bool cut = false;  ///< messages stop here, as if the other side had not answered yet
};

class EditorRig {
public:
    explicit EditorRig(bool connect = true) : scoped_(&loop) {
        previousFactory_ = setPlatformFrameFactory(&OffscreenWindow::create);
        setResourceFolder(std::string(CORVANE_SOURCE_DIR) + "/resources/art");
        host_.reset(new HostApplication);
        processor =
            Steinberg::owned(static_cast<IAudioProcessor*>(CorvaneVSTProcessor::createInstance(nullptr)));
        component = FUnknownPtr<IComponent>(processor);
        controller =
            Steinberg::owned(static_cast<IEditController*>(CorvaneVSTController::createInstance(nullptr)));
        EXPECT_EQ(component->initialize(host_.get()), kResultOk);
        EXPECT_EQ(controller->initialize(host_.get()), kResultOk);
        processorPoint = FUnknownPtr<IConnectionPoint>(component);
        controllerPoint = FUnknownPtr<IConnectionPoint>(controller);
        // Processor -> toController -> controller; controller -> toProcessor -> processor.
        toController.target = controllerPoint;
        toProcessor.target = processorPoint;
        toProcessor.cut = !connect;
        processorPoint->connect(&toController);
        controllerPoint->connect(&toProcessor);
    }
    ~EditorRig() {
        closeView();
        controllerPoint->disconnect(&toProcessor);
        processorPoint->disconnect(&toController);
        controller->terminate();
        component->terminate();
        setPlatformFrameFactory(previousFactory_);
    }

    CorvaneVSTController* vstController() const {
        return static_cast<CorvaneVSTController*>(controller.get());
    }
    /// The processor's editor requests: the display the editor reads and the decoding of its
    /// messages.
    host::EditorRequests& engine() const {
        return *static_cast<CorvaneVSTProcessor*>(processor.get())->editorRequests();
    }

    /// createView("editor") and open on the off-screen back end; a scale above 0 is then given
    /// to the view as the host's content scale.
    bool openView(float scale = 0) {
        view = Steinberg::owned(controller->createView("editor"));
        editor = dynamic_cast<CorvaneVSTGUIEditor*>(view.get());
        if (!editor) return false;
        if (!editor->open(nullptr, PlatformType::kDefaultNative)) return false;
        if (scale > 0) {
            FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
            if (!scaling || scaling->setContentScaleFactor(scale) != kResultTrue) return false;
        }
        window = OffscreenWindow::of(editor->getFrame());
        return window != nullptr;
    }
    void closeView() {
        if (editor) editor->close();
        editor = nullptr;
        window = nullptr;
        view = nullptr;
    }

    /// The frame point at the middle of the control with tag.
    CPoint centreOf(int32_t tag) const {
        CControl* c = editor->control(tag);
        EXPECT_NE(c, nullptr) << std::hex << tag;
        if (!c) return CPoint();
        CPoint p = c->getViewSize().getCenter();
        return c->localToFrame(p);
    }
    MenuPopup* popup() const { return dynamic_cast<MenuPopup*>(editor->getFrame()->getModalPopup()); }
    /// Clicks the entry of the open popup's level.
    void choose(size_t level, int32_t index) {
        ASSERT_NE(popup(), nullptr);
        window->click(popup()->entryRect(level, index).getCenter());
    }
    /// Focuses the text field, replaces its text and presses Return.
    void type(int32_t tag, const std::string& text) {
        window->click(centreOf(tag));
        window->virtualKey(VKEY_END);
        for (int i = 0; i < 40; ++i) window->virtualKey(VKEY_BACK);
        window->typeText(text);
        window->virtualKey(VKEY_RETURN);
    }
    /// The value changes the editor sent since the log was cleared.
    std::vector<Relay::Entry> sent(const char* id = "GUIEditor:cvValueChange") const {
        std::vector<Relay::Entry> out;
        for (const auto& e : toProcessor.log)
            if (e.id == id) out.push_back(e);
        return out;
    }
    std::string text(int32_t tag) const {
        auto* label = dynamic_cast<CTextLabel*>(editor->control(tag));
        return label ? label->getText().getString() : std::string("<none>");
    }
    float value(int32_t tag) const {
        CControl* c = editor->control(tag);
        return c ? c->getValueNormalized() : -1.0f;
    }

    OffscreenRunLoop loop;
    IPtr<IAudioProcessor> processor;
    IPtr<IComponent> component;
    IPtr<IEditController> controller;
    IPtr<IConnectionPoint> processorPoint;
    IPtr<IConnectionPoint> controllerPoint;
    Relay toController;
    Relay toProcessor;
    IPtr<IPlugView> view;
    CorvaneVSTGUIEditor* editor = nullptr;
    OffscreenWindow* window = nullptr;

private:
    ScopedRunLoop scoped_;
    PlatformFrameFactory previousFactory_ = nullptr;
    // The SDK's host object does not count references: it is owned here.
    std::unique_ptr<HostApplication> host_;
};

}  // namespace velt::corvane::editortest
