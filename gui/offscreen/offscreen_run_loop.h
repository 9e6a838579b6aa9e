#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gui/platform/run_loop.h"

namespace VSTGUI {

/** A run loop driven by hand (tests, tools): advance() moves a virtual clock, firing due timers
    in time order, and polls the watched descriptors without waiting; pollFds() waits for them. */
class OffscreenRunLoop : public IPlatformRunLoop {
public:
    bool registerTimer(uint32_t intervalMs, IRunLoopTimerHandler* handler) override;
    void unregisterTimer(IRunLoopTimerHandler* handler) override;
    bool registerFd(int fd, IRunLoopFdHandler* handler) override;
    void unregisterFd(IRunLoopFdHandler* handler) override;

    /** Moves the clock by ms, firing every timer that falls due, then polls the descriptors. */
    void advance(uint32_t ms);
    /** Waits up to timeoutMs of real time for a watched descriptor and dispatches; true when one was. */
    bool pollFds(int timeoutMs);
    /** Repeats pollFds and advance(stepMs) until done() holds or realTimeoutMs passed. */
    template <class Predicate>
    bool runUntil(Predicate done, int realTimeoutMs, uint32_t stepMs = 10) {
        for (int waited = 0; !done(); waited += static_cast<int>(stepMs)) {
            if (waited >= realTimeoutMs) return false;
            pollFds(static_cast<int>(stepMs));
            advance(stepMs);
        }
        return true;
    }

    uint64_t now() const { return now_; }
    size_t timerCount() const { return timers_.size(); }
    size_t fdCount() const { return fds_.size(); }
    bool hasTimer(const IRunLoopTimerHandler* handler) const;

private:
    struct Timer {
        IRunLoopTimerHandler* handler;
        uint32_t interval;
        uint64_t due;
    };
    struct Watch {
        int fd;
        IRunLoopFdHandler* handler;
    };
    bool dispatchFds(int timeoutMs);

    std::vector<Timer> timers_;
    std::vector<Watch> fds_;
    uint64_t now_ = 0;
};

}  // namespace VSTGUI
