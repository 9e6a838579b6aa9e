// The voice pool: three-pass round-robin allocation, release and resizing.
#include <algorithm>

#include "synth/core/multi_timber_synth_base.h"

namespace velt::corvane::synth {

int32_t MultiTimberSynthBase::findVoiceForNote() {
    if (!voices_ || voiceCount_ < 1) return -1;
    const int32_t c0 = voiceCursor_;
    const int32_t m = voiceMask_;
    // Free voices, then releasing or damped ones, then held notes (a steal).
    constexpr int32_t kPassMasks[3] = {0, VoiceUnitBase::kReleased | VoiceUnitBase::kDamped,
                                       VoiceUnitBase::kHeld};
    for (int32_t pass = 0; pass < 3; ++pass) {
        for (int32_t c = (c0 + 1) & m; c != c0; c = (c + 1) & m) {
            const int32_t s = voices_[c]->state;
            const bool match = pass == 0 ? s == 0 : (s & kPassMasks[pass]) != 0;
            if (match) {
                voiceCursor_ = c;
                return c;
            }
        }
    }
    voiceCursor_ = c0;
    return -1;
}

void MultiTimberSynthBase::allocateVoice(MidiEvent& e) {
    allocatedVoice_ = findVoiceForNote();
    if (allocatedVoice_ < 0) return;
    VoiceUnitBase& v = *voices_[allocatedVoice_];
    v.renderPosition = e.offset;
    v.noteOn(e.channel, e.data1, e.data2);
}

void MultiTimberSynthBase::releaseNote(MidiEvent& e) {
    for (int32_t i = 0; i < voiceCount_; ++i) {
        VoiceUnitBase& v = *voices_[i];
        if ((v.state & VoiceUnitBase::kHeld) && v.part == e.channel && v.key == e.data1) v.noteOff();
    }
}

void MultiTimberSynthBase::killVoices(const int32_t& part) {
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (part < 0 || voices_[i]->part == part) voices_[i]->kill();
}

void MultiTimberSynthBase::dampVoices(const int32_t& part) {
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (part < 0 || voices_[i]->part == part) voices_[i]->damp();
}

int32_t MultiTimberSynthBase::countActiveVoices() const {
    int32_t n = 0;
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (voices_[i]->state != 0) ++n;
    return n;
}

int32_t MultiTimberSynthBase::polyphonyFor(int32_t n) const {
    if (n < 1) return voiceCount_;
    int32_t count = 1;
    while (count < n && count < kMaxVoices) count <<= 1;
    return count;
}

int32_t MultiTimberSynthBase::setPolyphony(const int32_t& n) {
    if (n < 1 || n == voiceCount_) return voiceCount_;
    const int32_t count = polyphonyFor(n);
    voiceCursor_ = 0;
    voiceMask_ = count - 1;
    setVoiceCount(count);
    voiceMask_ = voiceCount_ - 1;  // unchanged pool when the new one could not be built
    updateRates();
    return voiceCount_;
}

}  // namespace velt::corvane::synth
