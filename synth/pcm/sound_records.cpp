#include "synth/pcm/sound_records.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace velt::corvane {

SampleData::~SampleData() {
    if (hasData) delete[] samples;
}

void SampleData::clear() {
    if (hasData) delete[] samples;
    hasData = false;
    sampleRate = 0.0f;
    Pitch = 0.0f;
    samples = nullptr;
    frameCount = channels = rateLog = pitchLog = pitchOffset = 0;
    PlayBackStartPoint = PlayBackEndPoint = LoopEndPoint = 0;
    loopLength = releaseLoopLength = 0;
}

void setPresetName(char (&presetName)[kPresetNameLength + 1], const char* name) {
    int32_t i = 0;
    for (; i < kPresetNameLength && name[i] != '\0'; ++i) presetName[i] = name[i];
    for (; i < kPresetNameLength; ++i) presetName[i] = ' ';
    presetName[kPresetNameLength] = '\0';
}

void resetTonePreset(TonePreset& p) {
    setPresetName(p.presetName, "");
    p.lfoFreq = 2048;
    p.strc = 0;
    p.tune = 8192;
    p.lms = 0;
    p.wave = 0;
    p.tl = 0;
    p.ar = 126;
    p.dr = 100;
    p.sl = 0;
    p.rr = 120;
    p.kf = 0;
    p.kfStart = 48;
}

void resetSamplerPreset(SamplerPreset& p) {
    setPresetName(p.presetName, "");
    p.smplNum = 0;
    p.pan = 64;
    p.octv = 8;
    p.tune = 8192;
    p.tl = 0;
    p.ar = 127;
    p.dr = 0;
    p.sl = 127;
    p.rr = 120;
}

int32_t logOfRate(float v) {
    if (!(v > 1.0f)) return 0;
    const float scaled = std::log2(v) * 8192.0f + 0.5f;
    // Rates beyond 2^262143 do not exist; keep the conversion defined anyway.
    if (!(scaled < 2147483520.0f)) return 2147483520;
    return static_cast<int32_t>(scaled);
}

void setPlaybackPoints(SampleData& s, int32_t start, int32_t end) {
    if (!(start < end && end <= s.frameCount)) return;
    s.PlayBackStartPoint = start;
    s.PlayBackEndPoint = end;
    s.LoopEndPoint = end;
    s.loopLength = 0;
    s.releaseLoopLength = 0;
}

void setLoopPoints(SampleData& s, int32_t loopStart, int32_t loopEnd) {
    if (loopStart >= s.PlayBackStartPoint && loopStart < loopEnd && loopEnd <= s.PlayBackEndPoint) {
        s.LoopEndPoint = loopEnd;
        s.loopLength = loopEnd - loopStart;
        s.releaseLoopLength = loopEnd == s.PlayBackEndPoint ? s.loopLength : 0;
        return;
    }
    s.LoopEndPoint = s.PlayBackEndPoint;
    s.loopLength = 0;
    s.releaseLoopLength = 0;
}

void setSamplePitch(SampleData& s, float pitch) {
    // The text files write Pitch without a sign and read it back only so; below 1 Hz
    // every value plays alike, so negatives (and NaN, and -0) are stored as 0.
    s.Pitch = pitch > 0.0f ? std::min(pitch, FLT_MAX) : 0.0f;
    s.pitchLog = logOfRate(pitch);
    s.pitchOffset = s.rateLog - s.pitchLog;
}

void setSampleRateFields(SampleData& s, float sampleRate) {
    s.sampleRate = sampleRate;
    s.rateLog = logOfRate(sampleRate);
    s.pitchOffset = s.rateLog - s.pitchLog;
}

uint32_t linearToLogCode(double x) {
    constexpr double kFloor = 1.0 / 65536.0;
    // Beyond full scale the attenuation would be negative; hold it at full scale.
    if (x >= 1.0) return 0u;
    if (x <= -1.0) return 1u;
    if (x > kFloor) return 2u * static_cast<uint32_t>(std::trunc(0.5 - 256.0 * std::log2(x)));
    if (x < -kFloor) return 2u * static_cast<uint32_t>(std::trunc(0.5 - 256.0 * std::log2(-x))) + 1u;
    return 8192u;
}

}  // namespace velt::corvane
