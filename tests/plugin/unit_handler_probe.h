// The host's component handler, also answering IUnitHandler as the SDK's controller asks it:
// records which program lists the controller reports changed.
#pragma once

#include <vector>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

namespace velt::corvane::test {

class UnitHandlerProbe : public Steinberg::Vst::IComponentHandler, public Steinberg::Vst::IUnitHandler {
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
        using Steinberg::FUnknownPrivate::iidEqual;
        if (iidEqual(iid, Steinberg::Vst::IUnitHandler::iid)) {
            *obj = static_cast<Steinberg::Vst::IUnitHandler*>(this);
            return Steinberg::kResultOk;
        }
        if (iidEqual(iid, Steinberg::Vst::IComponentHandler::iid) ||
            iidEqual(iid, Steinberg::FUnknown::iid)) {
            *obj = static_cast<Steinberg::Vst::IComponentHandler*>(this);
            return Steinberg::kResultOk;
        }
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID, Steinberg::Vst::ParamValue) override {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API notifyUnitSelection(Steinberg::Vst::UnitID) override {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API notifyProgramListChange(Steinberg::Vst::ProgramListID id,
                                                          Steinberg::int32) override {
        changed.push_back(id);
        return Steinberg::kResultOk;
    }

    /// Every list reported, in order.
    std::vector<Steinberg::Vst::ProgramListID> changed;
};

}  // namespace velt::corvane::test
