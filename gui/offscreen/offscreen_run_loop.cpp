#include "gui/offscreen/offscreen_run_loop.h"

#include <poll.h>

#include <algorithm>

namespace VSTGUI {

bool OffscreenRunLoop::registerTimer(uint32_t intervalMs, IRunLoopTimerHandler* handler) {
    if (!handler) return false;
    uint32_t interval = intervalMs == 0 ? 1 : intervalMs;
    for (Timer& t : timers_) {
        if (t.handler == handler) {
            t.interval = interval;
            t.due = now_ + interval;
            return true;
        }
    }
    timers_.push_back({handler, interval, now_ + interval});
    return true;
}

void OffscreenRunLoop::unregisterTimer(IRunLoopTimerHandler* handler) {
    timers_.erase(
        std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.handler == handler; }),
        timers_.end());
}

bool OffscreenRunLoop::registerFd(int fd, IRunLoopFdHandler* handler) {
    if (!handler || fd < 0) return false;
    fds_.push_back({fd, handler});
    return true;
}

void OffscreenRunLoop::unregisterFd(IRunLoopFdHandler* handler) {
    fds_.erase(std::remove_if(fds_.begin(), fds_.end(), [&](const Watch& w) { return w.handler == handler; }),
               fds_.end());
}

bool OffscreenRunLoop::hasTimer(const IRunLoopTimerHandler* handler) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.handler == handler; });
}

void OffscreenRunLoop::advance(uint32_t ms) {
    uint64_t target = now_ + ms;
    for (;;) {
        // Handlers may register and unregister timers while they run: search afresh each time.
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
        if (next == timers_.end() || next->due > target) break;
        now_ = next->due;
        next->due += next->interval;
        IRunLoopTimerHandler* handler = next->handler;
        handler->onRunLoopTimer();
    }
    now_ = target;
    dispatchFds(0);
}

bool OffscreenRunLoop::pollFds(int timeoutMs) {
    return dispatchFds(timeoutMs);
}

bool OffscreenRunLoop::dispatchFds(int timeoutMs) {
    if (fds_.empty()) {
        // Nothing to watch: still let the real time pass, so that waits measured in it hold.
        if (timeoutMs > 0) poll(nullptr, 0, timeoutMs);
        return false;
    }
    std::vector<Watch> watches(fds_);
    std::vector<pollfd> pfds;
    for (const Watch& w : watches) pfds.push_back({w.fd, POLLIN, 0});
    if (poll(pfds.data(), pfds.size(), timeoutMs) <= 0) return false;
    bool any = false;
    for (size_t i = 0; i < pfds.size(); ++i) {
        if (!(pfds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        bool stillWatched = std::any_of(fds_.begin(), fds_.end(), [&](const Watch& w) {
            return w.handler == watches[i].handler && w.fd == watches[i].fd;
        });
        if (!stillWatched) continue;
        any = true;
        watches[i].handler->onRunLoopFdReadable(watches[i].fd);
    }
    return any;
}

}  // namespace VSTGUI
