// PCM voice: envelope phases, release, damping and the controller operations.
#include <algorithm>

#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::synth {

using VoiceUnitPCM = SynthesizerPCM::VoiceUnitPCM;

namespace {
constexpr int32_t kPitchIndexLimit = 128 * 8192 - 1;
}

int32_t VoiceUnitPCM::step(int32_t x) const {
    // A large downward bend on a very slow slot would index below the table.
    const int32_t c = std::clamp(x, 0, kPitchIndexLimit);
    return tables->pitchExpTable[c & 8191] >> tables->pitchShiftTable[c >> 13];
}

int32_t VoiceUnitPCM::rate(int32_t r, int32_t keyOffset) const {
    const int64_t x64 = static_cast<int64_t>(r) * 1024 + keyOffset + rates.envRateOffset;
    const int32_t x = static_cast<int32_t>(std::clamp<int64_t>(x64, 0, kPitchIndexLimit));
    return tables->pitchExpTable[x & 8191] >> tables->rateShiftTable[x >> 13];
}

bool VoiceUnitPCM::advanceEnvelope() {
    switch (envPhase) {
        case kEnvAttack:
            envTable = tables->logRampTable;
            envPos = 0;
            if (sustainLevel > 0) {
                phaseEnd = sustainPos;
                envRate = decayRate;
                envPhase = kEnvDecay;
            } else {
                envRate = 0;
                envPhase = kEnvSustain;
                phaseEnd = 0x7FFFFFFF;
            }
            return true;
        case kEnvDecay:
            if (sustainPos >= endPos) {
                envPhase = kEnvEnded;
                return false;
            }
            envTable = tables->logRampTable;
            envPos = static_cast<uint32_t>(sustainPos);
            envRate = 0;
            envPhase = kEnvSustain;
            phaseEnd = 0x7FFFFFFF;
            return true;
        default: envPhase = kEnvEnded; return false;
    }
}

void VoiceUnitPCM::kill() {
    state = kIdle;
    part = -1;
}

bool VoiceUnitPCM::releaseFromAttack() {
    if (envPhase != kEnvAttack) return true;
    // The linear attack level becomes the same attenuation on the log scale.
    envTable = tables->logRampTable;
    envPos = envPos < (1u << 30) ? static_cast<uint32_t>(tables->linToLogTable[envPos >> 18]) << 17 : 0u;
    if (static_cast<int64_t>(envPos) <= endPos) return true;
    kill();
    return false;
}

void VoiceUnitPCM::noteOff() {
    if (!(state & kHeld)) return;
    if (!releaseFromAttack()) return;
    phaseEnd = endPos;
    envRate = releaseRate;
    curEnd = playEnd;
    curLoop = releaseLoop;
    envPhase = kEnvRelease;
    state = kSounding | kReleased;
}

void VoiceUnitPCM::damp() {
    if (!(state & (kHeld | kReleased))) return;
    if (!releaseFromAttack()) return;
    phaseEnd = endPos;
    envRate = rates.dampRate;
    curEnd = playEnd;
    curLoop = releaseLoop;
    envPhase = kEnvEnded;  // reaching endPos ends the voice
    state = kSounding | kDamped;
    part = -1;
}

void VoiceUnitPCM::recomputeGains() {
    baseGain = volumeGain * expressionGain * velocityMaster;
    gainLeft = baseGain * panLeft;
    gainRight = baseGain * panRight;
}

void VoiceUnitPCM::setMasterVolume(const float& volume) {
    masterGain = volume;
    if (state == kIdle) return;
    velocityMaster = velocityGain * volume;
    baseGain = expressionGain * volumeGain * velocityMaster;
    gainLeft = baseGain * panLeft;
    gainRight = baseGain * panRight;
}

void VoiceUnitPCM::setBendRange(const int32_t& semitones) {
    bendRangeLog = tables->noteLogTable[std::clamp(semitones, 0, 127)];
    bendPitch = (bendValue * bendRangeLog) >> 13;
    pitchStep = step(basePitch + lfoPitch + bendPitch);
}

void VoiceUnitPCM::setBend(const int32_t& value) {
    bendValue = std::clamp(value, 0, 16383) - 8192;
    bendPitch = (bendValue * bendRangeLog) >> 13;
    pitchStep = step(basePitch + lfoPitch + bendPitch);
}

void VoiceUnitPCM::setModulation(const int32_t& value) {
    lfoDepth = lms * std::clamp(value, 0, 127);
}

void VoiceUnitPCM::setVolume(const int32_t& value) {
    volumeGain = volumeCurve[std::clamp(value, 0, 127)];
    recomputeGains();
}

void VoiceUnitPCM::setExpression(const int32_t& value) {
    expressionGain = expressionCurve[std::clamp(value, 0, 127)];
    recomputeGains();
}

void VoiceUnitPCM::setPan(const int32_t& value) {
    const int64_t v = std::clamp(value, 0, 127);
    panLeft = panCurve[std::clamp<int64_t>(v + panBase, 0, 256)];
    panRight = panCurve[std::clamp<int64_t>(256 - v - panBase, 0, 256)];
    gainLeft = panLeft * baseGain;
    gainRight = panRight * baseGain;
}

}  // namespace velt::corvane::synth
