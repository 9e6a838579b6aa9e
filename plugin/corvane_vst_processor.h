// The instrument's audio processor: sixteen stereo outputs, one event input, the
// engine holder, bypass, and the saved state.
#pragma once

#include <memory>
#include <thread>

#include "plugin/audio_effect.h"
#include "synth/core/engine_limits.h"

namespace velt::corvane::host {
class EngineHost;
class EditorRequests;
}  // namespace velt::corvane::host

namespace Steinberg {
namespace Vst {

class CorvaneVSTProcessor : public AudioEffect {
public:
    /// Names CorvaneVSTController as the controller class.
    CorvaneVSTProcessor();
    ~CorvaneVSTProcessor() override;

    /// Factory create function: a new processor as IAudioProcessor, or null when out of memory.
    static FUnknown* createInstance(void* context);

    /// Buses and, the first time, the engine.
    tresult PLUGIN_API initialize(FUnknown* context) override;
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
    /// Sixteen stereo outputs only.
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                          SpeakerArrangement* outputs, int32 numOuts) override;
    tresult PLUGIN_API setActive(TBool state) override;
    tresult PLUGIN_API process(ProcessData& data) override;
    tresult PLUGIN_API setState(IBStream* state) override;
    tresult PLUGIN_API getState(IBStream* state) override;
    /// The editor's messages: value changes, file requests, names and the opening handshake.
    tresult PLUGIN_API notify(IMessage* message) override;

    /// The engine holder (null before initialize).
    velt::corvane::host::EngineHost* engine() const { return engine_.get(); }
    /// The editor's requests and selection over that engine (null before initialize).
    velt::corvane::host::EditorRequests* editorRequests() const { return editorRequests_.get(); }

private:
    void sendEngineMessage(const char* id);
    void onValueChange(IMessage* message);
    void onFileSelect(IMessage* message);
    void onNameChange(IMessage* message);
    void render(ProcessData& data) noexcept;

    bool bypass_ = false;
    bool active_ = false;
    std::unique_ptr<velt::corvane::host::EngineHost> engine_;
    std::unique_ptr<velt::corvane::host::EditorRequests> editorRequests_;
    /// The host's main thread: the one that initialized this processor.
    std::thread::id mainThread_ = std::this_thread::get_id();
    /// Stands in for channels the host leaves null (inactive buses).
    std::unique_ptr<float[]> scratch_;
    int32 scratchFrames_ = 0;
};

}  // namespace Vst
}  // namespace Steinberg
