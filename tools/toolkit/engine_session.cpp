#include "tools/toolkit/engine_session.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "tools/toolkit/block_scheduler.h"

namespace velt::corvane::tools {

namespace {

constexpr int32_t kMaxSessionBlock = 8192;

}  // namespace

EngineSession::EngineSession() : synth_(kDefaultMasterTune, kDefaultMasterVolume) {
    rack_.setModule(0, &midi_);
    rack_.setModule(1, &synth_);
}

bool EngineSession::prepare(const SessionSettings& settings) {
    prepared_ = false;
    if (settings.blockSize < 1 || settings.blockSize > kMaxSessionBlock || settings.sampleRate < 1 ||
        settings.polyphony < 0 || settings.polyphony > kMaxVoices || midi_.capacity() <= 0)
        return false;
    settings_ = settings;
    const size_t perChannel = static_cast<size_t>(settings.blockSize);
    buffer_.reset(new (std::nothrow) float[perChannel * kChannelCount]);
    if (!buffer_) return false;
    for (int32_t c = 0; c < kChannelCount; ++c)
        channels_[c] = buffer_.get() + perChannel * static_cast<size_t>(c);
    if (settings.polyphony > 0) synth_.setPolyphony(settings.polyphony);
    synth_.setAcceptSysEx(settings.acceptSysEx);
    rack_.setSampleRate(static_cast<float>(settings.sampleRate));
    rack_.setMaxBlockSize(settings.blockSize);
    prepared_ = true;
    return true;
}

void EngineSession::measure(int32_t frames) noexcept {
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        float peak = peaks_[bus];
        for (int32_t side = 0; side < 2; ++side) {
            const float* samples = channels_[2 * bus + side];
            for (int32_t i = 0; i < frames; ++i) peak = std::max(peak, std::fabs(samples[i]));
        }
        peaks_[bus] = peak;
    }
}

bool EngineSession::render(const std::vector<SongEvent>& events, const std::vector<uint8_t>& sysExBytes,
                           int64_t totalFrames, BlockSink& sink) {
    peaks_.fill(0.0f);
    mostVoices_ = 0;
    framesRendered_ = 0;
    if (!prepared_) return false;
    rack_.activateAll();
    BlockScheduler scheduler(events, sysExBytes);
    int64_t position = 0;
    while (position < totalFrames) {
        const auto room =
            static_cast<int32_t>(std::min<int64_t>(settings_.blockSize, totalFrames - position));
        const int32_t frames = scheduler.queueBlock(midi_, position, room);
        for (float* channel : channels_) std::memset(channel, 0, sizeof(float) * static_cast<size_t>(frames));
        rack_.processBlock(channels_.data(), frames);
        mostVoices_ = std::max(mostVoices_, synth_.countActiveVoices());
        if (frames > 0) {
            measure(frames);
            if (!sink.takeBlock(channels_.data(), frames, position)) {
                framesRendered_ = position;
                rack_.deactivateAll();
                return false;
            }
        }
        position += frames;
    }
    framesRendered_ = position;
    rack_.deactivateAll();
    return true;
}

}  // namespace velt::corvane::tools
