// Shared by the plug-in tests: the built bundle, its class ids and small factory helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/common/memorystream.h"

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

/// The component's saved state, as a host stores it.
inline std::vector<uint8_t> saveState(Steinberg::Vst::IComponent* component) {
    Steinberg::IPtr<Steinberg::MemoryStream> stream = Steinberg::owned(new Steinberg::MemoryStream);
    EXPECT_EQ(component->getState(stream), Steinberg::kResultOk);
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    return std::vector<uint8_t>(data, data + stream->getSize());
}

/// Restores bytes as a host does, from the start of a stream holding them.
inline Steinberg::tresult loadState(Steinberg::Vst::IComponent* component,
                                    const std::vector<uint8_t>& bytes) {
    Steinberg::IPtr<Steinberg::MemoryStream> stream = Steinberg::owned(new Steinberg::MemoryStream);
    Steinberg::int32 written = 0;
    if (!bytes.empty())
        stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<Steinberg::int32>(bytes.size()),
                      &written);
    stream->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    return component->setState(stream);
}

/// The chunk in bytes, which must read completely.
inline state::StateChunk parseState(const std::vector<uint8_t>& bytes) {
    state::MemorySource source(bytes.data(), bytes.size());
    state::StateChunk c;
    EXPECT_TRUE(state::readStateChunk(source, c).complete);
    return c;
}

}  // namespace velt::corvane::test
