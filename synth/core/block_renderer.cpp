// The block renderer: voices render up to each event's frame, then the event applies.
#include <algorithm>

#include "synth/core/channel_data.h"
#include "synth/core/multi_timber_synth_base.h"

namespace velt::corvane::synth {

namespace {

bool isDispatchedStatus(int32_t status) {
    switch (status) {
        case kNoteOff:
        case kNoteOn:
        case kPolyPressure:
        case kControlChange:
        case kProgramChange:
        case kChannelPressure:
        case kPitchBend:
        case kSystemExclusive: return true;
        default: return false;
    }
}

}  // namespace

void MultiTimberSynthBase::renderVoicesTo(BlockContext& context, int32_t p) noexcept {
    float** channels = context.channels;
    VoiceUnitBase* const* voices = voices_.get();
    const int32_t count = voiceCount_;
    for (int32_t i = 0; i < count; ++i) {
        VoiceUnitBase& v = *voices[i];
        if (v.state == 0) continue;
        v.render(v, &channels[v.outputChannel], &channels[v.outputChannel + 1], p);
    }
}

void MultiTimberSynthBase::process(BlockContext& context) {
    if (!voices_ || !context.channels) return;
    const int32_t start = context.startOffset;
    const int32_t end = static_cast<int32_t>(
        std::min<int64_t>(static_cast<int64_t>(start) + std::max(context.frameCount, 0), INT32_MAX));
    for (int32_t i = 0; i < voiceCount_; ++i) voices_[i]->renderPosition = start;
    int32_t p = start;

    for (MidiEvent* e = context.events ? context.events->next : nullptr; e; e = e->next) {
        if ((e->portMask & receivePortMask_) == 0) continue;
        if (!isDispatchedStatus(e->status)) continue;
        if (e->status == kSystemExclusive) {
            if (!acceptSysEx_) continue;
        } else if (e->channel < 0 || e->channel >= kPartCount) {
            continue;  // a channel outside 0..15 names no part
        }
        if (e->status == kNoteOn && parts_[e->channel].mode == kModeMute) continue;
        limitChannelData(*e);

        // An offset beyond the block still applies within it, at its last frame.
        const int32_t at = std::min(e->offset, end);
        if (at > p) {
            p = at;
            renderVoicesTo(context, p);
        }

        switch (e->status) {
            case kNoteOff: releaseNote(*e); break;
            case kNoteOn:
                if (e->data2 > 0) {
                    // The voice starts where the renderer stands, never earlier.
                    e->offset = p;
                    allocateVoice(*e);
                    routeAllocatedVoice();
                } else {
                    releaseNote(*e);
                }
                break;
            case kPolyPressure: onPolyPressure(*e); break;
            case kControlChange:
                if (e->data1 >= 0 && e->data1 < kControllerCount) {
                    const ControllerHandler handler = controllerHandlers_[e->data1];
                    (this->*handler)(*e);
                }
                break;
            case kProgramChange: parts_[e->channel].program = e->data1; break;
            case kChannelPressure: onChannelPressure(*e); break;
            case kPitchBend: onPitchBend(*e); break;
            case kSystemExclusive: receiveSysEx(*e); break;
            default: break;
        }
    }
    renderVoicesTo(context, end);
}

}  // namespace velt::corvane::synth
