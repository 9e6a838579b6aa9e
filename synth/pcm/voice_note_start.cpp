// Note start of a PCM voice: tone notes and sampler notes.
#include <algorithm>

#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::synth {

using VoiceUnitPCM = SynthesizerPCM::VoiceUnitPCM;

namespace {
// Far beyond any real slot, and small enough that frame arithmetic stays in range.
constexpr int32_t kMaxPlayableFrames = 1 << 30;
constexpr int32_t kPitchLimit = 1 << 28;

int32_t clampPitch(int64_t x) {
    return static_cast<int32_t>(std::clamp<int64_t>(x, -kPitchLimit, kPitchLimit));
}
int32_t clampIndex(int32_t i, int32_t size) {
    return std::clamp(i, 0, size - 1);
}
int32_t clampIndex64(int64_t i, int32_t size) {
    return static_cast<int32_t>(std::clamp<int64_t>(i, 0, size - 1));
}
// Bend relative to the centre, from a part's 14-bit value (held to 0..16383).
int32_t bendOf(const PartState& p) {
    return std::clamp(p.pitchBend, 0, 16383) - 8192;
}
}  // namespace

void VoiceUnitPCM::bind(const SharedTables* t, PartState* p, TonePreset* tonesTable, SampleData* slotTable,
                        SamplerPreset* samplerTable, float gain, const RenderFn* table) {
    tables = t;
    volumeCurve = expressionCurve = velocityCurve = t->levelCurve;
    panCurve = t->panCurve;
    parts = p;
    tones = tonesTable;
    slots = slotTable;
    samplers = samplerTable;
    masterGain = gain;
    renderTable = table;
    render = table[0];
    state = kIdle;
    part = -1;
    panBase = 64;
}

void VoiceUnitPCM::setRates(const RateConstants& r) {
    rates = r;
}

bool VoiceUnitPCM::canPlay(const SampleData& s) {
    return s.hasData && s.samples && s.frameCount >= 0 && s.frameCount <= kMaxPlayableFrames;
}

bool VoiceUnitPCM::takeSlot(const SampleData& s) {
    if (!canPlay(s)) return false;
    // Points are checked by whoever sets them; clamping again here keeps every
    // read inside the array whatever a restored or edited slot holds.
    const int32_t frames = s.frameCount;
    samples = s.samples;
    playEnd = std::clamp(s.PlayBackEndPoint, 0, frames);
    curEnd = std::clamp(s.LoopEndPoint, 0, frames);
    curLoop = std::clamp(s.loopLength, 0, curEnd);
    releaseLoop = std::clamp(s.releaseLoopLength, 0, playEnd);
    samplePos = std::clamp(s.PlayBackStartPoint, 0, frames);
    sampleFrac = 0;
    return true;
}

void VoiceUnitPCM::setGains(const PartState& p, int32_t velocity) {
    volumeGain = volumeCurve[clampIndex(p.controllers[7], 128)];
    expressionGain = expressionCurve[clampIndex(p.controllers[11], 128)];
    velocityGain = velocityCurve[clampIndex(velocity, 128)];
    velocityMaster = velocityGain * masterGain;
    baseGain = expressionGain * volumeGain * velocityMaster;
}

void VoiceUnitPCM::setEnvelope(int32_t tl, int32_t ar, int32_t dr, int32_t sl, int32_t rr,
                               int32_t keyOffset) {
    const SharedTables& t = *tables;
    tlCode = t.tlTable[clampIndex(tl, 256)];
    endPos = t.levelLimitTable[clampIndex64(128 - static_cast<int64_t>(tl), 129)];
    sustainLevel = sl;
    sustainPos = std::min(t.levelLimitTable[clampIndex(sl, 129)], endPos);
    decayRate = rate(dr, keyOffset);
    releaseRate = rate(rr, keyOffset);
    envPos = 0;
    if (ar >= 127) {
        envTable = t.logRampTable;
        if (sl < 1) {
            phaseEnd = 0x7FFFFFFF;
            envRate = 0;
            envPhase = kEnvSustain;
        } else {
            phaseEnd = sustainPos;
            envRate = decayRate;
            envPhase = kEnvDecay;
        }
    } else {
        envTable = t.linToLogTable;
        phaseEnd = 1 << 30;
        envRate = rate(ar, keyOffset);
        envPhase = kEnvAttack;
    }
}

void VoiceUnitPCM::noteOn(const int32_t& channel, const int32_t& noteKey, const int32_t& velocity) {
    state = kSounding | kHeld;
    part = channel;
    key = noteKey;
    const PartState& p = parts[channel & 15];
    const TonePreset& tone = tones[p.program & 127];
    if (tone.wave < 0 || tone.wave > 127 || !takeSlot(slots[tone.wave])) {
        kill();
        return;
    }
    const SampleData& s = slots[tone.wave];
    const SharedTables& t = *tables;

    lms = std::clamp(tone.lms, 0, 15);
    lfoDepth = lms * clampIndex(p.controllers[1], 128);
    lfoStep = rates.lfoRateUnit * std::clamp(tone.lfoFreq, 0, 16383);
    lfoPhase = 1 << 30;
    lfoPitch = lfoLevel = 0;
    lfoIndex = (tone.strc & 1) ^ 1;  // (strc - 1) & 1 without the subtraction

    setGains(p, velocity);
    panBase = 64;
    const int32_t pan = clampIndex(p.controllers[10], 128);
    panLeft = panCurve[pan + 64];
    panRight = panCurve[192 - pan];
    gainLeft = panLeft * baseGain;
    gainRight = panRight * baseGain;

    bendRangeLog = t.noteLogTable[clampIndex(p.pitchBendRange, 128)];
    bendValue = bendOf(p);
    bendPitch = (bendValue * bendRangeLog) >> 13;
    basePitch = clampPitch(static_cast<int64_t>(t.noteLogTable[noteKey & 127]) + rates.toneRateOffset +
                           s.pitchOffset + (static_cast<int64_t>(tone.tune) - 8192));
    pitchStep = step(basePitch + bendPitch);

    const int32_t follow =
        t.keyFollowTable[clampIndex64(static_cast<int64_t>(noteKey) - tone.kfStart + 127, 256)];
    const int64_t keyOffset = static_cast<int64_t>(follow) << (tone.kf & 31);
    setEnvelope(tone.tl, tone.ar, tone.dr, tone.sl, tone.rr,
                static_cast<int32_t>(std::min<int64_t>(keyOffset, kPitchLimit)));

    render = renderTable[(tone.strc & 3) * 2 + (s.channels == 2 ? 1 : 0)];
}

void VoiceUnitPCM::startSamplerNote(const int32_t& channel, const int32_t& noteKey, const int32_t& velocity) {
    state = kSounding | kHeld;
    part = channel;
    key = noteKey;
    const PartState& p = parts[channel & 15];
    const SamplerPreset& q = samplers[noteKey & 127];
    if (q.smplNum < 0 || q.smplNum > 127 || !takeSlot(slots[q.smplNum])) {
        kill();
        return;
    }
    const SampleData& s = slots[q.smplNum];
    const SharedTables& t = *tables;

    lfoPitch = lfoLevel = 0;
    setGains(p, velocity);
    // Beyond -128 and 257 every pan index saturates alike; held there, no sum overflows.
    panBase = std::clamp(q.pan, -128, 257);
    const int32_t pan = clampIndex(p.controllers[10], 128);
    panLeft = panCurve[clampIndex(pan + panBase, 257)];
    panRight = panCurve[clampIndex(256 - panBase - pan, 257)];
    gainLeft = panLeft * baseGain;
    gainRight = panRight * baseGain;

    bendRangeLog = t.noteLogTable[clampIndex(p.pitchBendRange, 128)];
    bendValue = bendOf(p);
    bendPitch = (bendValue * bendRangeLog) >> 13;
    basePitch = clampPitch((static_cast<int64_t>(q.octv) - 9) * 8192 + rates.sampleRateOffset + s.rateLog +
                           static_cast<int64_t>(q.tune));
    pitchStep = step(basePitch + bendPitch);

    setEnvelope(q.tl, q.ar, q.dr, q.sl, q.rr, 0);
    render = renderTable[s.channels == 2 ? 7 : 6];
}

}  // namespace velt::corvane::synth
