#pragma once
#include <cstdint>

#include "gui/lib/vstguifwd.h"

namespace VSTGUI {

/** Reference-counted base: a new object holds one reference; the last forget deletes it. */
class CBaseObject {
public:
    CBaseObject() = default;
    virtual ~CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    virtual void remember() { ++refCount_; }
    virtual void forget() {
        if (--refCount_ == 0) {
            beforeDelete();
            delete this;
        }
    }
    int32_t getNbReference() const { return refCount_; }

    /** Messages between objects (timers, file selectors); kMessageUnknown when not understood. */
    virtual CMessageResult notify(CBaseObject* /*sender*/, IdStringPtr /*message*/) {
        return kMessageUnknown;
    }

protected:
    virtual void beforeDelete() {}

private:
    int32_t refCount_ = 1;
};

/** Holds one reference to a CBaseObject. */
template <class T>
class SharedPointer {
public:
    SharedPointer() = default;
    /** Takes an extra reference unless remember is false (adopting the creator's reference). */
    SharedPointer(T* p, bool remember = true) : p_(p) {
        if (p_ && remember) p_->remember();
    }
    SharedPointer(const SharedPointer& o) : p_(o.p_) {
        if (p_) p_->remember();
    }
    SharedPointer(SharedPointer&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ~SharedPointer() {
        if (p_) p_->forget();
    }
    SharedPointer& operator=(const SharedPointer& o) {
        reset(o.p_);
        return *this;
    }
    SharedPointer& operator=(SharedPointer&& o) noexcept {
        if (this != &o) {
            if (p_) p_->forget();
            p_ = o.p_;
            o.p_ = nullptr;
        }
        return *this;
    }
    SharedPointer& operator=(T* p) {
        reset(p);
        return *this;
    }
    void reset(T* p = nullptr) {
        if (p) p->remember();
        if (p_) p_->forget();
        p_ = p;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    operator T*() const { return p_; }

private:
    T* p_ = nullptr;
};

/** Wraps a freshly created object, adopting its first reference. */
template <class T>
SharedPointer<T> owned(T* p) {
    return SharedPointer<T>(p, false);
}

}  // namespace VSTGUI
