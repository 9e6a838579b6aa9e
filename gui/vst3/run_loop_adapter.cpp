#include "gui/vst3/run_loop_adapter.h"

#include <new>

#include "base/source/fobject.h"

namespace VSTGUI {

namespace {

using namespace Steinberg;

// Host-facing handler objects; the host may keep references to them after we let go.
class TimerProxy : public FObject, public Linux::ITimerHandler {
public:
    explicit TimerProxy(IRunLoopTimerHandler* target) : target_(target) {}
    void detach() { target_ = nullptr; }
    void PLUGIN_API onTimer() override {
        if (target_) target_->onRunLoopTimer();
    }
    OBJ_METHODS(TimerProxy, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Linux::ITimerHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    IRunLoopTimerHandler* target_;
};

class FdProxy : public FObject, public Linux::IEventHandler {
public:
    explicit FdProxy(IRunLoopFdHandler* target) : target_(target) {}
    void detach() { target_ = nullptr; }
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override {
        if (target_) target_->onRunLoopFdReadable(fd);
    }
    OBJ_METHODS(FdProxy, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Linux::IEventHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    IRunLoopFdHandler* target_;
};

}  // namespace

RunLoopAdapter::RunLoopAdapter(Linux::IRunLoop* hostLoop) : host_(hostLoop) {}

RunLoopAdapter::~RunLoopAdapter() {
    if (host_) host_->release();
}

bool RunLoopAdapter::registerTimer(uint32_t intervalMs, IRunLoopTimerHandler* handler) {
    if (retired_ || !handler || !host_) return false;
    unregisterTimer(handler);
    TimerProxy* proxy = new (std::nothrow) TimerProxy(handler);
    if (!proxy) return false;
    if (host_->registerTimer(proxy, intervalMs == 0 ? 1 : intervalMs) != kResultTrue) {
        proxy->release();
        return false;
    }
    timers_.push_back({handler, proxy});
    return true;
}

void RunLoopAdapter::unregisterTimer(IRunLoopTimerHandler* handler) {
    for (size_t i = 0; i < timers_.size(); ++i) {
        if (timers_[i].handler != handler) continue;
        auto* proxy = static_cast<TimerProxy*>(timers_[i].proxy);
        proxy->detach();
        if (!retired_) host_->unregisterTimer(proxy);
        proxy->release();
        timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    deleteIfUnused();
}

bool RunLoopAdapter::registerFd(int fd, IRunLoopFdHandler* handler) {
    if (retired_ || !handler || !host_ || fd < 0) return false;
    FdProxy* proxy = new (std::nothrow) FdProxy(handler);
    if (!proxy) return false;
    if (host_->registerEventHandler(proxy, fd) != kResultTrue) {
        proxy->release();
        return false;
    }
    fds_.push_back({handler, proxy});
    return true;
}

void RunLoopAdapter::unregisterFd(IRunLoopFdHandler* handler) {
    for (size_t i = 0; i < fds_.size();) {
        if (fds_[i].handler != handler) {
            ++i;
            continue;
        }
        auto* proxy = static_cast<FdProxy*>(fds_[i].proxy);
        proxy->detach();
        if (!retired_) host_->unregisterEventHandler(proxy);
        proxy->release();
        fds_.erase(fds_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    deleteIfUnused();
}

void RunLoopAdapter::retire() {
    if (retired_) return;
    removeRunLoop(this);
    for (TimerEntry& t : timers_) {
        static_cast<TimerProxy*>(t.proxy)->detach();
        host_->unregisterTimer(t.proxy);
    }
    for (FdEntry& f : fds_) {
        static_cast<FdProxy*>(f.proxy)->detach();
        host_->unregisterEventHandler(f.proxy);
    }
    retired_ = true;
    deleteIfUnused();
}

void RunLoopAdapter::deleteIfUnused() {
    if (retired_ && timers_.empty() && fds_.empty()) delete this;
}

}  // namespace VSTGUI
