#include <gtest/gtest.h>

#include <vector>

#include "gui/vst3/vstguieditor.h"
#include "gui_test_support.h"

using namespace guitest;
using namespace Steinberg;

namespace {

// A host run loop that fires its timers when told.
class FakeRunLoop : public Linux::IRunLoop {
public:
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler,
                                            Linux::FileDescriptor fd) override {
        handler->addRef();
        handlers.push_back({handler, fd});
        ++registrations;
        return kResultTrue;
    }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override {
        for (size_t i = 0; i < handlers.size(); ++i)
            if (handlers[i].first == handler) {
                handler->release();
                handlers.erase(handlers.begin() + static_cast<long>(i));
                return kResultTrue;
            }
        return kResultFalse;
    }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms) override {
        handler->addRef();
        timers.push_back({handler, ms});
        ++registrations;
        return kResultTrue;
    }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override {
        for (size_t i = 0; i < timers.size(); ++i)
            if (timers[i].first == handler) {
                handler->release();
                timers.erase(timers.begin() + static_cast<long>(i));
                return kResultTrue;
            }
        return kResultFalse;
    }
    void fireTimers() {
        auto copy = timers;
        for (auto& t : copy) t.first->onTimer();
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid) ||
            FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = this;
            addRef();
            return kResultTrue;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }

    std::vector<std::pair<Linux::ITimerHandler*, Linux::TimerInterval>> timers;
    std::vector<std::pair<Linux::IEventHandler*, Linux::FileDescriptor>> handlers;
    int registrations = 0;
    int refs = 1;
};

class FakePlugFrame : public IPlugFrame {
public:
    explicit FakePlugFrame(FakeRunLoop* loop) : loop_(loop) {}
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) override {
        ++resizes;
        lastSize = *newSize;
        return view->onSize(newSize);
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (loop_ && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
            return loop_->queryInterface(iid, obj);
        if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) ||
            FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = this;
            addRef();
            return kResultTrue;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }
    int resizes = 0;
    ViewRect lastSize;
    int refs = 1;

private:
    FakeRunLoop* loop_;
};

class TestEditor : public Vst::VSTGUIEditor {
public:
    explicit TestEditor(Vst::EditController* controller, ViewRect* rect) : VSTGUIEditor(controller, rect) {}
    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType&) override {
        if (frame) return false;
        frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 100, 80), this);
        auto* page = new VSTGUI::CViewContainer(VSTGUI::CRect(0, 0, 100, 80));
        page->setBackgroundColor(VSTGUI::CColor(1, 2, 3));
        frame->addView(page);
        if (!frame->open(parent)) {
            frame->forget();
            frame = nullptr;
            return false;
        }
        setIdleRate(33);
        ++opens;
        return true;
    }
    void PLUGIN_API close() override {
        ++closes;
        if (frame) frame->forget();
        frame = nullptr;
    }
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override {
        if (message == VSTGUI::CVSTGUITimer::kMsgTimer) ++ticks;
        return VSTGUIEditor::notify(sender, message);
    }
    int opens = 0, closes = 0, ticks = 0;
};

}  // namespace

TEST(Vst3Editor, AttachNeedsTheHostRunLoop) {
    VSTGUI::OffscreenSession offscreen(false);  // frames off screen; the run loop is the host's
    auto* controller = new Vst::EditController;
    ViewRect rect(0, 0, 100, 80);
    auto* editor = new TestEditor(controller, &rect);
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);

    FakePlugFrame noLoop(nullptr);
    editor->setFrame(&noLoop);
    EXPECT_EQ(editor->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(editor->opens, 0);
    EXPECT_EQ(editor->getFrame(), nullptr);

    FakeRunLoop loop;
    FakePlugFrame withLoop(&loop);
    editor->setFrame(&withLoop);
    EXPECT_EQ(editor->attached(nullptr, kPlatformTypeHWND), kResultFalse);
    ASSERT_EQ(editor->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(editor->opens, 1);
    ASSERT_NE(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse) << "already attached";
    ASSERT_EQ(loop.timers.size(), 1u);
    EXPECT_EQ(loop.timers[0].second, 33u);

    // Timer ticks arrive as "timer fired" and let the frame draw.
    auto* window = VSTGUI::OffscreenWindow::of(editor->getFrame());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->hasPendingRedraw());
    loop.fireTimers();
    loop.fireTimers();
    EXPECT_EQ(editor->ticks, 2);
    EXPECT_FALSE(window->hasPendingRedraw());

    // Other objects' timers on the same run loop go through the host too.
    VSTGUI::CVSTGUITimer* extra = new VSTGUI::CVSTGUITimer([](VSTGUI::CVSTGUITimer*) {}, 10, true);
    EXPECT_EQ(loop.timers.size(), 2u);
    extra->forget();
    EXPECT_EQ(loop.timers.size(), 1u);

    // Size and content scale.
    ViewRect size;
    EXPECT_EQ(editor->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 100);
    EXPECT_EQ(size.getHeight(), 80);
    EXPECT_EQ(editor->canResize(), kResultFalse);
    EXPECT_EQ(editor->setContentScaleFactor(2.f), kResultTrue);
    EXPECT_EQ(withLoop.resizes, 1);
    EXPECT_EQ(withLoop.lastSize.getWidth(), 200);
    EXPECT_EQ(withLoop.lastSize.getHeight(), 160);
    EXPECT_EQ(editor->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 200);
    EXPECT_EQ(window->pixelWidth(), 200);
    ViewRect other(0, 0, 300, 300);
    EXPECT_EQ(editor->onSize(&other), kResultFalse);
    EXPECT_EQ(editor->onSize(&withLoop.lastSize), kResultTrue);

    // Scale query through the interface, as a host does it.
    IPlugViewContentScaleSupport* scale = nullptr;
    ASSERT_EQ(editor->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scale)),
              kResultTrue);
    scale->release();

    // Keys a host forwards reach the focused field.
    {
        RecordingListener listener;
        auto* edit = new VSTGUI::CTextEdit(VSTGUI::CRect(0, 0, 50, 20), &listener, 9, "1");
        editor->getFrame()->addView(edit);
        EXPECT_EQ(editor->onKeyDown('5', 0, 0), kResultFalse) << "nobody has the focus";
        editor->getFrame()->setFocusView(edit);
        EXPECT_EQ(editor->onKeyDown('5', 0, 0), kResultTrue);
        EXPECT_EQ(editor->onKeyDown(0, VSTGUI::VKEY_RETURN, 0), kResultTrue);
        EXPECT_EQ(edit->getText(), "5");
        EXPECT_EQ(listener.changes.size(), 1u);
        editor->getFrame()->removeView(edit);
    }

    EXPECT_EQ(editor->removed(), kResultOk);
    EXPECT_EQ(editor->closes, 1);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_TRUE(loop.timers.empty());
    EXPECT_TRUE(loop.handlers.empty());
    EXPECT_EQ(loop.refs, 1) << "the adapter released the host's run loop";

    // Reopening builds again, at the scale already set.
    ASSERT_EQ(editor->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(editor->opens, 2);
    EXPECT_DOUBLE_EQ(editor->getFrame()->getScaleFactor(), 2.0);
    EXPECT_EQ(editor->removed(), kResultOk);

    editor->setFrame(nullptr);
    editor->release();
    controller->release();
}

TEST(Vst3Editor, RemovedWithAFrameOpenOnAnotherLoopIsSafe) {
    VSTGUI::OffscreenSession offscreen(false);
    auto* controller = new Vst::EditController;
    ViewRect rect(0, 0, 100, 80);
    auto* editor = new TestEditor(controller, &rect);
    FakeRunLoop loop;
    FakePlugFrame plugFrame(&loop);
    editor->setFrame(&plugFrame);
    ASSERT_EQ(editor->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultOk);
    // A timer someone leaves running past the view's removal stays harmless.
    VSTGUI::CVSTGUITimer* leftover = new VSTGUI::CVSTGUITimer([](VSTGUI::CVSTGUITimer*) {}, 10, true);
    EXPECT_EQ(editor->removed(), kResultOk);
    EXPECT_TRUE(loop.timers.empty());
    leftover->forget();
    EXPECT_EQ(VSTGUI::getCurrentRunLoop(), nullptr);
    editor->setFrame(nullptr);
    editor->release();
    controller->release();
}
