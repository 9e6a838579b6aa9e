// The render routines of a PCM voice, one per (LFO kind, mono/stereo).
//
// The reference routines follow the per-frame rule literally. The optimised ones
// run the same checked frame whenever something may happen (LFO tick, envelope
// phase end, sample end or loop) and, in between, a tight loop over the frames
// for which none of these checks can fire; both produce identical output.
#include <algorithm>
#include <cstdint>

#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::synth {

using VoiceUnitPCM = SynthesizerPCM::VoiceUnitPCM;
using RenderFn = MultiTimberSynthBase::VoiceUnitBase::RenderFn;

namespace {

enum LfoKind { kNoLfo = 0, kPitchLfo = 1, kAmpLfo = 2 };
constexpr int32_t kFracBits = 18;
constexpr uint32_t kFracMask = (1u << kFracBits) - 1;
constexpr int64_t kForever = INT64_MAX;

/// One frame by the per-frame rule. Returns false when the voice ended.
template <int Lfo, bool Stereo>
inline bool renderCheckedFrame(VoiceUnitPCM& v, float* left, float* right, int32_t at) noexcept {
    const SharedTables& t = *v.tables;
    if (Lfo != kNoLfo && v.lfoPhase < 1) {
        const int32_t index = (Lfo == kAmpLfo && Stereo) ? (v.lfoIndex | 1) : v.lfoIndex;
        const int32_t value = (t.lfoTable[index] * v.lfoDepth) >> 11;
        if (Lfo == kPitchLfo) {
            v.lfoPitch = value;
            v.pitchStep = v.step(v.bendPitch + v.basePitch + v.lfoPitch);
        } else {
            v.lfoLevel = value & 0x7FFFFFFE;
        }
        v.lfoPhase += 1 << 30;
        v.lfoIndex = (v.lfoIndex + 2) & 255;
    }
    if (static_cast<int32_t>(v.envPos) >= v.phaseEnd && !v.advanceEnvelope()) {
        v.kill();
        return false;
    }
    const int32_t att = v.envTable[v.envPos >> 18] + v.tlCode + (Lfo == kAmpLfo ? v.lfoLevel : 0);
    if (v.samplePos >= v.curEnd) {
        if (v.curLoop < 1) {
            v.kill();
            return false;
        }
        // The same as subtracting the loop length until inside, in one step.
        v.samplePos -= ((v.samplePos - v.curEnd) / v.curLoop + 1) * v.curLoop;
    }
    const float* exp = t.expTable;
    if (Stereo) {
        left[at] += exp[v.samples[2 * v.samplePos] + att] * v.gainLeft;
        right[at] += exp[v.samples[2 * v.samplePos + 1] + att] * v.gainRight;
    } else {
        const float s = exp[v.samples[v.samplePos] + att];
        left[at] += s * v.gainLeft;
        right[at] += s * v.gainRight;
    }
    if (Lfo != kNoLfo) v.lfoPhase -= v.lfoStep;
    v.envPos += static_cast<uint32_t>(v.envRate);
    const uint32_t sum = static_cast<uint32_t>(v.pitchStep) + static_cast<uint32_t>(v.sampleFrac);
    v.samplePos += static_cast<int32_t>(sum >> kFracBits);
    v.sampleFrac = static_cast<int32_t>(sum & kFracMask);
    return true;
}

template <int Lfo, bool Stereo>
void renderReference(MultiTimberSynthBase::VoiceUnitBase& base, float** left, float** right,
                     const int32_t& endFrame) noexcept {
    auto& v = static_cast<VoiceUnitPCM&>(base);
    float* l = *left;
    float* r = *right;
    while (v.renderPosition < endFrame) {
        if (!renderCheckedFrame<Lfo, Stereo>(v, l, r, v.renderPosition)) return;
        ++v.renderPosition;
    }
}

/// Frames from now for which none of the per-frame checks fires.
template <int Lfo>
inline int64_t quietFrames(const VoiceUnitPCM& v, uint64_t phase) noexcept {
    int64_t n = kForever;
    if (v.envRate > 0) {
        const int64_t room = static_cast<int64_t>(v.phaseEnd) - static_cast<int32_t>(v.envPos);
        n = room > 0 ? (room - 1) / v.envRate + 1 : 0;
    } else if (static_cast<int32_t>(v.envPos) >= v.phaseEnd) {
        return 0;
    }
    const uint64_t limit = static_cast<uint64_t>(std::max(v.curEnd, 0)) << kFracBits;
    if (phase >= limit) return 0;
    if (v.pitchStep > 0)
        n = std::min<int64_t>(n, static_cast<int64_t>((limit - phase - 1) / v.pitchStep) + 1);
    if (Lfo != kNoLfo) {
        if (v.lfoPhase < 1) return 0;
        if (v.lfoStep > 0) n = std::min<int64_t>(n, (v.lfoPhase - 1) / v.lfoStep + 1);
    }
    return n;
}

template <bool Stereo, bool Moving>
inline void renderQuiet(VoiceUnitPCM& v, float* __restrict left, float* __restrict right, int32_t from,
                        int32_t count, uint64_t& phase, int32_t extraAtt) noexcept {
    const float* __restrict exp = v.tables->expTable;
    const uint32_t* __restrict smp = v.samples;
    const int32_t* envTable = v.envTable;
    const float gl = v.gainLeft, gr = v.gainRight;
    const uint32_t step = static_cast<uint32_t>(v.pitchStep);
    const uint32_t envRate = static_cast<uint32_t>(v.envRate);
    uint32_t envPos = v.envPos;
    uint64_t ph = phase;
    const int32_t att0 = v.tlCode + extraAtt;
    int32_t att = envTable[envPos >> 18] + att0;
    float* l = left + from;
    float* r = right + from;
    for (int32_t i = 0; i < count; ++i) {
        if (Moving) att = envTable[envPos >> 18] + att0;
        const uint32_t pos = static_cast<uint32_t>(ph >> kFracBits);
        if (Stereo) {
            l[i] += exp[smp[2 * pos] + att] * gl;
            r[i] += exp[smp[2 * pos + 1] + att] * gr;
        } else {
            const float s = exp[smp[pos] + att];
            l[i] += s * gl;
            r[i] += s * gr;
        }
        if (Moving) envPos += envRate;
        ph += step;
    }
    v.envPos = envPos;
    phase = ph;
}

template <int Lfo, bool Stereo>
void renderOptimised(MultiTimberSynthBase::VoiceUnitBase& base, float** left, float** right,
                     const int32_t& endFrame) noexcept {
    auto& v = static_cast<VoiceUnitPCM&>(base);
    float* l = *left;
    float* r = *right;
    int32_t pos = v.renderPosition;
    const int32_t end = endFrame;
    while (pos < end) {
        if (!renderCheckedFrame<Lfo, Stereo>(v, l, r, pos)) {
            v.renderPosition = pos;
            return;
        }
        ++pos;
        uint64_t phase =
            (static_cast<uint64_t>(v.samplePos) << kFracBits) | static_cast<uint32_t>(v.sampleFrac);
        const int32_t n = static_cast<int32_t>(std::min<int64_t>(quietFrames<Lfo>(v, phase), end - pos));
        if (n <= 0) continue;
        const int32_t extra = Lfo == kAmpLfo ? v.lfoLevel : 0;
        if (v.envRate != 0)
            renderQuiet<Stereo, true>(v, l, r, pos, n, phase, extra);
        else
            renderQuiet<Stereo, false>(v, l, r, pos, n, phase, extra);
        if (Lfo != kNoLfo) v.lfoPhase -= n * v.lfoStep;
        v.samplePos = static_cast<int32_t>(phase >> kFracBits);
        v.sampleFrac = static_cast<int32_t>(phase & kFracMask);
        pos += n;
    }
    v.renderPosition = pos;
}

}  // namespace

const RenderFn VoiceUnitPCM::kOptimisedRenderTable[kRenderVariantCount] = {
    &renderOptimised<kNoLfo, false>,   &renderOptimised<kNoLfo, true>,   &renderOptimised<kPitchLfo, false>,
    &renderOptimised<kPitchLfo, true>, &renderOptimised<kAmpLfo, false>, &renderOptimised<kAmpLfo, true>,
    &renderOptimised<kNoLfo, false>,   &renderOptimised<kNoLfo, true>,
};

const RenderFn VoiceUnitPCM::kReferenceRenderTable[kRenderVariantCount] = {
    &renderReference<kNoLfo, false>,   &renderReference<kNoLfo, true>,   &renderReference<kPitchLfo, false>,
    &renderReference<kPitchLfo, true>, &renderReference<kAmpLfo, false>, &renderReference<kAmpLfo, true>,
    &renderReference<kNoLfo, false>,   &renderReference<kNoLfo, true>,
};

}  // namespace velt::corvane::synth
