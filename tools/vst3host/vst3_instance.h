// One plug-in instance as a host holds it: the audio component and its edit controller, connected.
#pragma once

#include <memory>
#include <string>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "tools/vst3host/vst3_module.h"

namespace velt::corvane::tools {

class Vst3Instance {
public:
    /// Creates the module's first "Audio Module Class" and the controller class it names, initializes
    /// both with the module's host context and connects them when both are connection points;
    /// null on failure, with the reason in *error when given. The module must outlive the instance.
    static std::unique_ptr<Vst3Instance> create(const Vst3Module& module, std::string* error = nullptr);

    /// Disconnects, terminates and releases controller and component.
    ~Vst3Instance();
    Vst3Instance(const Vst3Instance&) = delete;
    Vst3Instance& operator=(const Vst3Instance&) = delete;

    Steinberg::Vst::IComponent* component() const { return component_; }
    Steinberg::Vst::IAudioProcessor* processor() const { return processor_; }
    Steinberg::Vst::IEditController* controller() const { return controller_; }
    /// True when component and controller were connected to each other.
    bool connected() const { return connected_; }

private:
    Vst3Instance() = default;

    Steinberg::IPtr<Steinberg::Vst::IComponent> component_;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processor_;
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller_;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> componentPoint_;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> controllerPoint_;
    bool componentInitialized_ = false;
    bool controllerInitialized_ = false;
    bool connected_ = false;
};

}  // namespace velt::corvane::tools
