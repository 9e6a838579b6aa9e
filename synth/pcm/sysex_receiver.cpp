// System exclusive reception: master settings, part modes and preset fields.
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::synth {

namespace {

enum SysExBlock : int32_t { kBlockSystem = 0x00, kBlockPart = 0x02, kBlockTone = 0x04, kBlockSampler = 0x06 };
constexpr int32_t kLastSystemAddress = 0x01;
constexpr int32_t kLastToneAddress = 0x1F;
constexpr int32_t kLastSamplerAddress = 0x19;

void setLow7(int32_t& field, int32_t v) {
    field = (field & 0x3F80) | v;
}
void setHigh7(int32_t& field, int32_t v) {
    field = (v << 7) | (field & 0x7F);
}

void writeToneField(TonePreset& t, int32_t address, int32_t v) {
    if (address < 0x10) {
        t.presetName[address] = static_cast<char>(v);
        return;
    }
    switch (address) {
        case 0x10:  // key: consumed, not stored
        case 0x11:  // pan: consumed, not stored
            break;
        case 0x12: setLow7(t.lfoFreq, v); break;
        case 0x13: setHigh7(t.lfoFreq, v); break;
        case 0x14: t.strc = v & 3; break;
        case 0x15: setLow7(t.tune, v); break;
        case 0x16: setHigh7(t.tune, v); break;
        case 0x17: t.lms = v & 15; break;
        case 0x18: t.wave = v; break;
        case 0x19: t.tl = v; break;
        case 0x1A: t.ar = v; break;
        case 0x1B: t.dr = v; break;
        case 0x1C: t.sl = v; break;
        case 0x1D: t.rr = v; break;
        case 0x1E: t.kf = v & 3; break;
        case 0x1F: t.kfStart = v; break;
        default: break;
    }
}

void writeSamplerField(SamplerPreset& s, int32_t address, int32_t v) {
    if (address < 0x10) {
        s.presetName[address] = static_cast<char>(v);
        return;
    }
    switch (address) {
        case 0x10: s.smplNum = v; break;
        case 0x11: s.pan = v; break;
        case 0x12: s.octv = v & 15; break;
        case 0x13: setLow7(s.tune, v); break;
        case 0x14: setHigh7(s.tune, v); break;
        case 0x15: s.tl = v; break;
        case 0x16: s.ar = v; break;
        case 0x17: s.dr = v; break;
        case 0x18: s.sl = v; break;
        case 0x19: s.rr = v; break;
        default: break;
    }
}

}  // namespace

void SynthesizerPCM::receiveSysEx(MidiEvent& e) {
    const int32_t n = e.sysExLength;
    if (n < 8 || n > kSysExCapacity) return;
    const uint8_t* b = e.sysExData;
    if (b[0] != manufacturerId_ || b[1] != deviceId_ || b[2] != modelId_) return;
    const int32_t block = b[3];
    const int32_t index = b[4];
    int32_t address = b[5];
    // Data bytes run up to, not including, the last byte (the closing F7).
    const int32_t dataEnd = n - 1;
    int32_t at = 6;

    switch (block) {
        case kBlockSystem:
            if (index != 0 || address > kLastSystemAddress) return;
            for (; at < dataEnd && address <= kLastSystemAddress; ++at, ++address) {
                const int32_t v = b[at];
                if (address == 0) {
                    setMasterVolume(levelTable_[v & 127]);
                } else {
                    setMasterTune(static_cast<float>((v - 64) * 0.5 + 440.0));
                }
            }
            return;
        case kBlockPart: {
            if (address > kLastSystemAddress) return;
            const int32_t partIndex = index & 0x0F;
            for (; at < dataEnd && address <= kLastSystemAddress; ++at, ++address) {
                const int32_t v = b[at];
                if (address == 0) {
                    setPartDefaultMode(partIndex, v);
                } else {
                    const int32_t before = parts_[partIndex].mode;
                    setPartMode(partIndex, v);
                    if (parts_[partIndex].mode != before) return;  // a mode change ends the run
                }
            }
            return;
        }
        case kBlockTone:
            // Preset numbers beyond the 128 records name nothing.
            if (index > 127 || address > kLastToneAddress) return;
            for (; at < dataEnd && address <= kLastToneAddress; ++at, ++address)
                writeToneField(tones_[index], address, b[at]);
            return;
        case kBlockSampler:
            if (index > 127 || address > kLastSamplerAddress) return;
            for (; at < dataEnd && address <= kLastSamplerAddress; ++at, ++address)
                writeSamplerField(samplers_[index], address, b[at]);
            return;
        default: return;
    }
}

}  // namespace velt::corvane::synth
