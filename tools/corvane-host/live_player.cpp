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
    if (!flushEdits(error)) return false;
    const bool inSong = song_ && position_ < songFrames_;
    if (!inSong) {
        events_.clear();
        params_.clear();
        if (processing->processBlock(maxFrames, &events_, &params_) != kResultOk) {
            error = "the plug-in's process call failed at frame " + std::to_string(position_);
            return false;
        }
        position_ += maxFrames;
        return true;
    }
    const auto room = static_cast<int32_t>(std::min<int64_t>(maxFrames, songFrames_ - position_));
    const int32_t frames = feeder_->planBlock(position_, room);
    const int32_t calls = feeder_->callCount();
    for (int32_t call = 0; call < calls; ++call) {
        events_.clear();
        params_.clear();
        if (!feeder_->fillCall(call, events_, params_)) {
            error = "too many events for one block";
            return false;
        }
        const int32_t n = call + 1 == calls ? frames : 0;
        if (processing->processBlock(n, &events_, &params_) != kResultOk) {
            error = "the plug-in's process call failed at frame " + std::to_string(position_);
            return false;
        }
    }
    if (recording_ && !outputs_->takeBlock(processing->channels(), frames, position_)) {
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
