// The engine as the renderer drives it: rack, PCM synthesizer and MIDI input,
// assembled like the plug-in's engine holder, rendering a song block by block.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "synth/core/engine_limits.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"
#include "tools/toolkit/midi_file_reader.h"

namespace velt::corvane::tools {

/// How the engine is set up before a render.
struct SessionSettings {
    uint32_t sampleRate = 44100;
    int32_t blockSize = 512;   ///< largest block, 1 to 8192 frames
    int32_t polyphony = 0;     ///< voices asked for (0 keeps the engine's 128)
    bool acceptSysEx = false;  ///< pass SysEx messages to the synthesizer
};

/// Receives each rendered block.
class BlockSink {
public:
    virtual ~BlockSink() = default;
    /// channels: 32 buffers of frames samples (2k, 2k+1 = bus k left, right),
    /// starting at song frame blockStart. Returning false stops the render.
    virtual bool takeBlock(const float* const* channels, int32_t frames, int64_t blockStart) = 0;
};

class EngineSession {
public:
    /// Builds the rack, the synthesizer and the MIDI input and racks them in slots 1 and 0.
    EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    /// Applies settings and allocates the block buffers; false when memory is short
    /// or a setting is out of range. Call before importing sounds and rendering.
    bool prepare(const SessionSettings& settings);

    /// The synthesizer in slot 1, for sound imports and part settings before a render.
    synth::SynthesizerPCM& synthesizer() { return synth_; }
    /// The MIDI input in slot 0.
    util::MidiController& midiInput() { return midi_; }
    ModuleRack& rack() { return rack_; }

    /// Activates the engine and renders frames 0..totalFrames-1 with events
    /// (ascending by frame), handing every block to sink. Allocates nothing per
    /// block; false when the sink stopped the render or prepare() did not succeed.
    bool render(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes,
                int64_t totalFrames, BlockSink& sink);

    /// Largest absolute sample value of bus 0..15 in the last render.
    float peak(int32_t bus) const { return bus >= 0 && bus < kOutputBusCount ? peaks_[bus] : 0.0f; }
    /// A bus carries sound when any of its samples was not zero.
    bool carriesSound(int32_t bus) const { return peak(bus) > 0.0f; }
    /// Most voices sounding at once, sampled at the end of every block.
    int32_t mostVoices() const { return mostVoices_; }
    /// Frames handed to the sink by the last render.
    int64_t framesRendered() const { return framesRendered_; }
    const SessionSettings& settings() const { return settings_; }

private:
    void measure(int32_t frames) noexcept;

    ModuleRack rack_;
    synth::SynthesizerPCM synth_;
    util::MidiController midi_;
    SessionSettings settings_;
    bool prepared_ = false;
    std::unique_ptr<float[]> buffer_;  ///< 32 channels of blockSize samples
    std::array<float*, kChannelCount> channels_{};
    std::array<float, kOutputBusCount> peaks_{};
    int32_t mostVoices_ = 0;
    int64_t framesRendered_ = 0;
};

}  // namespace velt::corvane::tools
