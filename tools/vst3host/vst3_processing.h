// An instance's audio processor driven as a host drives it: buses, setup, activation,
// then blocks with events and parameter changes into owned output buffers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "tools/vst3host/vst3_instance.h"

namespace velt::corvane::tools {

/// Stereo output buses the instrument has, and their channels.
constexpr int32_t kHostOutputBuses = 16;
constexpr int32_t kHostOutputChannels = 2 * kHostOutputBuses;

class Vst3Processing {
public:
    /// Drives instance's component and processor; the instance must outlive this object.
    explicit Vst3Processing(Vst3Instance& instance);
    /// Drives a component and its processor interface directly (both must outlive this object).
    Vst3Processing(Steinberg::Vst::IComponent* component, Steinberg::Vst::IAudioProcessor* processor);
    /// Stops processing when it still runs.
    ~Vst3Processing();
    Vst3Processing(const Vst3Processing&) = delete;
    Vst3Processing& operator=(const Vst3Processing&) = delete;

    /// 16 stereo outputs and no inputs, every output bus and event input 0 active,
    /// realtime 32-bit setup, then setActive(true) and setProcessing(true). Owns 32 channel
    /// buffers of maxBlock frames. The first failing call's result is returned (and nothing
    /// stays active); kOutOfMemory when the buffers cannot be had.
    Steinberg::tresult prepare(double sampleRate, int32_t maxBlock);

    /// One process call of frames (0..maxBlock) with the given inputs (either may be null),
    /// the process context at the running sample position; returns process's result, or
    /// kInvalidArgument (no call) when not prepared or frames is out of range.
    Steinberg::tresult processBlock(int32_t frames, Steinberg::Vst::IEventList* events,
                                    Steinberg::Vst::IParameterChanges* params);

    /// setProcessing(false), then setActive(false); nothing when not prepared.
    void stop();

    /// Output channel i (0..31: bus k's left is 2k, its right 2k+1), maxBlock samples;
    /// null outside that range or before prepare.
    float* channel(int32_t i) const;
    /// The 32 channel pointers in that order (all null before prepare).
    const float* const* channels() const { return channelPointers_.data(); }

    /// Bus 0..15 is handed over with 2 channels and null channel pointers (an inactive bus).
    void setBusDetached(int32_t bus, bool detached);
    /// numOutputs of later calls: 0..16 (0 hands null outputs, as a parameter flush does).
    void setOutputCount(int32_t count);

    bool prepared() const { return prepared_; }
    int32_t maxBlock() const { return maxBlock_; }
    /// Frames processed since prepare: the next block's project time.
    int64_t position() const { return position_; }

private:
    Steinberg::Vst::IComponent* component_;
    Steinberg::Vst::IAudioProcessor* processor_;
    bool prepared_ = false;
    bool active_ = false;
    double sampleRate_ = 44100.0;
    int32_t maxBlock_ = 0;
    int32_t outputCount_ = kHostOutputBuses;
    int64_t position_ = 0;
    std::unique_ptr<float[]> buffer_;
    std::array<float*, kHostOutputChannels> channelPointers_{};
    std::array<bool, kHostOutputBuses> detached_{};
    float* busPointers_[kHostOutputBuses][2] = {};
    Steinberg::Vst::AudioBusBuffers buses_[kHostOutputBuses];
    Steinberg::Vst::ProcessContext context_{};
};

}  // namespace velt::corvane::tools
