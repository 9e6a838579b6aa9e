// A VST 3 bundle loaded the way a Linux host loads it: dlopen, ModuleEntry, GetPluginFactory.
#pragma once

#include <memory>
#include <string>

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

namespace Steinberg::Vst {
class HostApplication;
}

namespace velt::corvane::tools {

class Vst3Module {
public:
    /// Loads "<bundle>/Contents/x86_64-linux/<bundle name>.so", enters it and takes its factory
    /// (handing it the host context); null on failure, with the reason in *error when given.
    static std::unique_ptr<Vst3Module> load(const std::string& bundlePath, std::string* error = nullptr);
    /// The module file inside a bundle path; empty when the path does not name a ".vst3" bundle.
    static std::string modulePathOf(const std::string& bundlePath);

    /// Releases the factory, calls ModuleExit and unloads. Instances must be gone before.
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    /// The module's factory; this object holds one reference.
    Steinberg::IPluginFactory* factory() const { return factory_; }
    /// The host context passed to the factory and to every class's initialize.
    Steinberg::FUnknown* hostContext() const;
    /// An exported symbol of the module, or null.
    void* symbol(const char* name) const;
    /// The dlopen handle (also what ModuleEntry received).
    void* handle() const { return handle_; }
    const std::string& modulePath() const { return modulePath_; }

private:
    Vst3Module();

    void* handle_ = nullptr;
    bool (*moduleExit_)() = nullptr;
    Steinberg::IPtr<Steinberg::IPluginFactory> factory_;
    // Not reference counted (its addRef and release do nothing): it lives as long as this object.
    std::unique_ptr<Steinberg::Vst::HostApplication> hostContext_;
    std::string modulePath_;
};

}  // namespace velt::corvane::tools
