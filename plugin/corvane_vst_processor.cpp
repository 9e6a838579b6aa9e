#include "plugin/corvane_vst_processor.h"

#include <new>

#include "plugin/plugin_ids.h"

namespace Steinberg {
namespace Vst {

CorvaneVSTProcessor::CorvaneVSTProcessor() {
    setControllerClass(kCorvaneControllerUID);
}

FUnknown* CorvaneVSTProcessor::createInstance(void* /*context*/) {
    return static_cast<IAudioProcessor*>(new (std::nothrow) CorvaneVSTProcessor);
}

tresult PLUGIN_API CorvaneVSTProcessor::initialize(FUnknown* context) {
    return AudioEffect::initialize(context);
}

tresult PLUGIN_API CorvaneVSTProcessor::process(ProcessData& /*data*/) {
    return kResultOk;
}

}  // namespace Vst
}  // namespace Steinberg
