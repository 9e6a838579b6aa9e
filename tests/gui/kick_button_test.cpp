#include <gtest/gtest.h>

#include "gui_test_support.h"

using namespace guitest;

TEST(KickButton, PressedWhileHeldReleasedInsideOrOutside) {
    makeResources();
    OffscreenFrame f;
    RecordingListener listener;
    auto* bitmap = new CBitmap(CResourceDescription("button.png"));
    auto* button = new CKickButton(CRect(10, 10, 30, 20), &listener, 42, bitmap);
    bitmap->forget();
    f.frame->addView(button);
    EXPECT_EQ(button->getTag(), 42);

    // Normal frame (red) before the press.
    EXPECT_EQ(f.window->pixelAt(CPoint(15, 15)).red, 200);

    f.window->mouseDown(CPoint(15, 15));
    EXPECT_EQ(button->getValue(), 1.f);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 1.f);
    EXPECT_EQ(f.window->pixelAt(CPoint(15, 15)).blue, 200) << "pressed frame";
    f.window->mouseUp(CPoint(15, 15));
    EXPECT_EQ(button->getValue(), 0.f);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[1].value, 0.f);
    EXPECT_EQ(listener.begins, 1);
    EXPECT_EQ(listener.ends, 1);

    // Leaving the button while pressed releases it; coming back presses it again.
    listener.changes.clear();
    f.window->mouseDown(CPoint(15, 15));
    f.window->mouseMoved(CPoint(100, 100));
    EXPECT_EQ(button->getValue(), 0.f);
    f.window->mouseMoved(CPoint(12, 12));
    EXPECT_EQ(button->getValue(), 1.f);
    f.window->mouseMoved(CPoint(100, 100));
    f.window->mouseUp(CPoint(100, 100));
    EXPECT_EQ(button->getValue(), 0.f);
    ASSERT_EQ(listener.changes.size(), 4u);

    // The right button does nothing.
    listener.changes.clear();
    f.window->click(CPoint(15, 15), kRButton);
    EXPECT_TRUE(listener.changes.empty());
}
