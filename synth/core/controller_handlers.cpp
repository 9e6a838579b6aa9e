// Channel messages: controller handlers, RPN/NRPN selection with data entry,
// program change, channel pressure and pitch bend.
#include <algorithm>

#include "synth/core/channel_data.h"
#include "synth/core/multi_timber_synth_base.h"

namespace velt::corvane::synth {

namespace {
constexpr int32_t kKeepLow = 0x007F;   // data entry MSB replaces the upper seven bits
constexpr int32_t kKeepHigh = 0x3F80;  // data entry LSB replaces the lower seven bits
constexpr int32_t kKeepAll = 0x3FFF;
}  // namespace

void MultiTimberSynthBase::fillHandlerTables() {
    for (int32_t i = 0; i < kControllerCount; ++i)
        controllerHandlers_[i] = i < kStoredControllerCount ? &MultiTimberSynthBase::storeController
                                                            : &MultiTimberSynthBase::ignoreController;
    controllerHandlers_[1] = &MultiTimberSynthBase::onModulation;
    controllerHandlers_[6] = &MultiTimberSynthBase::onDataEntryMsb;
    controllerHandlers_[7] = &MultiTimberSynthBase::onVolume;
    controllerHandlers_[10] = &MultiTimberSynthBase::onPan;
    controllerHandlers_[11] = &MultiTimberSynthBase::onExpression;
    controllerHandlers_[38] = &MultiTimberSynthBase::onDataEntryLsb;
    controllerHandlers_[96] = &MultiTimberSynthBase::onDataIncrement;
    controllerHandlers_[97] = &MultiTimberSynthBase::onDataDecrement;
    controllerHandlers_[98] = &MultiTimberSynthBase::onNrpnLsb;
    controllerHandlers_[99] = &MultiTimberSynthBase::onNrpnMsb;
    controllerHandlers_[100] = &MultiTimberSynthBase::onRpnLsb;
    controllerHandlers_[101] = &MultiTimberSynthBase::onRpnMsb;
    controllerHandlers_[120] = &MultiTimberSynthBase::onAllSoundOff;
    controllerHandlers_[121] = &MultiTimberSynthBase::onResetAllControllers;
    controllerHandlers_[123] = &MultiTimberSynthBase::onAllNotesOff;

    for (ParameterHandler& h : parameterHandlers_) h = &MultiTimberSynthBase::ignoreParameter;
    parameterHandlers_[0] = &MultiTimberSynthBase::onBendSensitivity;
    parameterHandlers_[128] = &MultiTimberSynthBase::onMasterVolumeParameter;
    parameterHandlers_[128 + 32] = &MultiTimberSynthBase::onPartDefaultModeParameter;
    parameterHandlers_[128 + 33] = &MultiTimberSynthBase::onPartModeParameter;
}

// Values are stored first; a muted part records them but tells no voice.
#define CORVANE_FOR_PART_VOICES(channel, call)                         \
    do {                                                               \
        if (parts_[channel].mode != kModeMute)                         \
            for (int32_t i_ = 0; i_ < voiceCount_; ++i_)               \
                if (voices_[i_]->part == (channel)) voices_[i_]->call; \
    } while (0)

void MultiTimberSynthBase::storeController(const MidiEvent& e) {
    parts_[e.channel].controllers[e.data1] = e.data2;
}

void MultiTimberSynthBase::ignoreController(const MidiEvent&) {}

void MultiTimberSynthBase::onModulation(const MidiEvent& e) {
    parts_[e.channel].controllers[1] = e.data2;
    CORVANE_FOR_PART_VOICES(e.channel, setModulation(e.data2));
}

void MultiTimberSynthBase::onVolume(const MidiEvent& e) {
    parts_[e.channel].controllers[7] = e.data2;
    CORVANE_FOR_PART_VOICES(e.channel, setVolume(e.data2));
}

void MultiTimberSynthBase::onPan(const MidiEvent& e) {
    parts_[e.channel].controllers[10] = e.data2;
    CORVANE_FOR_PART_VOICES(e.channel, setPan(e.data2));
}

void MultiTimberSynthBase::onExpression(const MidiEvent& e) {
    parts_[e.channel].controllers[11] = e.data2;
    CORVANE_FOR_PART_VOICES(e.channel, setExpression(e.data2));
}

void MultiTimberSynthBase::onDataEntryMsb(const MidiEvent& e) {
    parts_[e.channel].controllers[6] = e.data2;
    dataEntry(e, e.data2 * 128, kKeepLow, 0);
}

void MultiTimberSynthBase::onDataEntryLsb(const MidiEvent& e) {
    parts_[e.channel].controllers[38] = e.data2;
    dataEntry(e, e.data2, kKeepHigh, 0);
}

void MultiTimberSynthBase::onDataIncrement(const MidiEvent& e) {
    dataEntry(e, 0, kKeepAll, 1);
}

void MultiTimberSynthBase::onDataDecrement(const MidiEvent& e) {
    dataEntry(e, 0, kKeepAll, -1);
}

void MultiTimberSynthBase::dataEntry(const MidiEvent& e, int32_t value, int32_t keepMask, int32_t step) {
    const int32_t index = parts_[e.channel].parameterIndex;
    if (index < 0 || index >= kParameterHandlerCount) return;
    (this->*parameterHandlers_[index])(e.channel, value, keepMask, step);
}

void MultiTimberSynthBase::selectParameter(PartState& p, bool nrpn) {
    const int32_t select = nrpn ? p.nrpnSelect : p.rpnSelect;
    if (select < 0xC000) return;  // both bytes must have arrived at least once
    const int32_t n = select & 0x3FFF;
    p.parameterIndex = n <= 127 ? n + (nrpn ? 128 : 0) : kNoParameter;
}

namespace {
// Bits 0-6 LSB, 7-13 MSB, 14 LSB received, 15 MSB received.
int32_t withLsb(int32_t select, int32_t v) {
    return (select & 0xBF80) | (v & 0x7F) | 0x4000;
}
int32_t withMsb(int32_t select, int32_t v) {
    return (((v & 0x7F) | 0x100) * 128) | (select & 0x407F);
}
}  // namespace

void MultiTimberSynthBase::onNrpnLsb(const MidiEvent& e) {
    if (!nrpnEnabled_) return;
    PartState& p = parts_[e.channel];
    p.controllers[98] = e.data2;
    p.nrpnSelect = withLsb(p.nrpnSelect, e.data2);
    selectParameter(p, true);
}

void MultiTimberSynthBase::onNrpnMsb(const MidiEvent& e) {
    if (!nrpnEnabled_) return;
    PartState& p = parts_[e.channel];
    p.controllers[99] = e.data2;
    p.nrpnSelect = withMsb(p.nrpnSelect, e.data2);
    selectParameter(p, true);
}

void MultiTimberSynthBase::onRpnLsb(const MidiEvent& e) {
    if (!rpnEnabled_) return;
    PartState& p = parts_[e.channel];
    p.controllers[100] = e.data2;
    p.rpnSelect = withLsb(p.rpnSelect, e.data2);
    selectParameter(p, false);
}

void MultiTimberSynthBase::onRpnMsb(const MidiEvent& e) {
    if (!rpnEnabled_) return;
    PartState& p = parts_[e.channel];
    p.controllers[101] = e.data2;
    p.rpnSelect = withMsb(p.rpnSelect, e.data2);
    selectParameter(p, false);
}

void MultiTimberSynthBase::onAllSoundOff(const MidiEvent& e) {
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (voices_[i]->part == e.channel) voices_[i]->damp();
}

void MultiTimberSynthBase::onResetAllControllers(const MidiEvent& e) {
    resetAllControllers(e.channel);
}

void MultiTimberSynthBase::resetAllControllers(int32_t channel) {
    const int32_t ch = channel & 15;
    parts_[ch].resetControllers();
    if (parts_[ch].mode == kModeMute) return;
    const int32_t centre = 8192, zero = 0, full = 127;
    for (int32_t i = 0; i < voiceCount_; ++i) {
        VoiceUnitBase& v = *voices_[i];
        if (v.part != ch) continue;
        v.setBend(centre);
        v.setModulation(zero);
        v.setExpression(full);
    }
}

void MultiTimberSynthBase::onAllNotesOff(const MidiEvent& e) {
    for (int32_t i = 0; i < voiceCount_; ++i) {
        VoiceUnitBase& v = *voices_[i];
        if (v.part == e.channel && (v.state & VoiceUnitBase::kHeld)) v.noteOff();
    }
}

void MultiTimberSynthBase::ignoreParameter(int32_t, int32_t, int32_t, int32_t) {}

void MultiTimberSynthBase::onBendSensitivity(int32_t channel, int32_t value, int32_t keepMask, int32_t step) {
    if (keepMask == kKeepHigh) return;
    PartState& p = parts_[channel];
    // 64 bits: a restored or edited record may hold any range.
    const int64_t current = static_cast<int64_t>(p.pitchBendRange) * 128;
    const int32_t r =
        static_cast<int32_t>(std::clamp<int64_t>(((current & keepMask) | value) / 128 + step, 0, 127));
    p.pitchBendRange = r;
    CORVANE_FOR_PART_VOICES(channel, setBendRange(r));
}

void MultiTimberSynthBase::onMasterVolumeParameter(int32_t, int32_t value, int32_t keepMask, int32_t) {
    if (keepMask != kKeepLow) return;
    setMasterVolume(levelTable_[(value / 128) & 127]);
}

void MultiTimberSynthBase::onPartDefaultModeParameter(int32_t channel, int32_t value, int32_t keepMask,
                                                      int32_t) {
    if (keepMask != kKeepLow) return;
    setPartDefaultMode(channel, value / 128);
}

void MultiTimberSynthBase::onPartModeParameter(int32_t channel, int32_t value, int32_t keepMask, int32_t) {
    if (keepMask != kKeepLow) return;
    setPartMode(channel, value / 128);
}

#undef CORVANE_FOR_PART_VOICES

void MultiTimberSynthBase::onProgramChange(MidiEvent& e) {
    parts_[e.channel].program = e.data1;
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (voices_[i]->part == e.channel) voices_[i]->damp();
}

void MultiTimberSynthBase::onChannelPressure(MidiEvent& e) {
    parts_[e.channel].channelPressure = e.data1;
}

void MultiTimberSynthBase::onPitchBend(MidiEvent& e) {
    PartState& p = parts_[e.channel];
    p.pitchBend = clampData7(e.data2) * 128 + clampData7(e.data1);
    if (p.mode == kModeMute) return;
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (voices_[i]->part == e.channel) voices_[i]->setBend(p.pitchBend);
}

void MultiTimberSynthBase::setRpnEnabled(bool enabled) {
    rpnEnabled_ = enabled;
    for (PartState& p : parts_) p.resetControllers();
}

void MultiTimberSynthBase::setNrpnEnabled(bool enabled) {
    nrpnEnabled_ = enabled;
    for (PartState& p : parts_) p.resetControllers();
}

void MultiTimberSynthBase::setPartBendRange(int32_t channel, int32_t semitones) {
    parts_[channel & 15].pitchBendRange = std::clamp(semitones, 0, 127);
}

}  // namespace velt::corvane::synth
