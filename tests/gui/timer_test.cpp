#include <gtest/gtest.h>

#include <cstring>

#include "gui_test_support.h"

using namespace guitest;

namespace {
struct TickCounter : CBaseObject {
    int ticks = 0;
    CBaseObject* lastSender = nullptr;
    CMessageResult notify(CBaseObject* sender, IdStringPtr message) override {
        if (message == CVSTGUITimer::kMsgTimer) {
            ++ticks;
            lastSender = sender;
            return kMessageNotified;
        }
        return kMessageUnknown;
    }
};
}  // namespace

TEST(Timer, FiresThroughTheRunLoop) {
    EXPECT_STREQ(CVSTGUITimer::kMsgTimer, "timer fired");
    OffscreenSession session;
    auto* target = new TickCounter;
    auto* timer = new CVSTGUITimer(target, 33, true);
    EXPECT_TRUE(timer->isRunning());
    session.runLoop().advance(32);
    EXPECT_EQ(target->ticks, 0);
    session.runLoop().advance(1);
    EXPECT_EQ(target->ticks, 1);
    EXPECT_EQ(target->lastSender, timer);
    session.runLoop().advance(330);
    EXPECT_EQ(target->ticks, 11);
    timer->stop();
    session.runLoop().advance(100);
    EXPECT_EQ(target->ticks, 11);
    EXPECT_EQ(session.runLoop().timerCount(), 0u);
    timer->setFireTime(10);
    EXPECT_TRUE(timer->start());
    session.runLoop().advance(25);
    EXPECT_EQ(target->ticks, 13);
    timer->forget();
    EXPECT_EQ(session.runLoop().timerCount(), 0u) << "a released timer stops";
    target->forget();
}

TEST(Timer, WithoutARunLoopItDoesNotStart) {
    auto* target = new TickCounter;
    auto* timer = new CVSTGUITimer(target, 10, false);
    EXPECT_FALSE(timer->start());
    EXPECT_FALSE(timer->isRunning());
    timer->forget();
    target->forget();
}

TEST(Timer, CallbackFormAndStoppingFromInsideATick) {
    OffscreenSession session;
    int calls = 0;
    CVSTGUITimer* timer = new CVSTGUITimer(
        [&](CVSTGUITimer* t) {
            if (++calls == 3) t->stop();
        },
        5);
    session.runLoop().advance(100);
    EXPECT_EQ(calls, 3);
    timer->forget();
}
