#include "synth/core/multi_timber_synth_base.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "synth/core/channel_data.h"
#include "synth/core/module_rack.h"

namespace velt::corvane::synth {

MultiTimberSynthBase::MultiTimberSynthBase(const float& masterTune, const float& masterVolume)
    : masterTune_(masterTune), masterVolume_(masterVolume) {
    scratchEvent_.reset();
    buildLevelTable();
    fillHandlerTables();
    for (PartState& p : parts_) {
        p.outputBus = 0;
        p.resetPart();
        p.mode = kModeInstrument;
        p.defaultMode = kModeInstrument;
    }
}

MultiTimberSynthBase::~MultiTimberSynthBase() = default;

void MultiTimberSynthBase::setSampleRate(const float& rate) {
    if (rate != sampleRate_) applySampleRate(rate);
}

void MultiTimberSynthBase::reset() {
    killVoices(-1);
    resetAllParts(false);
}

void MultiTimberSynthBase::systemReset() {
    systemResetBody();
}

void MultiTimberSynthBase::attach(ModuleRack& rack) {
    applySampleRate(rack.context().sampleRate);
}

void MultiTimberSynthBase::buildLevelTable() {
    if (!levelTable_) levelTable_.reset(new (std::nothrow) float[128]);
    if (!levelTable_) return;
    for (int32_t i = 0; i < 128; ++i)
        levelTable_[i] = static_cast<float>(std::pow(2.0, (i + 1) / 8.0) / 65536.0);
}

void MultiTimberSynthBase::setMasterVolume(const float& volume) {
    masterVolume_ = volume;
    for (int32_t i = 0; i < voiceCount_; ++i) voices_[i]->setMasterVolume(masterVolume_);
}

void MultiTimberSynthBase::applySampleRate(const float& rate) {
    sampleRate_ = rate;
    updateRates();
}

void MultiTimberSynthBase::setMasterTune(const float& tune) {
    masterTune_ = tune;
    updateRates();
}

void MultiTimberSynthBase::setPartOutput(const int32_t& part, const int32_t& bus) {
    if (part < 0 || part >= kPartCount) return;
    const int32_t b = std::clamp(bus, 0, kOutputBusCount - 1);
    parts_[part].outputBus = b;
    for (int32_t i = 0; i < voiceCount_; ++i)
        if (voices_[i]->part == part) voices_[i]->outputChannel = 2 * b;
}

void MultiTimberSynthBase::systemResetBody() {
    buildLevelTable();
    killVoices(-1);
    resetAllParts(true);
    resetPresets();
    rpnEnabled_ = true;
    nrpnEnabled_ = false;
    acceptSysEx_ = false;
}

int32_t MultiTimberSynthBase::getPartDefaultMode(const int32_t& part) const {
    return parts_[part & 15].defaultMode;
}

void MultiTimberSynthBase::setPartDefaultMode(const int32_t& part, const int32_t& mode) {
    parts_[part & 15].defaultMode = std::clamp(mode, 0, maxPartMode_);
}

int32_t MultiTimberSynthBase::getPartMode(const int32_t& part) const {
    return parts_[part & 15].mode;
}

void MultiTimberSynthBase::setPartMode(const int32_t& part, const int32_t& mode) {
    const int32_t m = std::clamp(mode, 0, maxPartMode_);
    PartState& p = parts_[part & 15];
    if (m == p.mode) return;
    p.mode = m;
    killVoices(part & 15);
}

void MultiTimberSynthBase::resetAllParts(bool restoreModes) {
    for (PartState& p : parts_) {
        p.resetPart();
        if (restoreModes) p.mode = p.defaultMode;
    }
}

void MultiTimberSynthBase::sendNoteOff(const int32_t& channel, const int32_t& key) {
    scratchEvent_.channel = channel;
    scratchEvent_.data1 = key & 127;
    releaseNote(scratchEvent_);
}

void MultiTimberSynthBase::sendNoteOn(const int32_t& channel, const int32_t& key, const int32_t& velocity) {
    if (parts_[channel & 15].mode == kModeMute) return;
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = key & 127;
    scratchEvent_.data2 = clampData7(velocity);
    if (velocity > 0) {
        allocateVoice(scratchEvent_);
        routeAllocatedVoice();
    } else {
        releaseNote(scratchEvent_);
    }
}

void MultiTimberSynthBase::sendPolyPressure(const int32_t& channel, const int32_t& key,
                                            const int32_t& value) {
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = key & 127;
    scratchEvent_.data2 = clampData7(value);
    onPolyPressure(scratchEvent_);
}

void MultiTimberSynthBase::sendControlChange(const int32_t& channel, const int32_t& controller,
                                             const int32_t& value) {
    if (controller < 0 || controller >= kControllerCount) return;
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = controller;
    scratchEvent_.data2 = clampData7(value);
    (this->*controllerHandlers_[controller])(scratchEvent_);
}

void MultiTimberSynthBase::sendProgramChange(const int32_t& channel, const int32_t& program) {
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = program & 127;
    onProgramChange(scratchEvent_);
}

void MultiTimberSynthBase::sendChannelPressure(const int32_t& channel, const int32_t& value) {
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = clampData7(value);
    onChannelPressure(scratchEvent_);
}

void MultiTimberSynthBase::sendPitchBend(const int32_t& channel, const int32_t& lsb, const int32_t& msb) {
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = clampData7(lsb);
    scratchEvent_.data2 = clampData7(msb);
    onPitchBend(scratchEvent_);
}

void MultiTimberSynthBase::sendPitchBend14(const int32_t& channel, const int32_t& value) {
    scratchEvent_.channel = channel & 15;
    scratchEvent_.data1 = value & 127;
    scratchEvent_.data2 = (value >> 7) & 127;
    onPitchBend(scratchEvent_);
}

void MultiTimberSynthBase::sendSysEx(const uint8_t* bytes, const int32_t& length) {
    if (!acceptSysEx_) return;
    const int32_t n = bytes ? std::clamp(length, 0, kSysExCapacity) : 0;
    scratchEvent_.channel = 0;
    if (n > 0) std::memcpy(scratchEvent_.sysExData, bytes, static_cast<size_t>(n));
    scratchEvent_.sysExLength = n;
    receiveSysEx(scratchEvent_);
}

void MultiTimberSynthBase::routeAllocatedVoice() {
    if (allocatedVoice_ < 0) return;
    VoiceUnitBase& v = *voices_[allocatedVoice_];
    // A note that could not start leaves the voice idle; it gets no output.
    if (v.state != 0 && v.part >= 0) v.outputChannel = 2 * parts_[v.part].outputBus;
}

void MultiTimberSynthBase::setVoiceTable(std::unique_ptr<VoiceUnitBase*[]> table, int32_t count) {
    voices_ = std::move(table);
    voiceCount_ = count;
}

}  // namespace velt::corvane::synth
