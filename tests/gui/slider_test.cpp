#include <gtest/gtest.h>

#include "gui_test_support.h"

using namespace guitest;

namespace {

// The remapping an editor does: vertical wheel events move the slider as horizontal ones would.
struct WheelRemappingSlider : CHorizontalSlider {
    using CHorizontalSlider::CHorizontalSlider;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override {
        if (axis == kMouseWheelAxisY)
            return CHorizontalSlider::onWheel(where, kMouseWheelAxisX, -distance, buttons);
        return CHorizontalSlider::onWheel(where, axis, distance, buttons);
    }
};

struct SliderFixture {
    SliderFixture() {
        makeResources();
        handle = new CBitmap(CResourceDescription("knob.png"));
        // Geometry of an editor row: left 50, travel 100, handle 10 wide.
        slider = new WheelRemappingSlider(CRect(50, 20, 160, 42), &listener, 7, 50, 150, handle, nullptr);
        handle->forget();
        slider->setStyle(kHorizontal | kLeft);
        f.frame->addView(slider);
    }
    OffscreenFrame f{CRect(0, 0, 200, 100)};
    RecordingListener listener;
    CBitmap* handle;
    WheelRemappingSlider* slider;
};

}  // namespace

TEST(Slider, HandleFollowsTheValue) {
    SliderFixture s;
    EXPECT_EQ(s.slider->getHandleRect(), CRect(50, 20, 60, 42));
    s.slider->setValueNormalized(0.5f);
    EXPECT_EQ(s.slider->getHandleRect(), CRect(100, 20, 110, 42));
    EXPECT_EQ(s.f.window->pixelAt(CPoint(105, 30)).green, 250) << "handle bitmap drawn at its place";
    EXPECT_EQ(s.f.window->pixelAt(CPoint(55, 30)).green, 0);
    s.slider->setValueNormalized(1.f);
    EXPECT_EQ(s.slider->getHandleRect(), CRect(150, 20, 160, 42));
}

TEST(Slider, DragOnTheHandleKeepsTheGrip) {
    SliderFixture s;
    s.slider->setValueNormalized(0.2f);  // handle at 70..80
    s.f.window->mouseDown(CPoint(72, 30));
    EXPECT_FLOAT_EQ(s.slider->getValueNormalized(), 0.2f) << "pressing the handle does not move it";
    EXPECT_TRUE(s.listener.changes.empty());
    s.f.window->mouseMoved(CPoint(92, 30));
    EXPECT_NEAR(s.slider->getValueNormalized(), 0.4f, 1e-5);
    s.f.window->mouseMoved(CPoint(500, 30));
    EXPECT_FLOAT_EQ(s.slider->getValueNormalized(), 1.f);
    s.f.window->mouseUp(CPoint(500, 30));
    EXPECT_EQ(s.listener.changes.size(), 2u);
    EXPECT_EQ(s.listener.begins, 1);
    EXPECT_EQ(s.listener.ends, 1);
    EXPECT_EQ(s.listener.changes.back().control, s.slider);
}

TEST(Slider, ClickBesideTheHandleJumpsThere) {
    SliderFixture s;
    s.f.window->mouseDown(CPoint(105, 30));  // handle centre at 105 → left edge 100 → 0.5
    EXPECT_NEAR(s.slider->getValueNormalized(), 0.5f, 1e-5);
    ASSERT_EQ(s.listener.changes.size(), 1u);
    s.f.window->mouseMoved(CPoint(115, 30));
    EXPECT_NEAR(s.slider->getValueNormalized(), 0.6f, 1e-5);
    s.f.window->mouseUp(CPoint(115, 30));

    // With the zoom modifier the drag is ten times finer.
    s.listener.changes.clear();
    s.f.window->mouseDown(CPoint(112, 30), CButtonState(kLButton | kShift));  // on the handle (110..120)
    s.f.window->mouseMoved(CPoint(122, 30), CButtonState(kLButton | kShift));
    EXPECT_NEAR(s.slider->getValueNormalized(), 0.61f, 1e-4);
    s.f.window->mouseUp(CPoint(122, 30));

    // Without free click, a press beside the handle does nothing.
    s.slider->setFreeClick(false);
    s.listener.changes.clear();
    s.f.window->click(CPoint(60, 30));
    EXPECT_TRUE(s.listener.changes.empty());
}

TEST(Slider, WheelStepsByTheWheelIncrement) {
    SliderFixture s;
    s.slider->setWheelInc(1.f / 127);
    EXPECT_TRUE(s.f.window->wheel(CPoint(100, 30), kMouseWheelAxisY, 1.f));
    EXPECT_NEAR(s.slider->getValueNormalized(), 1.f / 127, 1e-6);
    ASSERT_EQ(s.listener.changes.size(), 1u);
    s.f.window->wheel(CPoint(100, 30), kMouseWheelAxisY, 2.f);
    EXPECT_NEAR(s.slider->getValueNormalized(), 3.f / 127, 1e-6);
    // The horizontal axis counts the other way round on a horizontal slider.
    s.f.window->wheel(CPoint(100, 30), kMouseWheelAxisX, 1.f);
    EXPECT_NEAR(s.slider->getValueNormalized(), 2.f / 127, 1e-6);
    s.f.window->wheel(CPoint(100, 30), kMouseWheelAxisY, -10.f);
    EXPECT_FLOAT_EQ(s.slider->getValueNormalized(), 0.f);
    size_t n = s.listener.changes.size();
    s.f.window->wheel(CPoint(100, 30), kMouseWheelAxisY, -1.f);
    EXPECT_EQ(s.listener.changes.size(), n) << "no change, no call";
    EXPECT_FALSE(s.f.window->wheel(CPoint(5, 5), kMouseWheelAxisY, 1.f)) << "nothing under the pointer";
}

TEST(Slider, PlainHorizontalWheelWithoutRemapping) {
    makeResources();
    OffscreenFrame f;
    RecordingListener listener;
    auto* slider = new CHorizontalSlider(CRect(0, 0, 110, 22), &listener, 1, 0, 100, nullptr, nullptr);
    slider->setWheelInc(0.1f);
    f.frame->addView(slider);
    f.window->wheel(CPoint(50, 10), kMouseWheelAxisY, 1.f);
    EXPECT_NEAR(slider->getValue(), 0.1f, 1e-6);
    f.window->wheel(CPoint(50, 10), kMouseWheelAxisY, 1.f, kShift);
    EXPECT_NEAR(slider->getValue(), 0.11f, 1e-6);
    EXPECT_TRUE(slider->getStyle() & kHorizontal);
}
