#include "tools/corvane-host/host_run_loop.h"

#include <poll.h>

#include <algorithm>
#include <cmath>

#include "tools/corvane-host/host_clock.h"

namespace velt::corvane::tools {

using namespace Steinberg;
using namespace Steinberg::Linux;

HostRunLoop::~HostRunLoop() {
    clear();
}

tresult PLUGIN_API HostRunLoop::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IRunLoop::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = this;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API HostRunLoop::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
    if (!handler || fd < 0) return kInvalidArgument;
    for (const FdEntry& e : fds_)
        if (e.alive && e.handler == handler && e.fd == fd) return kResultOk;
    FdEntry entry;
    entry.handler = handler;
    entry.fd = fd;
    fds_.push_back(entry);
    handler->addRef();
    return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterEventHandler(IEventHandler* handler) {
    if (!handler) return kInvalidArgument;
    bool found = false;
    for (FdEntry& e : fds_) {
        if (!e.alive || e.handler != handler) continue;
        e.alive = false;
        found = true;
        handler->release();
    }
    if (dispatching_ == 0) compact();
    return found ? kResultOk : kResultFalse;
}

tresult PLUGIN_API HostRunLoop::registerTimer(ITimerHandler* handler, TimerInterval milliseconds) {
    if (!handler || milliseconds == 0) return kInvalidArgument;
    TimerEntry entry;
    entry.handler = handler;
    entry.intervalMs = static_cast<double>(milliseconds);
    entry.dueMs = monotonicMs() + entry.intervalMs;
    timers_.push_back(entry);
    handler->addRef();
    return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterTimer(ITimerHandler* handler) {
    if (!handler) return kInvalidArgument;
    bool found = false;
    for (TimerEntry& t : timers_) {
        if (!t.alive || t.handler != handler) continue;
        t.alive = false;
        found = true;
        handler->release();
    }
    if (dispatching_ == 0) compact();
    return found ? kResultOk : kResultFalse;
}

void HostRunLoop::clear() {
    // Marked dead before the releases, in case a handler's destructor unregisters itself.
    std::vector<FUnknown*> held;
    for (FdEntry& e : fds_)
        if (e.alive) {
            e.alive = false;
            held.push_back(e.handler);
        }
    for (TimerEntry& t : timers_)
        if (t.alive) {
            t.alive = false;
            held.push_back(t.handler);
        }
    for (FUnknown* h : held) h->release();
    if (dispatching_ == 0) compact();
}

int32_t HostRunLoop::eventHandlerCount() const {
    return static_cast<int32_t>(
        std::count_if(fds_.begin(), fds_.end(), [](const FdEntry& e) { return e.alive; }));
}

int32_t HostRunLoop::timerCount() const {
    return static_cast<int32_t>(
        std::count_if(timers_.begin(), timers_.end(), [](const TimerEntry& t) { return t.alive; }));
}

void HostRunLoop::compact() {
    fds_.erase(std::remove_if(fds_.begin(), fds_.end(), [](const FdEntry& e) { return !e.alive; }),
               fds_.end());
    timers_.erase(
        std::remove_if(timers_.begin(), timers_.end(), [](const TimerEntry& t) { return !t.alive; }),
        timers_.end());
}

void HostRunLoop::dispatchTimers(double nowMs) {
    const size_t count = timers_.size();
    for (size_t i = 0; i < count; ++i) {
        if (!timers_[i].alive || timers_[i].dueMs > nowMs) continue;
        TimerEntry& t = timers_[i];
        t.dueMs += t.intervalMs;
        // A loop that fell far behind does not fire a burst to catch up.
        if (t.dueMs <= nowMs) t.dueMs = nowMs + t.intervalMs;
        ITimerHandler* handler = t.handler;
        handler->addRef();
        handler->onTimer();
        handler->release();
    }
}

bool HostRunLoop::runOnce(double timeoutMs, int hostFd) {
    std::vector<pollfd> polled;
    std::vector<size_t> entryOf;
    polled.reserve(fds_.size() + 1);
    for (size_t i = 0; i < fds_.size(); ++i) {
        if (!fds_[i].alive) continue;
        polled.push_back(pollfd{fds_[i].fd, POLLIN, 0});
        entryOf.push_back(i);
    }
    if (hostFd >= 0) polled.push_back(pollfd{hostFd, POLLIN, 0});

    double wait = std::max(0.0, timeoutMs);
    const double now = monotonicMs();
    for (const TimerEntry& t : timers_)
        if (t.alive) wait = std::min(wait, std::max(0.0, t.dueMs - now));
    const int ready =
        poll(polled.data(), static_cast<nfds_t>(polled.size()), static_cast<int>(std::ceil(wait)));

    ++dispatching_;
    bool hostReady = false;
    if (ready > 0) {
        for (size_t k = 0; k < entryOf.size(); ++k) {
            if (!(polled[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            FdEntry& e = fds_[entryOf[k]];
            if (!e.alive) continue;
            IEventHandler* handler = e.handler;
            const int fd = e.fd;
            handler->addRef();
            handler->onFDIsSet(fd);
            handler->release();
        }
        if (hostFd >= 0) hostReady = (polled.back().revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    }
    dispatchTimers(monotonicMs());
    --dispatching_;
    if (dispatching_ == 0) compact();
    return hostReady;
}

}  // namespace velt::corvane::tools
