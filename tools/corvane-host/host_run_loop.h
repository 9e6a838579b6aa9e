// The host's run loop as the plug-in's editor reaches it on Linux: file descriptors and
// timers the view registers, served by poll() on the host's one thread.
#pragma once

#include <cstdint>
#include <vector>

#include "pluginterfaces/gui/iplugview.h"

namespace velt::corvane::tools {

class HostRunLoop : public Steinberg::Linux::IRunLoop {
public:
    HostRunLoop() = default;
    /// Releases the handlers still registered (the module must still be loaded).
    virtual ~HostRunLoop();
    HostRunLoop(const HostRunLoop&) = delete;
    HostRunLoop& operator=(const HostRunLoop&) = delete;

    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    /// Waits at most timeoutMs for a registered descriptor or hostFd (-1: none) to become
    /// readable or a timer to fall due, then calls the handlers that are due. True when hostFd
    /// became readable.
    bool runOnce(double timeoutMs, int hostFd);

    /// Drops every registration, releasing its handler.
    void clear();

    int32_t eventHandlerCount() const;
    int32_t timerCount() const;

private:
    struct FdEntry {
        Steinberg::Linux::IEventHandler* handler = nullptr;
        int fd = -1;
        bool alive = true;
    };
    struct TimerEntry {
        Steinberg::Linux::ITimerHandler* handler = nullptr;
        double intervalMs = 0.0;
        double dueMs = 0.0;
        bool alive = true;
    };

    void dispatchTimers(double nowMs);
    /// Removes dead entries; only between dispatches, so that indices stay valid in them.
    void compact();

    std::vector<FdEntry> fds_;
    std::vector<TimerEntry> timers_;
    int dispatching_ = 0;
};

}  // namespace velt::corvane::tools
