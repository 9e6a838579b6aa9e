#include "tools/corvane-make-demo/demo_setup.h"

#include "tools/corvane-make-demo/demo_layout.h"

namespace velt::corvane::tools {

namespace {

// About the time a 40-byte SysEx message takes on a MIDI cable at 100 BPM.
constexpr uint32_t kSetupSpacing = 12;
constexpr int32_t kSamplerMode = 3;

struct DrumKey {
    int32_t key;
    SamplerSettings sampler;
};

// A slow release lets every one-shot play out after its short note.
const DrumKey kDrumKit[] = {
    {kKickKey, {"Demo Kick       ", kKickSlot, 64, 8, 8192, 0, 127, 0, 127, 40}},
    {kSnareKey, {"Demo Snare      ", kSnareSlot, 62, 8, 8192, 2, 127, 0, 127, 40}},
    {kClapKey, {"Demo Clap       ", kClapSlot, 56, 8, 8192, 5, 127, 0, 127, 40}},
    {kHatClosedKey, {"Demo Hat Closed ", kHatClosedSlot, 80, 8, 8192, 9, 127, 0, 127, 40}},
    {kHatOpenKey, {"Demo Hat Open   ", kHatOpenSlot, 80, 8, 8192, 11, 127, 0, 127, 64}},
    {kLowTomKey, {"Demo Tom Low    ", kTomSlot, 50, 8, 8192, 3, 127, 0, 127, 40}},
    // The same tom four semitones up (4 × 8192 / 12 above the centre).
    {kHighTomKey, {"Demo Tom High   ", kTomSlot, 78, 8, 8192 + 2731, 3, 127, 0, 127, 40}},
};

// The melodic parts' tones: name, LFO frequency, structure, tune, LMS, wave, TL, AR, DR, SL, RR,
// key follow and its start key.
const ToneSettings kEPianoTone{"Demo E.Piano    ", 2304, 2, 8192, 1, kEPianoSlot, 0, 127, 44, 24, 72, 1, 60};
const ToneSettings kBassTone{"Demo Bass       ", 2048, 0, 8192, 0, kBassSlot, 0, 126, 64, 12, 100, 0, 48};
const ToneSettings kPadTone{"Demo Warm Pad   ", 2048, 0, 8192, 0, kPadSlot, 0, 72, 100, 0, 64, 0, 48};
const ToneSettings kLeadTone{"Demo Lead       ", 2816, 1, 8192, 1, kLeadSlot, 0, 118, 70, 6, 84, 0, 48};

std::vector<uint8_t> header(uint8_t block, int32_t index, uint8_t address) {
    return {0x7D, 0x10, 0x23, block, static_cast<uint8_t>(index & 0x7F), address};
}

void putName(std::vector<uint8_t>& out, const char* name) {
    bool ended = false;
    for (int i = 0; i < 16; ++i) {
        if (name[i] == '\0') ended = true;
        out.push_back(ended ? ' ' : static_cast<uint8_t>(name[i] & 0x7F));
    }
}

void put7(std::vector<uint8_t>& out, int32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0x7F));
}

void put14(std::vector<uint8_t>& out, int32_t v) {
    put7(out, v);
    put7(out, v >> 7);
}

}  // namespace

MelodicPart melodicPart(MelodicRole role) {
    switch (role) {
        case MelodicRole::EPiano:
            // Amplitude LFO: the modulation wheel (set to 36) gives a gentle tremolo near 4.5 Hz.
            return {"E.Piano", kEPianoChannel, kEPianoProgram, kEPianoTone, 94, 46, 127, 36, 2};
        case MelodicRole::Bass: return {"Bass", kBassChannel, kBassProgram, kBassTone, 104, 64, 127, 0, 2};
        case MelodicRole::Pad: return {"Pad", kPadChannel, kPadProgram, kPadTone, 84, 84, 40, 0, 2};
        case MelodicRole::Lead:
            // Pitch LFO near 5.5 Hz; the song raises the modulation wheel on long notes.
            return {"Lead", kLeadChannel, kLeadProgram, kLeadTone, 104, 72, 120, 0, 4};
    }
    return {"", 0, 0, {"", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 0, 0};
}

std::vector<uint8_t> toneWrite(int32_t preset, const ToneSettings& tone) {
    std::vector<uint8_t> m = header(0x04, preset, 0x00);
    putName(m, tone.name);
    put7(m, 0);   // key: accepted and ignored
    put7(m, 64);  // pan: accepted and ignored
    put14(m, tone.lfoFreq);
    put7(m, tone.strc);
    put14(m, tone.tune);
    put7(m, tone.lms);
    put7(m, tone.wave);
    put7(m, tone.tl);
    put7(m, tone.ar);
    put7(m, tone.dr);
    put7(m, tone.sl);
    put7(m, tone.rr);
    put7(m, tone.kf);
    put7(m, tone.kfStart);
    m.push_back(0xF7);
    return m;
}

std::vector<uint8_t> samplerWrite(int32_t preset, const SamplerSettings& sampler) {
    std::vector<uint8_t> m = header(0x06, preset, 0x00);
    putName(m, sampler.name);
    put7(m, sampler.smplNum);
    put7(m, sampler.pan);
    put7(m, sampler.octv);
    put14(m, sampler.tune);
    put7(m, sampler.tl);
    put7(m, sampler.ar);
    put7(m, sampler.dr);
    put7(m, sampler.sl);
    put7(m, sampler.rr);
    m.push_back(0xF7);
    return m;
}

std::vector<uint8_t> partModeWrite(int32_t part, int32_t address, int32_t mode) {
    std::vector<uint8_t> m = header(0x02, part & 0x0F, static_cast<uint8_t>(address & 0x7F));
    put7(m, mode);
    m.push_back(0xF7);
    return m;
}

void addMelodicSetup(SmfTrack& track, const MelodicPart& part) {
    const int32_t ch = part.channel;
    uint32_t tick = 0;
    track.name(tick, part.trackName);
    track.sysEx(tick, toneWrite(part.program, part.tone));
    track.program(tick += kSetupSpacing, ch, part.program, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 7, part.volume, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 10, part.pan, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 11, part.expression, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 1, part.modulation, SmfSlot::Setup);
    // RPN 0 (pitch bend sensitivity), then the null RPN so later data entry changes nothing.
    track.control(tick += kSetupSpacing, ch, 101, 0, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 100, 0, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 6, part.bendRange, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 38, 0, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 101, 127, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, ch, 100, 127, SmfSlot::Setup);
}

void addDrumSetup(SmfTrack& track) {
    uint32_t tick = 0;
    track.name(tick, "Drums");
    track.sysEx(tick, partModeWrite(kDrumChannel, 0x01, kSamplerMode));
    track.sysEx(tick += kSetupSpacing, partModeWrite(kDrumChannel, 0x00, kSamplerMode));
    for (const DrumKey& d : kDrumKit) track.sysEx(tick += kSetupSpacing, samplerWrite(d.key, d.sampler));
    track.control(tick += kSetupSpacing, kDrumChannel, 7, 100, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, kDrumChannel, 10, 64, SmfSlot::Setup);
    track.control(tick += kSetupSpacing, kDrumChannel, 11, 127, SmfSlot::Setup);
}

}  // namespace velt::corvane::tools
