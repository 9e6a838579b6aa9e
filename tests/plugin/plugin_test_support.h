// Shared by the plug-in tests: the built bundle, its class ids and small factory helpers.
#pragma once

#include <string>

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"

namespace velt::corvane::test {

/// The bundle built in this tree.
inline std::string bundlePath() {
    return CORVANE_BUNDLE_PATH;
}

// The ids are part of saved projects, so they are pinned here independently of the plug-in's header.
inline const Steinberg::FUID kProcessorId(0x5EA2803C, 0x747E41E7, 0x89E50BF6, 0xBDC5DAB4);
inline const Steinberg::FUID kControllerId(0x1478CB95, 0x82D24D55, 0xBF384A23, 0xC76629DF);

/// Creates class cid as interface iid through the factory; null when the factory refuses.
template <typename Interface>
Steinberg::IPtr<Interface> createAs(Steinberg::IPluginFactory* factory, const Steinberg::FUID& cid) {
    void* object = nullptr;
    Steinberg::TUID id;
    cid.toTUID(id);
    if (factory->createInstance(id, Interface::iid, &object) != Steinberg::kResultOk || !object)
        return nullptr;
    return Steinberg::owned(static_cast<Interface*>(object));
}

}  // namespace velt::corvane::test
