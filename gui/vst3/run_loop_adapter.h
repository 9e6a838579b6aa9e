#pragma once
#include <vector>

#include "gui/platform/run_loop.h"
#include "pluginterfaces/gui/iplugview.h"

namespace VSTGUI {

/** The host's Linux run loop as the GUI's run loop: each registration becomes a small handler
    object registered with the host. retire() unregisters everything from the host when the
    view is removed; the adapter then deletes itself once its last user has unregistered. */
class RunLoopAdapter : public IPlatformRunLoop {
public:
    /** Adopts one reference to hostLoop. */
    explicit RunLoopAdapter(Steinberg::Linux::IRunLoop* hostLoop);

    bool registerTimer(uint32_t intervalMs, IRunLoopTimerHandler* handler) override;
    void unregisterTimer(IRunLoopTimerHandler* handler) override;
    bool registerFd(int fd, IRunLoopFdHandler* handler) override;
    void unregisterFd(IRunLoopFdHandler* handler) override;

    /** Ends the adapter's use: no more host calls; deleted now or at the last unregister. */
    void retire();

    size_t registrationCount() const { return timers_.size() + fds_.size(); }

private:
    ~RunLoopAdapter() override;
    void deleteIfUnused();

    struct TimerEntry {
        IRunLoopTimerHandler* handler;
        Steinberg::Linux::ITimerHandler* proxy;
    };
    struct FdEntry {
        IRunLoopFdHandler* handler;
        Steinberg::Linux::IEventHandler* proxy;
    };
    Steinberg::Linux::IRunLoop* host_;
    std::vector<TimerEntry> timers_;
    std::vector<FdEntry> fds_;
    bool retired_ = false;
};

}  // namespace VSTGUI
