// Part state after construction, controller handlers, RPN/NRPN with data entry,
// controller reset, pitch bend and the resets.
#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

/// A synthesizer whose tone 0 sounds on slot 0 for as long as a key is held.
struct Playable {
    SynthesizerPCM synth{440.0f, 0.8f};
    Playable() {
        fillSlot(synth.sampleSlot(0), rampCodes(2000), 1, 44100.0f, 440.0f);
        flatTone(synth.tonePreset(0));
    }
    void cc(int32_t ch, int32_t number, int32_t value) { synth.sendControlChange(ch, number, value); }
    Voice& lastVoice() { return synth.pcmVoice(synth.voiceCursor()); }
};

TEST(PartState, ValuesAfterConstruction) {
    SynthesizerPCM synth(440.0f, 0.8f);
    EXPECT_EQ(sizeof(PartState), 132u * 4u);
    EXPECT_EQ(synth.getVoiceCount(), 128);
    EXPECT_EQ(synth.voiceMask(), 127);
    EXPECT_EQ(synth.voiceCursor(), 0);
    EXPECT_EQ(synth.countActiveVoices(), 0);
    for (int32_t ch = 0; ch < 16; ++ch) {
        const PartState& p = synth.part(ch);
        EXPECT_EQ(p.outputBus, 0);
        EXPECT_EQ(p.mode, 1);
        EXPECT_EQ(p.defaultMode, 1);
        EXPECT_EQ(p.program, 0);
        EXPECT_EQ(p.channelPressure, 0);
        EXPECT_EQ(p.pitchBend, 8192);
        for (int32_t c = 0; c < 120; ++c)
            EXPECT_EQ(p.controllers[c], c == 7 ? 100 : c == 10 ? 64 : c == 11 ? 127 : 0);
        EXPECT_EQ(p.pitchBendRange, 2);
        EXPECT_EQ(p.rpnSelect + p.nrpnSelect + p.reservedParameters[0] + p.reservedParameters[1], 0);
        EXPECT_EQ(p.parameterIndex, 256);
    }
    EXPECT_TRUE(synth.isRpnEnabled());
    EXPECT_FALSE(synth.isNrpnEnabled());
    EXPECT_FALSE(synth.acceptsSysEx());
    EXPECT_EQ(synth.receivePortMask(), 65535u);
    EXPECT_EQ(synth.getManufacturerId(), 0x7D);
    EXPECT_EQ(synth.getDeviceId(), 0x10);
    EXPECT_EQ(synth.getModelId(), 0x23);
    EXPECT_EQ(synth.maxPartMode(), 3);
    EXPECT_EQ(synth.getSampleRate(), 44100.0f);
    EXPECT_EQ(synth.getMasterTune(), 440.0f);
    EXPECT_EQ(synth.getMasterVolume(), 0.8f);

    EXPECT_EQ(synth.levelTable(127), 1.0f);
    EXPECT_EQ(synth.levelTable(119), 0.5f);
    EXPECT_EQ(synth.levelTable(0), static_cast<float>(std::pow(2.0, 1.0 / 8.0) / 65536.0));
    for (int32_t i = 0; i < 128; ++i) {
        const double e = std::pow(2.0, (i + 1) / 8.0) / 65536.0;
        EXPECT_NEAR(synth.levelTable(i), e, 1e-7 * e) << i;
    }
    // Identity setters keep 7 bits.
    synth.setDeviceId(0x91);
    synth.setManufacturerId(0xFF);
    synth.setModelId(0x80);
    EXPECT_EQ(synth.getDeviceId(), 0x11);
    EXPECT_EQ(synth.getManufacturerId(), 0x7F);
    EXPECT_EQ(synth.getModelId(), 0x00);
}

TEST(Controllers, RpnBendRangeWithDataEntry) {
    Playable s;
    s.synth.sendNoteOn(3, 60, 100);
    Voice& v = s.lastVoice();
    s.cc(3, 101, 0);
    EXPECT_EQ(s.synth.part(3).rpnSelect, 0x8000);
    EXPECT_EQ(s.synth.part(3).parameterIndex, 256);  // LSB not yet received
    s.cc(3, 100, 0);
    EXPECT_EQ(s.synth.part(3).rpnSelect, 0xC000);
    EXPECT_EQ(s.synth.part(3).parameterIndex, 0);
    EXPECT_EQ(s.synth.part(3).controllers[100], 0);
    s.cc(3, 6, 12);
    EXPECT_EQ(s.synth.part(3).pitchBendRange, 12);
    EXPECT_EQ(s.synth.part(3).controllers[6], 12);
    EXPECT_EQ(v.bendRangeLog, 8192);  // the part's voice is told
    EXPECT_EQ(s.synth.part(0).pitchBendRange, 2);
    s.cc(3, 96, 0);
    s.cc(3, 96, 0);
    EXPECT_EQ(s.synth.part(3).pitchBendRange, 14);
    EXPECT_EQ(v.bendRangeLog, noteLog(14));
    EXPECT_EQ(s.synth.part(3).controllers[96], 0);  // increments are not stored
    s.cc(3, 38, 100);                               // data entry LSB changes nothing
    EXPECT_EQ(s.synth.part(3).pitchBendRange, 14);
    EXPECT_EQ(s.synth.part(3).controllers[38], 100);
    s.cc(3, 6, 0);
    s.cc(3, 97, 0);
    EXPECT_EQ(s.synth.part(3).pitchBendRange, 0);
    s.cc(3, 6, 127);
    s.cc(3, 96, 0);
    EXPECT_EQ(s.synth.part(3).pitchBendRange, 127);

    // RPN null selects nothing; the flags persist, so one byte reselects.
    s.cc(3, 101, 127);
    s.cc(3, 100, 127);
    EXPECT_EQ(s.synth.part(3).parameterIndex, 256);
    s.cc(3, 6, 5);
    EXPECT_EQ(s.synth.part(3).pitchBendRange, 127);
    s.cc(3, 101, 0);
    EXPECT_EQ(s.synth.part(3).parameterIndex, 127);  // MSB 0, LSB still 127
    s.cc(3, 100, 0);
    EXPECT_EQ(s.synth.part(3).parameterIndex, 0);
    s.cc(3, 100, 5);
    EXPECT_EQ(s.synth.part(3).rpnSelect, 0xC005);
    s.cc(3, 101, 1);  // a non-zero MSB selects nothing
    EXPECT_EQ(s.synth.part(3).parameterIndex, 256);

    // With RPN off, 100 and 101 are not even stored.
    s.synth.setRpnEnabled(false);
    EXPECT_EQ(s.synth.part(3).rpnSelect, 0);
    s.cc(3, 101, 9);
    s.cc(3, 100, 9);
    EXPECT_EQ(s.synth.part(3).rpnSelect, 0);
    EXPECT_EQ(s.synth.part(3).controllers[100], 5);
    EXPECT_EQ(s.synth.part(3).parameterIndex, 256);
}

TEST(Controllers, NrpnMasterVolumeAndPartModes) {
    Playable s;
    s.cc(0, 99, 5);
    s.cc(0, 99, 0);
    s.cc(0, 98, 0);
    s.cc(0, 6, 64);
    EXPECT_EQ(s.synth.getMasterVolume(), 0.8f);
    EXPECT_EQ(s.synth.part(0).controllers[99], 0);  // ignored, not stored
    EXPECT_EQ(s.synth.part(0).nrpnSelect, 0);

    s.synth.sendNoteOn(0, 60, 100);
    s.synth.setPartBendRange(0, 7);
    s.synth.setNrpnEnabled(true);
    EXPECT_TRUE(s.synth.isNrpnEnabled());
    s.cc(0, 99, 0);
    s.cc(0, 98, 0);
    EXPECT_EQ(s.synth.part(0).parameterIndex, 128);
    s.cc(0, 38, 20);  // the LSB leaves the master volume alone
    EXPECT_EQ(s.synth.getMasterVolume(), 0.8f);
    s.cc(0, 6, 64);
    const float expected = static_cast<float>(std::pow(2.0, 65.0 / 8.0) / 65536.0);
    EXPECT_EQ(s.synth.getMasterVolume(), expected);
    EXPECT_EQ(s.lastVoice().masterGain, expected);
    EXPECT_EQ(s.lastVoice().velocityMaster, level(100) * expected);
    EXPECT_EQ(s.synth.part(0).pitchBendRange, 7);  // NRPN data entry is not RPN 0

    // LSB 33: part mode, clamped to Sampler, stopping the part's voices.
    s.synth.sendNoteOn(2, 60, 100);
    s.synth.sendNoteOn(3, 60, 100);
    s.cc(2, 99, 0);
    s.cc(2, 98, 33);
    EXPECT_EQ(s.synth.part(2).parameterIndex, 161);
    s.cc(2, 6, 3);
    EXPECT_EQ(s.synth.getPartMode(2), 3);
    EXPECT_EQ(s.synth.countActiveVoices(), 2);  // parts 0 and 3 keep theirs
    s.synth.setPartMode(2, 1);
    s.cc(2, 6, 9);
    EXPECT_EQ(s.synth.getPartMode(2), 3);
    // LSB 32: default mode, also clamped.
    s.cc(2, 98, 32);
    s.cc(2, 6, 2);
    EXPECT_EQ(s.synth.getPartDefaultMode(2), 2);
    s.cc(2, 6, 50);
    EXPECT_EQ(s.synth.getPartDefaultMode(2), 3);
    s.cc(2, 96, 0);  // increment on a mode parameter does nothing
    EXPECT_EQ(s.synth.getPartDefaultMode(2), 3);

    // RPN and NRPN share the selection: the one completed last decides.
    s.cc(2, 101, 0);
    s.cc(2, 100, 0);
    s.cc(2, 6, 24);
    EXPECT_EQ(s.synth.part(2).pitchBendRange, 24);
    s.cc(2, 98, 33);
    EXPECT_EQ(s.synth.part(2).parameterIndex, 161);
    s.synth.setNrpnEnabled(false);
    for (int32_t ch = 0; ch < 16; ++ch) EXPECT_EQ(s.synth.part(ch).parameterIndex, 256);
}

TEST(Controllers, ResetAllControllersPitchBendAndStoredValues) {
    Playable s;
    s.synth.tonePreset(0).lms = 4;
    s.cc(5, 7, 90);
    s.cc(5, 10, 20);
    s.cc(5, 1, 50);
    s.cc(5, 11, 30);
    s.cc(5, 64, 127);
    s.cc(5, 101, 0);
    s.cc(5, 100, 0);
    s.synth.sendPitchBend(5, 0, 64);
    EXPECT_EQ(s.synth.part(5).pitchBend, 8192);
    s.synth.sendPitchBend14(5, 1000);
    EXPECT_EQ(s.synth.part(5).pitchBend, 1000);
    s.synth.sendChannelPressure(5, 40);
    EXPECT_EQ(s.synth.part(5).channelPressure, 40);
    s.synth.sendNoteOn(5, 60, 100);
    Voice& v = s.lastVoice();
    EXPECT_EQ(v.bendValue, 1000 - 8192);
    EXPECT_EQ(v.lfoDepth, 4 * 50);
    EXPECT_EQ(v.expressionGain, level(30));
    EXPECT_EQ(v.volumeGain, level(90));

    s.cc(5, 121, 0);
    const PartState& p = s.synth.part(5);
    EXPECT_EQ(p.controllers[7], 90);
    EXPECT_EQ(p.controllers[10], 20);
    EXPECT_EQ(p.controllers[64], 127);
    EXPECT_EQ(p.controllers[1], 0);
    EXPECT_EQ(p.controllers[11], 127);
    EXPECT_EQ(p.pitchBend, 8192);
    EXPECT_EQ(p.channelPressure, 0);
    EXPECT_EQ(p.rpnSelect, 0);
    EXPECT_EQ(p.parameterIndex, 256);
    EXPECT_EQ(p.pitchBendRange, 2);
    EXPECT_EQ(v.bendValue, 0);
    EXPECT_EQ(v.bendPitch, 0);
    EXPECT_EQ(v.lfoDepth, 0);
    EXPECT_EQ(v.expressionGain, 1.0f);
    EXPECT_EQ(v.pitchStep, stepOf(noteLog(60) + 45899 + 54453));  // key 60 unbent

    // The sustain pedal is only stored: a note off still releases.
    s.synth.sendNoteOff(5, 60);
    EXPECT_EQ(v.state, 0x21);

    // All notes off releases held voices of that part only; 122 and 124-127 do nothing.
    s.synth.sendNoteOn(6, 61, 100);
    Voice& a = s.lastVoice();
    s.synth.sendNoteOn(7, 61, 100);
    Voice& b = s.lastVoice();
    for (int32_t c : {122, 124, 125, 126, 127}) s.cc(6, c, 0);
    EXPECT_EQ(a.state, 0x11);
    s.cc(6, 123, 0);
    EXPECT_EQ(a.state, 0x21);
    EXPECT_EQ(b.state, 0x11);
    // Controller reset tells no voice of a muted part, but stores the values.
    s.synth.setPartMode(8, 0);
    s.cc(8, 7, 12);
    s.cc(8, 1, 33);
    EXPECT_EQ(s.synth.part(8).controllers[7], 12);
    EXPECT_EQ(s.synth.part(8).controllers[1], 33);
}

TEST(Resets, ModesRestoreOnlyWhereDocumented) {
    Playable s;
    s.synth.setPartDefaultMode(4, 3);
    s.synth.setPartMode(4, 2);
    s.synth.setPartOutput(4, 5);
    s.synth.sendProgramChange(4, 9);
    s.cc(4, 7, 3);
    s.synth.setAcceptSysEx(true);
    s.synth.setNrpnEnabled(true);
    s.synth.reset();  // controllers reset, modes kept
    EXPECT_EQ(s.synth.getPartMode(4), 2);
    EXPECT_EQ(s.synth.part(4).program, 0);
    EXPECT_EQ(s.synth.part(4).controllers[7], 100);
    EXPECT_EQ(s.synth.part(4).outputBus, 5);
    s.synth.resetAllParts(true);
    EXPECT_EQ(s.synth.getPartMode(4), 3);
    EXPECT_TRUE(s.synth.acceptsSysEx());
    s.synth.setPartMode(4, 1);
    s.synth.tonePreset(0).tl = 44;
    s.synth.systemReset();  // also switches and sound data
    EXPECT_EQ(s.synth.getPartMode(4), 3);
    EXPECT_FALSE(s.synth.acceptsSysEx());
    EXPECT_FALSE(s.synth.isNrpnEnabled());
    EXPECT_TRUE(s.synth.isRpnEnabled());
    EXPECT_EQ(s.synth.tonePreset(0).tl, 0);
    EXPECT_FALSE(s.synth.sampleSlot(0).hasData);
    EXPECT_EQ(s.synth.part(4).outputBus, 5);
}

}  // namespace
}  // namespace velt::corvane::enginetest
