#include "tools/vst3host/vst3_instance.h"

#include <cstring>
#include <new>

namespace velt::corvane::tools {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// The class id of the first entry in the given category, or false when there is none.
bool findClass(IPluginFactory* factory, const char* category, TUID cid) {
    const int32 count = factory->countClasses();
    for (int32 i = 0; i < count; ++i) {
        PClassInfo info;
        if (factory->getClassInfo(i, &info) != kResultOk) continue;
        if (std::strncmp(info.category, category, PClassInfo::kCategorySize) != 0) continue;
        std::memcpy(cid, info.cid, sizeof(TUID));
        return true;
    }
    return false;
}

template <typename Interface>
IPtr<Interface> createClass(IPluginFactory* factory, const TUID cid) {
    void* object = nullptr;
    if (factory->createInstance(cid, Interface::iid, &object) != kResultOk || !object) return nullptr;
    return owned(static_cast<Interface*>(object));
}

}  // namespace

std::unique_ptr<Vst3Instance> Vst3Instance::create(const Vst3Module& module, std::string* error) {
    std::unique_ptr<Vst3Instance> instance(new (std::nothrow) Vst3Instance);
    if (!instance) return nullptr;
    IPluginFactory* factory = module.factory();
    TUID componentId;
    if (!factory || !findClass(factory, kVstAudioEffectClass, componentId)) {
        setError(error, module.modulePath() + ": no audio module class");
        return nullptr;
    }
    instance->component_ = createClass<IComponent>(factory, componentId);
    if (!instance->component_) {
        setError(error, module.modulePath() + ": cannot create the audio module class as IComponent");
        return nullptr;
    }
    if (instance->component_->initialize(module.hostContext()) != kResultOk) {
        setError(error, module.modulePath() + ": component initialize failed");
        return nullptr;
    }
    instance->componentInitialized_ = true;
    instance->processor_ = FUnknownPtr<IAudioProcessor>(instance->component_);
    if (!instance->processor_) {
        setError(error, module.modulePath() + ": component is no IAudioProcessor");
        return nullptr;
    }

    TUID controllerId;
    if (instance->component_->getControllerClassId(controllerId) != kResultOk) {
        setError(error, module.modulePath() + ": component names no controller class");
        return nullptr;
    }
    instance->controller_ = createClass<IEditController>(factory, controllerId);
    if (!instance->controller_) {
        setError(error, module.modulePath() + ": cannot create the controller class as IEditController");
        return nullptr;
    }
    if (instance->controller_->initialize(module.hostContext()) != kResultOk) {
        setError(error, module.modulePath() + ": controller initialize failed");
        return nullptr;
    }
    instance->controllerInitialized_ = true;

    instance->componentPoint_ = FUnknownPtr<IConnectionPoint>(instance->component_);
    instance->controllerPoint_ = FUnknownPtr<IConnectionPoint>(instance->controller_);
    if (instance->componentPoint_ && instance->controllerPoint_) {
        instance->componentPoint_->connect(instance->controllerPoint_);
        instance->controllerPoint_->connect(instance->componentPoint_);
        instance->connected_ = true;
    }
    return instance;
}

Vst3Instance::~Vst3Instance() {
    if (connected_) {
        componentPoint_->disconnect(controllerPoint_);
        controllerPoint_->disconnect(componentPoint_);
    }
    componentPoint_ = nullptr;
    controllerPoint_ = nullptr;
    if (controllerInitialized_) controller_->terminate();
    if (componentInitialized_) component_->terminate();
    controller_ = nullptr;
    processor_ = nullptr;
    component_ = nullptr;
}

}  // namespace velt::corvane::tools
