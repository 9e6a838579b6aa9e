// The plug-in as the renderer drives it: one instance of a loaded bundle, its sound set
// through one state chunk, a song rendered block by block as a host would send it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "synth/core/engine_limits.h"
#include "tools/toolkit/engine_session.h"
#include "tools/toolkit/host_block_feeder.h"
#include "tools/toolkit/midi_file_reader.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::tools {

class PluginSession {
public:
    PluginSession() = default;
    /// Stops processing and releases the instance before the module.
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    /// Loads the bundle and creates one connected instance; false with a one-line error.
    bool open(const std::string& bundlePath, std::string& error);

    /// The component's state chunk bytes (getState); false with error set.
    bool saveState(std::vector<uint8_t>& bytes, std::string& error);
    /// The component's state chunk, parsed; false when it cannot be had or read whole.
    bool readState(state::StateChunk& chunk, std::string& error);
    /// Restores chunk on the component (setState) and hands the same bytes to the
    /// controller's setComponentState, as a host does; false when the component refuses.
    bool applyState(const std::vector<uint8_t>& bytes, std::string& error);

    /// Sends the processor a "GUIEditor:cvFileSelect" request with code and path, as the
    /// editor does; false when the processor takes no messages.
    bool sendFileRequest(int64_t code, const std::string& path, std::string& error);

    /// Takes the controller's MIDI mapping, then sets the processor up for sampleRate and
    /// blocks of at most blockSize frames and starts it; false with error set.
    bool prepare(uint32_t sampleRate, int32_t blockSize, std::string& error);

    /// Renders frames 0..totalFrames-1 with events (ascending by frame) and hands every block
    /// to sink; stops the processor at the end. False when the sink stopped the render or a
    /// process call failed (error set then).
    bool render(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes,
                int64_t totalFrames, BlockSink& sink, std::string& error);

    /// Largest absolute sample value of bus 0..15 in the last render.
    float peak(int32_t bus) const { return bus >= 0 && bus < kOutputBusCount ? peaks_[bus] : 0.0f; }
    bool carriesSound(int32_t bus) const { return peak(bus) > 0.0f; }
    int64_t framesRendered() const { return framesRendered_; }
    /// Messages the controller maps to no parameter, left out of the render.
    int64_t unmappedMessages() const { return unmapped_; }

    /// The loaded instance, for a host that shows its editor; null before open.
    Vst3Instance* instance() const { return instance_.get(); }
    /// The processor's driver after prepare (null before), for a host that runs blocks itself.
    Vst3Processing* processing() const { return processing_.get(); }
    /// The controller's MIDI mapping as prepare took it.
    const MidiParameterMap& midiMap() const { return map_; }
    /// The largest block prepare set up.
    int32_t blockSize() const { return blockSize_; }

private:
    void measure(int32_t frames) noexcept;

    std::unique_ptr<Vst3Module> module_;
    std::unique_ptr<Vst3Instance> instance_;
    std::unique_ptr<Vst3Processing> processing_;
    MidiParameterMap map_;
    bool mapped_ = false;
    int32_t blockSize_ = 0;
    std::array<float, kOutputBusCount> peaks_{};
    int64_t framesRendered_ = 0;
    int64_t unmapped_ = 0;
};

}  // namespace velt::corvane::tools
