#include "gui/lib/cvstguitimer.h"

namespace VSTGUI {

IdStringPtr CVSTGUITimer::kMsgTimer = "timer fired";

CVSTGUITimer::CVSTGUITimer(CBaseObject* target, uint32_t fireTime, bool doStart)
    : target_(target), fireTime_(fireTime) {
    if (doStart) start();
}

CVSTGUITimer::CVSTGUITimer(const CallbackFunc& callback, uint32_t fireTime, bool doStart)
    : callback_(callback), fireTime_(fireTime) {
    if (doStart) start();
}

CVSTGUITimer::~CVSTGUITimer() {
    stop();
}

bool CVSTGUITimer::start() {
    if (loop_) return true;
    IPlatformRunLoop* loop = getCurrentRunLoop();
    if (!loop || !loop->registerTimer(fireTime_, this)) return false;
    loop_ = loop;
    return true;
}

bool CVSTGUITimer::stop() {
    if (!loop_) return false;
    loop_->unregisterTimer(this);
    loop_ = nullptr;
    return true;
}

bool CVSTGUITimer::setFireTime(uint32_t ms) {
    fireTime_ = ms;
    if (!loop_) return true;
    stop();
    return start();
}

void CVSTGUITimer::onRunLoopTimer() {
    remember();
    if (callback_)
        callback_(this);
    else if (target_)
        target_->notify(this, kMsgTimer);
    forget();
}

}  // namespace VSTGUI
