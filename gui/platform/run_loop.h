#pragma once
// The platform's event loop as the GUI sees it: periodic timers and readable file descriptors.
// Everything runs on the loop's (main) thread; the GUI never starts a thread of its own.
#include <cstdint>

namespace VSTGUI {

class IRunLoopTimerHandler {
public:
    virtual ~IRunLoopTimerHandler() = default;
    virtual void onRunLoopTimer() = 0;
};

class IRunLoopFdHandler {
public:
    virtual ~IRunLoopFdHandler() = default;
    /** fd is readable, or has reached end of file or an error. */
    virtual void onRunLoopFdReadable(int fd) = 0;
};

class IPlatformRunLoop {
public:
    virtual ~IPlatformRunLoop() = default;
    /** Calls handler every intervalMs until unregistered; registering again changes the interval. */
    virtual bool registerTimer(uint32_t intervalMs, IRunLoopTimerHandler* handler) = 0;
    virtual void unregisterTimer(IRunLoopTimerHandler* handler) = 0;
    /** Calls handler whenever fd is readable, until unregistered. */
    virtual bool registerFd(int fd, IRunLoopFdHandler* handler) = 0;
    virtual void unregisterFd(IRunLoopFdHandler* handler) = 0;
};

/** The run loop that new frames, timers and file selectors use: the most recently pushed one
    still present, or null. Main thread only. */
IPlatformRunLoop* getCurrentRunLoop();
void pushRunLoop(IPlatformRunLoop* loop);
void removeRunLoop(IPlatformRunLoop* loop);

/** Pushes a run loop for its lifetime. */
class ScopedRunLoop {
public:
    explicit ScopedRunLoop(IPlatformRunLoop* loop) : loop_(loop) { pushRunLoop(loop); }
    ~ScopedRunLoop() { removeRunLoop(loop_); }
    ScopedRunLoop(const ScopedRunLoop&) = delete;
    ScopedRunLoop& operator=(const ScopedRunLoop&) = delete;

private:
    IPlatformRunLoop* loop_;
};

}  // namespace VSTGUI
