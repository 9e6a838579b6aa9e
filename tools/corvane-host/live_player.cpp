#include "tools/corvane-host/live_player.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::tools {

using namespace Steinberg;

LivePlayer::LivePlayer(PluginSession& session, HostComponentHandler& edits)
    : session_(session), edits_(edits), events_(kProcessorQueueCapacity), params_(kProcessorQueueCapacity) {}

bool LivePlayer::startSong(const MidiSong& song, int64_t totalFrames, const std::string& outPath,
                           std::string& error) {
    feeder_.reset(new (std::nothrow) HostBlockFeeder(song.events, song.sysExBytes, session_.midiMap()));
    outputs_.reset(new (std::nothrow) RenderOutputs);
    if (!feeder_ || !outputs_) {
        error = "out of memory";
        return false;
    }
    if (!outputs_->open(outPath, OutputMode::Mix, 44100, session_.blockSize(), error)) return false;
    song_ = &song;
    songFrames_ = totalFrames;
    recording_ = true;
    return true;
}

bool LivePlayer::flushEdits(std::string& error) {
    Vst3Processing* processing = session_.processing();
    if (!processing || !edits_.hasPendingEdits()) return true;
    events_.clear();
    while (edits_.hasPendingEdits()) {
        params_.clear();
        const bool all = edits_.takePendingEdits(params_);
        if (processing->processBlock(0, &events_, &params_) != kResultOk) {
            error = "the plug-in's process call failed handing over the editor's changes";
            return false;
        }
        if (all) break;
    }
    return true;
}

bool LivePlayer::renderBlock(int32_t maxFrames, std::string& error) {
    Vst3Processing* processing = session_.processing();
    events_.clear();
    params_.clear();
    // As a DAW does: what the view changed goes with the next block, at its start; what does
    // not fit waits for the block after.
    if (edits_.hasPendingEdits()) (void)edits_.takePendingEdits(params_);
    const bool inSong = song_ && position_ < songFrames_;
    int32_t frames = maxFrames;
    if (inSong) {
        const auto room = static_cast<int32_t>(std::min<int64_t>(maxFrames, songFrames_ - position_));
        frames = feeder_->planBlock(position_, room);
        if (!feeder_->fillBlock(events_, params_)) {
            error = "too many events for one block";
            return false;
        }
    }
    if (processing->processBlock(frames, &events_, &params_) != kResultOk) {
        error = "the plug-in's process call failed at frame " + std::to_string(position_);
        return false;
    }
    if (inSong && recording_ && !outputs_->takeBlock(processing->channels(), frames, position_)) {
        error = outputs_->writeError().empty() ? "the output file cannot be written" : outputs_->writeError();
        return false;
    }
    position_ += frames;
    return true;
}

bool LivePlayer::advanceTo(int64_t target, int64_t maxFrames, std::string& error) {
    Vst3Processing* processing = session_.processing();
    if (!processing || !processing->prepared()) {
        error = "the plug-in is not processing";
        return false;
    }
    const int64_t limit = position_ + std::max<int64_t>(0, maxFrames);
    while (position_ < target && position_ < limit) {
        const auto frames = static_cast<int32_t>(std::min<int64_t>(session_.blockSize(), target - position_));
        if (!renderBlock(frames, error)) return false;
    }
    return true;
}

bool LivePlayer::finishSong(std::string& error) {
    if (!recording_) return true;
    recording_ = false;
    std::array<bool, kOutputBusCount> keep{};
    keep.fill(true);
    std::vector<std::string> written;
    return outputs_->commit(keep, written, error);
}

}  // namespace velt::corvane::tools
