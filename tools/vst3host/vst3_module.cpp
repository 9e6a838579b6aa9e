#include "tools/vst3host/vst3_module.h"

#include <dlfcn.h>

#include <new>

#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace velt::corvane::tools {
namespace {

using ModuleEntryFunction = bool (*)(void*);
using ModuleExitFunction = bool (*)();
using GetFactoryFunction = Steinberg::IPluginFactory* (*)();

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

}  // namespace

std::string Vst3Module::modulePathOf(const std::string& bundlePath) {
    std::string bundle = bundlePath;
    while (bundle.size() > 1 && bundle.back() == '/') bundle.pop_back();
    static const std::string kExtension = ".vst3";
    const size_t nameStart = bundle.rfind('/') == std::string::npos ? 0 : bundle.rfind('/') + 1;
    if (bundle.size() < nameStart + kExtension.size() + 1) return {};
    if (bundle.compare(bundle.size() - kExtension.size(), kExtension.size(), kExtension) != 0) return {};
    const std::string name = bundle.substr(nameStart, bundle.size() - kExtension.size() - nameStart);
    return bundle + "/Contents/x86_64-linux/" + name + ".so";
}

std::unique_ptr<Vst3Module> Vst3Module::load(const std::string& bundlePath, std::string* error) {
    std::unique_ptr<Vst3Module> module(new (std::nothrow) Vst3Module);
    if (!module) return nullptr;
    module->modulePath_ = modulePathOf(bundlePath);
    if (module->modulePath_.empty()) {
        setError(error, bundlePath + ": not a .vst3 bundle");
        return nullptr;
    }
    module->handle_ = dlopen(module->modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module->handle_) {
        const char* reason = dlerror();
        setError(error, reason ? reason : module->modulePath_ + ": cannot load");
        return nullptr;
    }
    auto entry = reinterpret_cast<ModuleEntryFunction>(module->symbol("ModuleEntry"));
    auto exit = reinterpret_cast<ModuleExitFunction>(module->symbol("ModuleExit"));
    auto getFactory = reinterpret_cast<GetFactoryFunction>(module->symbol("GetPluginFactory"));
    if (!entry || !exit || !getFactory) {
        setError(error, module->modulePath_ + ": ModuleEntry, ModuleExit or GetPluginFactory missing");
        return nullptr;  // the destructor unloads
    }
    if (!entry(module->handle_)) {
        setError(error, module->modulePath_ + ": ModuleEntry failed");
        return nullptr;
    }
    module->moduleExit_ = exit;
    module->factory_ = Steinberg::owned(getFactory());
    if (!module->factory_) {
        setError(error, module->modulePath_ + ": GetPluginFactory returned null");
        return nullptr;
    }
    module->hostContext_.reset(new (std::nothrow) Steinberg::Vst::HostApplication);
    if (!module->hostContext_) {
        setError(error, "out of memory");
        return nullptr;
    }
    Steinberg::FUnknownPtr<Steinberg::IPluginFactory3> factory3(module->factory_);
    if (factory3) factory3->setHostContext(module->hostContext());
    return module;
}

Vst3Module::Vst3Module() = default;

Vst3Module::~Vst3Module() {
    factory_ = nullptr;
    if (moduleExit_) moduleExit_();
    if (handle_) dlclose(handle_);
}

Steinberg::FUnknown* Vst3Module::hostContext() const {
    return static_cast<Steinberg::Vst::IHostApplication*>(hostContext_.get());
}

void* Vst3Module::symbol(const char* name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

}  // namespace velt::corvane::tools
