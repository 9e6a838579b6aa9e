#pragma once
#include <functional>

#include "gui/lib/cbaseobject.h"
#include "gui/platform/run_loop.h"

namespace VSTGUI {

/** A periodic timer on the current run loop (never a thread). Each tick calls
    target->notify(timer, kMsgTimer), or the callback. Main thread only. */
class CVSTGUITimer : public CBaseObject, private IRunLoopTimerHandler {
public:
    using CallbackFunc = std::function<void(CVSTGUITimer*)>;

    CVSTGUITimer(CBaseObject* target, uint32_t fireTime = 100, bool doStart = false);
    CVSTGUITimer(const CallbackFunc& callback, uint32_t fireTime = 100, bool doStart = true);
    ~CVSTGUITimer() override;

    /** Starts on the current run loop; false when there is none. */
    bool start();
    bool stop();
    bool isRunning() const { return loop_ != nullptr; }
    /** Changes the interval (milliseconds), restarting a running timer. */
    bool setFireTime(uint32_t ms);
    uint32_t getFireTime() const { return fireTime_; }

    /** The message of each tick: "timer fired". */
    static IdStringPtr kMsgTimer;

private:
    void onRunLoopTimer() override;

    CBaseObject* target_ = nullptr;
    CallbackFunc callback_;
    uint32_t fireTime_;
    IPlatformRunLoop* loop_ = nullptr;
};

}  // namespace VSTGUI
