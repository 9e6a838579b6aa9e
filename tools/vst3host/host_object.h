// FUnknown for objects that live inside their owner (on the stack or as a member):
// queryInterface answers the one interface, and reference counting does nothing.
#pragma once

#include "pluginterfaces/base/funknown.h"

#define CORVANE_HOST_OBJECT(Interface)                                                             \
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override { \
        if (!obj) return Steinberg::kInvalidArgument;                                              \
        if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid) ||                           \
            Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {                 \
            *obj = this;                                                                           \
            return Steinberg::kResultOk;                                                           \
        }                                                                                          \
        *obj = nullptr;                                                                            \
        return Steinberg::kNoInterface;                                                            \
    }                                                                                              \
    Steinberg::uint32 PLUGIN_API addRef() override {                                               \
        return 1;                                                                                  \
    }                                                                                              \
    Steinberg::uint32 PLUGIN_API release() override {                                              \
        return 1;                                                                                  \
    }
