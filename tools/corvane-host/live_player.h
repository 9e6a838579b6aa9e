// The processor run in step with real time, as a host's audio runs while the editor is open:
// a song's events fed block by block into an output file, then silence; the view's edits
// reach the processor before the next block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/corvane-host/host_component_handler.h"
#include "tools/toolkit/host_block_feeder.h"
#include "tools/toolkit/midi_file_reader.h"
#include "tools/toolkit/plugin_session.h"
#include "tools/toolkit/render_outputs.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tools {

class LivePlayer {
public:
    /// session must be prepared; session, edits and song (when given) must outlive the player.
    LivePlayer(PluginSession& session, HostComponentHandler& edits);
    LivePlayer(const LivePlayer&) = delete;
    LivePlayer& operator=(const LivePlayer&) = delete;

    /// Plays song (frames assigned) into outPath: totalFrames frames, then silence unrecorded.
    /// False with error set when the file cannot be created.
    bool startSong(const MidiSong& song, int64_t totalFrames, const std::string& outPath, std::string& error);
    /// Lists of the processor's capacity; false when they cannot be had.
    bool ready() const { return events_.capacity() > 0 && params_.capacity() > 0; }

    /// Renders blocks (of at most the session's block size) until frame target, or at most
    /// maxFrames of them in this call; false with error set when a process call or the file failed.
    bool advanceTo(int64_t target, int64_t maxFrames, std::string& error);
    /// Hands the view's pending edits over in a call of 0 frames (a host's parameter flush),
    /// for the end of a run; while playing they go with the next block.
    bool flushEdits(std::string& error);

    /// Finishes the output file with what was played; false with error set.
    bool finishSong(std::string& error);
    /// The song (and its tail) has been played whole.
    bool songDone() const { return !song_ || position_ >= songFrames_; }

    int64_t position() const { return position_; }
    int64_t songFramesPlayed() const { return song_ ? std::min(position_, songFrames_) : 0; }

private:
    bool renderBlock(int32_t maxFrames, std::string& error);

    PluginSession& session_;
    HostComponentHandler& edits_;
    HostEventList events_;
    HostParameterChanges params_;
    const MidiSong* song_ = nullptr;
    std::unique_ptr<HostBlockFeeder> feeder_;
    std::unique_ptr<RenderOutputs> outputs_;
    int64_t songFrames_ = 0;
    int64_t position_ = 0;
    bool recording_ = false;
};

}  // namespace velt::corvane::tools
