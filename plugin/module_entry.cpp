// The three symbols the module exports: Linux module entry and exit, and the factory.
#include "plugin/module_entry.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <new>

#include "plugin/corvane_vst_controller.h"
#include "plugin/corvane_vst_processor.h"
#include "plugin/plugin_factory.h"
#include "plugin/plugin_ids.h"

extern "C" {
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle);
SMTG_EXPORT_SYMBOL bool ModuleExit();
}

namespace velt::corvane {
namespace {

int moduleCounter = 0;
void* handle = nullptr;
std::string directory;

// Cuts "Contents/<arch>/" off the module file's directory when the module sits in a bundle.
std::string bundleDirectoryOf(const std::string& modulePath) {
    const size_t fileStart = modulePath.rfind('/');
    if (fileStart == std::string::npos) return "./";
    const std::string ownDirectory = modulePath.substr(0, fileStart + 1);
    const size_t archStart = modulePath.rfind('/', fileStart == 0 ? 0 : fileStart - 1);
    static const char kContents[] = "/Contents";
    const size_t contentsLength = sizeof(kContents) - 1;
    if (archStart == std::string::npos || archStart < contentsLength) return ownDirectory;
    if (modulePath.compare(archStart - contentsLength, contentsLength, kContents) != 0) return ownDirectory;
    return modulePath.substr(0, archStart - contentsLength + 1);
}

bool initModule(void* sharedLibraryHandle) {
    static const int anchor = 0;
    Dl_info info{};
    if (dladdr(&anchor, &info) == 0 || !info.dli_fname) return false;
    char resolved[PATH_MAX];
    const char* path = realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
    handle = sharedLibraryHandle;
    directory = bundleDirectoryOf(path);
    return true;
}

bool deinitModule() {
    handle = nullptr;
    directory.clear();
    return true;
}

}  // namespace

void* moduleHandle() {
    return handle;
}

const std::string& moduleDirectory() {
    return directory;
}

}  // namespace velt::corvane

// Entries and exits nest: the first entry initialises, the matching last exit de-initialises,
// and an exit without an entry left over reports false.
bool ModuleEntry(void* sharedLibraryHandle) {
    if (++velt::corvane::moduleCounter == 1) return velt::corvane::initModule(sharedLibraryHandle);
    return true;
}

bool ModuleExit() {
    const int counter = --velt::corvane::moduleCounter;
    if (counter == 0) return velt::corvane::deinitModule();
    return counter > 0;
}

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
    using namespace Steinberg;
    using namespace Steinberg::Vst;
    if (gPluginFactory) {
        gPluginFactory->addRef();
        return gPluginFactory;
    }
    const PFactoryInfo factoryInfo = corvaneFactoryInfo();
    auto* factory = new (std::nothrow) CPluginFactory(factoryInfo);
    if (!factory) return nullptr;

    const PClassInfo2 processorClass = corvaneClassInfo(0);
    const PClassInfo2 controllerClass = corvaneClassInfo(1);
    factory->registerClass(&processorClass, CorvaneVSTProcessor::createInstance);
    factory->registerClass(&controllerClass, CorvaneVSTController::createInstance);
    gPluginFactory = factory;
    return factory;
}
