// Shared rig and independently written formulas for the engine tests.
//
// The formulas below are written out from the documented definitions (tables,
// step, rate, code decoding); they deliberately do not call the engine's helpers,
// so a render can be checked against numbers the engine did not produce.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/synthesizer_pcm.h"
#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::enginetest {

using synth::SynthesizerPCM;
using Voice = SynthesizerPCM::VoiceUnitPCM;

// ---- Formulas -------------------------------------------------------------

constexpr double kPi = 3.14159265358979323846;

/// trunc(log2(v) * 8192 + 0.5) for v > 1, else 0 (double precision).
inline int32_t logOf(double v) {
    return v > 1.0 ? static_cast<int32_t>(std::trunc(std::log2(v) * 8192.0 + 0.5)) : 0;
}
/// trunc(2^(30 + f / 8192) + 0.5).
inline int32_t pitchExp(int32_t f) {
    return static_cast<int32_t>(std::trunc(std::pow(2.0, 30.0 + f / 8192.0) + 0.5));
}
/// Playback advance per output frame in 2^-18 frame for pitch x (1/8192 octave), x >= 0.
inline int32_t stepOf(int32_t x) {
    const int32_t k = x >> 13;
    return pitchExp(x & 8191) >> (k < 30 ? 30 - k : 0);
}
/// Envelope rate for parameter r.
inline int32_t rateOf(int32_t r, int32_t keyOffset, int32_t envRateOffset) {
    const int32_t x = r * 1024 + keyOffset + envRateOffset;
    const int32_t k = x >> 13;
    return pitchExp(x & 8191) >> (k < 30 ? 30 - k : 1);
}
/// Attenuation code of the linear attack level i / 4096.
inline int32_t linToLog(int32_t i) {
    const double x = i / 4096.0;
    return x > 1.0 / 65536.0 ? 2 * static_cast<int32_t>(std::trunc(0.5 - 256.0 * std::log2(x))) : 8192;
}
/// Linear value of a log-amplitude code.
inline double decode(uint32_t code) {
    if (code >= 8192) return 0.0;
    const double v = std::pow(2.0, -static_cast<double>(code >> 1) / 256.0);
    return (code & 1) ? -v : v;
}
/// ((v + 1) / 128)^2 in single precision (exact in float).
inline float level(int32_t v) {
    const float x = static_cast<float>(v + 1) / 128.0f;
    return x * x;
}
/// Pan curve entry: 1 up to 64, sin((128 - n) * pi / 256) at 64 + n, 0 from 192.
inline double panAt(int32_t index) {
    if (index <= 64) return 1.0;
    if (index >= 192) return 0.0;
    return std::sin((128 - (index - 64)) * kPi / 256.0);
}
inline int32_t noteLog(int32_t i) {
    return static_cast<int32_t>(std::trunc(i * 8192.0 / 12.0 + 0.5));
}

/// The gain of a tone voice on one side, in the order the voice builds it.
inline float toneGain(int32_t volume, int32_t expression, int32_t velocity, float master, int32_t panIndex) {
    const float velocityMaster = level(velocity) * master;
    const float base = level(expression) * level(volume) * velocityMaster;
    return static_cast<float>(panAt(panIndex)) * base;
}

// Rate constants at 44100 Hz and A = 440 Hz, as documented.
constexpr int32_t kEnvRateOffset44k = 53834;
constexpr int32_t kLfoRateUnit44k = 6087;
constexpr int32_t kUnityPitch = 18 * 8192;  ///< pitch value of one frame per output frame

/// Compares two sample sequences: |a - e| <= rel * |e| (rel 0: exact); reports the first mismatch.
inline ::testing::AssertionResult samplesMatch(const std::vector<float>& actual,
                                               const std::vector<float>& expected, double rel = 1e-6,
                                               size_t from = 0) {
    if (actual.size() < expected.size())
        return ::testing::AssertionFailure()
               << "only " << actual.size() << " frames, expected " << expected.size();
    for (size_t i = from; i < expected.size(); ++i) {
        const double e = expected[i], a = actual[i];
        if (!(std::fabs(a - e) <= rel * std::fabs(e)))
            return ::testing::AssertionFailure() << "frame " << i << ": got " << a << ", expected " << e;
    }
    return ::testing::AssertionSuccess();
}

// ---- Sample slots ---------------------------------------------------------

/// Distinct codes: magnitude steps of 1/256 octave, alternating sign.
inline std::vector<uint32_t> rampCodes(int32_t frames, int32_t shift = 0) {
    std::vector<uint32_t> c(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i)
        c[i] = static_cast<uint32_t>(2 * ((i + shift) % 4000) + ((i + shift) & 1));
    return c;
}

/// Fills a slot by hand: codes interleaved for stereo, playback over the whole sample, no loop.
inline void fillSlot(SampleData& s, const std::vector<uint32_t>& codes, int32_t channels, float rate,
                     float pitch) {
    s.clear();
    s.samples = new uint32_t[codes.size()];
    std::copy(codes.begin(), codes.end(), s.samples);
    s.hasData = true;
    s.channels = channels;
    s.frameCount = static_cast<int32_t>(codes.size()) / channels;
    setSampleRateFields(s, rate);
    setSamplePitch(s, pitch);
    s.PlayBackStartPoint = 0;
    s.PlayBackEndPoint = s.LoopEndPoint = s.frameCount;
    s.loopLength = s.releaseLoopLength = 0;
}

/// A tone that plays at constant full level while held: ar 127, sl 0, no key follow.
inline void flatTone(TonePreset& t, int32_t wave = 0) {
    resetTonePreset(t);
    t.wave = wave;
    t.ar = 127;
    t.sl = 0;
    t.kfStart = 127;
}

// ---- Rig ------------------------------------------------------------------

/// One scheduled event at an absolute frame; status 0 is a direct call at a block start.
struct Ev {
    int32_t frame;
    int32_t status;
    int32_t channel = 0;
    int32_t d1 = 0;
    int32_t d2 = 0;
    std::vector<uint8_t> bytes;
    std::function<void()> direct;
};

/// Rack with the MIDI controller in slot 0 and the synthesizer in slot 1, capturing all 32 channels.
struct Rig {
    SynthesizerPCM synth{440.0f, 0.8f};
    util::MidiController midi;
    ModuleRack rack;
    std::vector<float> buffers[kChannelCount];
    float* channels[kChannelCount];
    std::vector<float> out[kChannelCount];
    std::vector<Ev> pending;
    int32_t now = 0;

    Rig() {
        rack.setModule(0, &midi);
        rack.setModule(1, &synth);
        for (int32_t c = 0; c < kChannelCount; ++c) {
            buffers[c].assign(2048, 0.0f);
            channels[c] = buffers[c].data();
        }
    }

    void noteOn(int32_t frame, int32_t ch, int32_t key, int32_t vel) {
        pending.push_back({frame, kNoteOn, ch, key, vel, {}, {}});
    }
    void noteOff(int32_t frame, int32_t ch, int32_t key) {
        pending.push_back({frame, kNoteOff, ch, key, 0, {}, {}});
    }
    void cc(int32_t frame, int32_t ch, int32_t number, int32_t value) {
        pending.push_back({frame, kControlChange, ch, number, value, {}, {}});
    }
    void program(int32_t frame, int32_t ch, int32_t prog) {
        pending.push_back({frame, kProgramChange, ch, prog, 0, {}, {}});
    }
    void bend(int32_t frame, int32_t ch, int32_t lsb, int32_t msb) {
        pending.push_back({frame, kPitchBend, ch, lsb, msb, {}, {}});
    }
    void sysex(int32_t frame, std::vector<uint8_t> b) {
        pending.push_back({frame, kSystemExclusive, 0, 0, 0, std::move(b), {}});
    }
    void at(int32_t frame, std::function<void()> f) {
        pending.push_back({frame, 0, 0, 0, 0, {}, std::move(f)});
    }

    /// Renders frames in blocks of at most blockSize; a direct call starts a new block at its frame.
    void render(int32_t frames, int32_t blockSize = 512) {
        const int32_t stop = now + frames;
        while (now < stop) {
            for (Ev& e : pending)
                if (e.status == 0 && e.frame == now && e.direct) std::exchange(e.direct, nullptr)();
            int32_t end = std::min(stop, now + blockSize);
            for (const Ev& e : pending)
                if (e.status == 0 && e.direct && e.frame > now && e.frame < end) end = e.frame;
            for (const Ev& e : pending) {
                if (e.status == 0 || e.frame < now || e.frame >= end) continue;
                queue(e, e.frame - now);
            }
            const int32_t n = end - now;
            for (auto& b : buffers) std::fill(b.begin(), b.begin() + n, 0.0f);
            rack.processBlock(channels, n);
            for (int32_t c = 0; c < kChannelCount; ++c)
                out[c].insert(out[c].end(), buffers[c].begin(), buffers[c].begin() + n);
            now = end;
        }
    }

    void queue(const Ev& e, int32_t offset) {
        switch (e.status) {
            case kNoteOn: midi.queueNoteOn(offset, e.channel, e.d1, e.d2); break;
            case kNoteOff: midi.queueNoteOff(offset, e.channel, e.d1); break;
            case kControlChange: midi.queueControlChange(offset, e.channel, e.d1, e.d2); break;
            case kProgramChange: midi.queueProgramChange(offset, e.channel, e.d1); break;
            case kPitchBend: midi.queuePitchBend(offset, e.channel, e.d1, e.d2); break;
            case kSystemExclusive:
                midi.queueSysEx(offset, e.bytes.data(), static_cast<int32_t>(e.bytes.size()));
                break;
            default: break;
        }
    }

    /// The only sounding voice (fails the test when there is not exactly one).
    Voice& soleVoice() {
        int32_t found = -1, count = 0;
        for (int32_t i = 0; i < synth.getVoiceCount(); ++i)
            if (synth.voice(i).state != 0) found = i, ++count;
        EXPECT_EQ(count, 1);
        return synth.pcmVoice(found < 0 ? 0 : found);
    }
};

}  // namespace velt::corvane::enginetest
