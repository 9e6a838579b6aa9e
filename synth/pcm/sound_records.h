// The three record tables of the sound data: tone presets, sampler presets and
// sample-data slots.
#pragma once

#include <cstdint>

namespace velt::corvane {

constexpr int32_t kPresetNameLength = 16;

/// A tone preset, played by parts in Instrument and Percussion mode.
struct TonePreset {
    char presetName[kPresetNameLength + 1];  ///< 16 printable characters, zero-terminated
    int32_t lfoFreq;                         ///< 0..16383, about 32 * lfoFreq / 16383 Hz
    int32_t strc;                            ///< 0 no LFO, 1 pitch LFO, 2 amplitude LFO, 3 no LFO
    int32_t tune;                            ///< 1/8192 octave, centred on 8192
    int32_t lms;                             ///< LFO depth 0..15
    int32_t wave;                            ///< sample-data slot 0..127
    int32_t tl;                              ///< total level attenuation in 0.75 dB steps
    int32_t ar;                              ///< attack rate, 127 skips the attack
    int32_t dr;                              ///< decay rate
    int32_t sl;                              ///< sustain level attenuation, 0 = no decay
    int32_t rr;                              ///< release rate
    int32_t kf;                              ///< key-follow strength 0..3
    int32_t kfStart;                         ///< note above which key follow begins
};

/// A sampler preset; a Sampler part plays the preset numbered like the key.
struct SamplerPreset {
    char presetName[kPresetNameLength + 1];
    int32_t smplNum;  ///< sample-data slot 0..127
    int32_t pan;      ///< added to the part's pan, 64 neutral
    int32_t octv;     ///< 8 = recorded speed, one octave per step
    int32_t tune;     ///< 1/8192 octave, centred on 8192
    int32_t tl;
    int32_t ar;
    int32_t dr;
    int32_t sl;
    int32_t rr;
};

/// One sample-data slot. Owns its code array while hasData is true.
struct SampleData {
    bool hasData = false;
    float sampleRate = 0.0f;      ///< recording rate, Hz
    float Pitch = 0.0f;           ///< fundamental of the waveform, Hz, 0 = not set, never negative
    uint32_t* samples = nullptr;  ///< frameCount * channels log-amplitude codes, interleaved
    int32_t frameCount = 0;
    int32_t channels = 0;
    int32_t rateLog = 0;
    int32_t pitchLog = 0;
    int32_t pitchOffset = 0;  ///< rateLog - pitchLog
    int32_t PlayBackStartPoint = 0;
    int32_t PlayBackEndPoint = 0;
    int32_t LoopEndPoint = 0;
    int32_t loopLength = 0;
    int32_t releaseLoopLength = 0;

    SampleData() = default;
    SampleData(const SampleData&) = delete;
    SampleData& operator=(const SampleData&) = delete;
    ~SampleData();

    /// Frees the owned array and sets every field to 0 / false / null.
    void clear();
    /// Loop start as shown and written: LoopEndPoint - loopLength with a loop, else 0.
    int32_t loopStartPoint() const { return loopLength > 0 ? LoopEndPoint - loopLength : 0; }
};

/// Writes the reset values into a tone preset.
void resetTonePreset(TonePreset& preset);
/// Writes the reset values into a sampler preset.
void resetSamplerPreset(SamplerPreset& preset);
/// Copies up to 16 characters of name into presetName and terminates it.
void setPresetName(char (&presetName)[kPresetNameLength + 1], const char* name);

/// trunc(log2(v) * 8192 + 0.5) in single precision when v > 1, else 0.
int32_t logOfRate(float v);

/// Start and end: applied only when start < end <= frameCount; clears the loop.
void setPlaybackPoints(SampleData& slot, int32_t start, int32_t end);
/// Loop: kept only when it lies inside start..end; otherwise the loop is cleared.
void setLoopPoints(SampleData& slot, int32_t loopStart, int32_t loopEnd);
/// Stores Pitch held to 0..FLT_MAX (negatives and NaN become 0) and recomputes
/// pitchLog and pitchOffset. Every way a pitch enters (editor, state restore, text
/// import) goes through here.
void setSamplePitch(SampleData& slot, float pitch);
/// Stores sampleRate and recomputes rateLog and pitchOffset.
void setSampleRateFields(SampleData& slot, float sampleRate);

/// Log-amplitude code of a linear sample in -1..+1: bit 0 the sign, the rest
/// the attenuation in 1/256 octave; 8192 for silence.
uint32_t linearToLogCode(double x);

}  // namespace velt::corvane
