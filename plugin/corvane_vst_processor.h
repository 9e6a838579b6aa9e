// The instrument's audio processor (placeholder: no buses, engine or processing yet).
#pragma once

#include "plugin/audio_effect.h"

namespace Steinberg {
namespace Vst {

class CorvaneVSTProcessor : public AudioEffect {
public:
    /// Names CorvaneVSTController as the controller class.
    CorvaneVSTProcessor();

    /// Factory create function: a new processor as IAudioProcessor, or null when out of memory.
    static FUnknown* createInstance(void* context);

    tresult PLUGIN_API initialize(FUnknown* context) override;
    /// Renders nothing yet.
    tresult PLUGIN_API process(ProcessData& data) override;
};

}  // namespace Vst
}  // namespace Steinberg
