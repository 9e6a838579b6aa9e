#include "audio_thread_guard.h"

#include <dlfcn.h>
#include <poll.h>
#include <pthread.h>
#include <semaphore.h>
#include <stdarg.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
void* __libc_memalign(size_t, size_t);
}

namespace {

thread_local bool tGuarded = false;
// Set while a counted call records itself, so that the recording cannot count again.
thread_local bool tInside = false;

std::atomic<int64_t> gAllocations{0};
std::atomic<int64_t> gFrees{0};
std::atomic<int64_t> gLocks{0};
std::atomic<int64_t> gBlocking{0};
std::atomic<const char*> gFirst{nullptr};

void note(std::atomic<int64_t>& counter, const char* what) {
    if (!tGuarded || tInside) return;
    tInside = true;
    counter.fetch_add(1, std::memory_order_relaxed);
    const char* none = nullptr;
    gFirst.compare_exchange_strong(none, what);
    tInside = false;
}

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

namespace rtguard {

void begin() {
    tGuarded = true;
}
void end() {
    tGuarded = false;
}

Counts counts() {
    Counts c;
    c.allocations = gAllocations.load();
    c.frees = gFrees.load();
    c.locks = gLocks.load();
    c.blockingCalls = gBlocking.load();
    const char* first = gFirst.load();
    c.first = first ? first : "";
    return c;
}

void reset() {
    gAllocations = 0;
    gFrees = 0;
    gLocks = 0;
    gBlocking = 0;
    gFirst = nullptr;
}

}  // namespace rtguard

// ---- Memory ----

extern "C" void* malloc(size_t n) {
    note(gAllocations, "malloc");
    return __libc_malloc(n);
}

extern "C" void* calloc(size_t n, size_t size) {
    note(gAllocations, "calloc");
    return __libc_calloc(n, size);
}

extern "C" void* realloc(void* p, size_t n) {
    note(gAllocations, "realloc");
    return __libc_realloc(p, n);
}

extern "C" void free(void* p) {
    if (p) note(gFrees, "free");
    __libc_free(p);
}

extern "C" int posix_memalign(void** out, size_t alignment, size_t n) {
    note(gAllocations, "posix_memalign");
    void* p = __libc_memalign(alignment, n);
    if (!p) return ENOMEM;
    *out = p;
    return 0;
}

extern "C" void* aligned_alloc(size_t alignment, size_t n) {
    note(gAllocations, "aligned_alloc");
    return __libc_memalign(alignment, n);
}

extern "C" void* memalign(size_t alignment, size_t n) {
    note(gAllocations, "memalign");
    return __libc_memalign(alignment, n);
}

// ---- Locks and waits ----

// The next definition is looked up on first use and kept in a plain atomic: a function-local
// static would need a guard, and the guard may itself lock.
#define RTGUARD_FORWARD(ret, name, counter, params, args)             \
    using name##_fn = ret(*) params;                                  \
    static std::atomic<name##_fn> real_##name{nullptr};               \
    extern "C" ret name params {                                      \
        name##_fn real = real_##name.load(std::memory_order_relaxed); \
        if (!real) {                                                  \
            real = next<name##_fn>(#name);                            \
            real_##name.store(real, std::memory_order_relaxed);       \
        }                                                             \
        note(counter, #name);                                         \
        return real args;                                             \
    }

RTGUARD_FORWARD(int, pthread_mutex_lock, gLocks, (pthread_mutex_t * m), (m))
RTGUARD_FORWARD(int, pthread_mutex_trylock, gLocks, (pthread_mutex_t * m), (m))
RTGUARD_FORWARD(int, pthread_rwlock_rdlock, gLocks, (pthread_rwlock_t * l), (l))
RTGUARD_FORWARD(int, pthread_rwlock_wrlock, gLocks, (pthread_rwlock_t * l), (l))
RTGUARD_FORWARD(int, pthread_cond_wait, gLocks, (pthread_cond_t * c, pthread_mutex_t* m), (c, m))
RTGUARD_FORWARD(int, pthread_cond_timedwait, gLocks,
                (pthread_cond_t * c, pthread_mutex_t* m, const struct timespec* t), (c, m, t))
RTGUARD_FORWARD(int, sem_wait, gLocks, (sem_t * s), (s))
RTGUARD_FORWARD(int, sem_timedwait, gLocks, (sem_t * s, const struct timespec* t), (s, t))
RTGUARD_FORWARD(int, nanosleep, gBlocking, (const struct timespec* a, struct timespec* b), (a, b))
RTGUARD_FORWARD(int, clock_nanosleep, gBlocking,
                (clockid_t c, int f, const struct timespec* a, struct timespec* b), (c, f, a, b))
RTGUARD_FORWARD(int, usleep, gBlocking, (useconds_t u), (u))
RTGUARD_FORWARD(unsigned int, sleep, gBlocking, (unsigned int s), (s))
RTGUARD_FORWARD(ssize_t, read, gBlocking, (int fd, void* b, size_t n), (fd, b, n))
RTGUARD_FORWARD(ssize_t, write, gBlocking, (int fd, const void* b, size_t n), (fd, b, n))
RTGUARD_FORWARD(int, poll, gBlocking, (struct pollfd * f, nfds_t n, int t), (f, n, t))
RTGUARD_FORWARD(int, select, gBlocking, (int n, fd_set* r, fd_set* w, fd_set* e, struct timeval* t),
                (n, r, w, e, t))
RTGUARD_FORWARD(int, close, gBlocking, (int fd), (fd))
RTGUARD_FORWARD(FILE*, fopen, gBlocking, (const char* p, const char* m), (p, m))

// open/openat take a variadic mode.
using open_fn = int (*)(const char*, int, ...);
using openat_fn = int (*)(int, const char*, int, ...);
static std::atomic<open_fn> real_open{nullptr};
static std::atomic<openat_fn> real_openat{nullptr};

extern "C" int open(const char* path, int flags, ...) {
    open_fn real = real_open.load(std::memory_order_relaxed);
    if (!real) {
        real = next<open_fn>("open");
        real_open.store(real, std::memory_order_relaxed);
    }
    note(gBlocking, "open");
    va_list args;
    va_start(args, flags);
    const mode_t mode = static_cast<mode_t>(va_arg(args, int));
    va_end(args);
    return real(path, flags, mode);
}

extern "C" int openat(int dir, const char* path, int flags, ...) {
    openat_fn real = real_openat.load(std::memory_order_relaxed);
    if (!real) {
        real = next<openat_fn>("openat");
        real_openat.store(real, std::memory_order_relaxed);
    }
    note(gBlocking, "openat");
    va_list args;
    va_start(args, flags);
    const mode_t mode = static_cast<mode_t>(va_arg(args, int));
    va_end(args);
    return real(dir, path, flags, mode);
}
