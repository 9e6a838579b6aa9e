// System exclusive reception: the address map, runs, masks and what is ignored.
#include "tests/engine/engine_test_support.h"

namespace velt::corvane::enginetest {
namespace {

/// Sends a whole message (leading F0 included, as written) through the entry point.
void send(SynthesizerPCM& synth, std::vector<uint8_t> message) {
    EXPECT_EQ(message.front(), 0xF0);
    const int32_t n = static_cast<int32_t>(message.size()) - 1;
    synth.sendSysEx(message.data() + 1, n);
}

TEST(SysEx, ToneAndSamplerPresetWrites) {
    SynthesizerPCM synth(440.0f, 0.8f);
    synth.setAcceptSysEx(true);
    synth.tonePreset(5).tl = 50;
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x05, 0x19, 0x00, 0x7F, 0x05, 0xF7});
    EXPECT_EQ(synth.tonePreset(5).tl, 0);
    EXPECT_EQ(synth.tonePreset(5).ar, 127);
    EXPECT_EQ(synth.tonePreset(5).dr, 5);
    EXPECT_EQ(synth.tonePreset(5).sl, 0);  // beyond the data: untouched

    synth.tonePreset(0).lfoFreq = 5;
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x12, 0x00, 0x10, 0xF7});
    EXPECT_EQ(synth.tonePreset(0).lfoFreq, 2048);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x13, 0x20, 0xF7});
    EXPECT_EQ(synth.tonePreset(0).lfoFreq, 4096);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x12, 0x45, 0xF7});
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x13, 0x7F, 0xF7});
    EXPECT_EQ(synth.tonePreset(0).lfoFreq, (0x7F << 7) | 0x45);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x12, 0x00, 0xF7});
    EXPECT_EQ(synth.tonePreset(0).lfoFreq, 0x7F << 7);

    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x01, 0x10, 0x40, 0x40, 0x01, 0xF7});
    EXPECT_EQ(synth.tonePreset(1).lfoFreq, 2049);

    // Every tone field with its mask, from strc to kfStart.
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x07, 0x14, 0x06, 0x01, 0x40, 0x1F,
                 0x09, 0x11, 0x22, 0x33, 0x44, 0x55, 0x07, 0x66, 0x01, 0x02, 0xF7});
    const TonePreset& t = synth.tonePreset(7);
    EXPECT_EQ(t.strc, 2);
    EXPECT_EQ(t.tune, 8193);
    EXPECT_EQ(t.lms, 15);
    EXPECT_EQ(t.wave, 9);
    EXPECT_EQ(t.tl, 0x11);
    EXPECT_EQ(t.ar, 0x22);
    EXPECT_EQ(t.dr, 0x33);
    EXPECT_EQ(t.sl, 0x44);
    EXPECT_EQ(t.rr, 0x55);
    EXPECT_EQ(t.kf, 3);
    EXPECT_EQ(t.kfStart, 0x66);
    EXPECT_EQ(std::string(synth.tonePreset(8).presetName), std::string(16, ' '));  // the run stops at 1F

    // Name bytes are stored as they come.
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x09, 0x0E, 0x41, 0x7F, 0xF7});
    EXPECT_EQ(synth.tonePreset(9).presetName[14], 'A');
    EXPECT_EQ(synth.tonePreset(9).presetName[15], 0x7F);
    EXPECT_EQ(synth.tonePreset(9).presetName[16], '\0');
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x06, 0x7F, 0x00, 0x41, 0xF7});
    EXPECT_EQ(synth.samplerPreset(127).presetName[0], 'A');
    EXPECT_EQ(synth.samplerPreset(127).presetName[1], ' ');

    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x06, 0x02, 0x10, 0x05, 0x50, 0x1B, 0x01, 0x40, 0x10, 0x20, 0x30,
                 0x40, 0x50, 0x60, 0xF7});
    const SamplerPreset& q = synth.samplerPreset(2);
    EXPECT_EQ(q.smplNum, 5);
    EXPECT_EQ(q.pan, 0x50);
    EXPECT_EQ(q.octv, 11);
    EXPECT_EQ(q.tune, 8193);
    EXPECT_EQ(q.tl, 0x10);
    EXPECT_EQ(q.ar, 0x20);
    EXPECT_EQ(q.dr, 0x30);
    EXPECT_EQ(q.sl, 0x40);
    EXPECT_EQ(q.rr, 0x50);
    EXPECT_EQ(synth.samplerPreset(3).presetName[0], ' ');
}

TEST(SysEx, SystemAndPartBlocks) {
    SynthesizerPCM synth(440.0f, 0.8f);
    fillSlot(synth.sampleSlot(0), rampCodes(1000), 1, 44100.0f, 440.0f);
    flatTone(synth.tonePreset(0));
    synth.setAcceptSysEx(true);
    synth.setMasterTune(450.0f);
    synth.sendNoteOn(0, 60, 100);
    Voice& v = synth.pcmVoice(synth.voiceCursor());
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x00, 0x00, 0x40, 0xF7});  // volume only
    EXPECT_EQ(synth.getMasterVolume(), static_cast<float>(std::pow(2.0, 65.0 / 8.0) / 65536.0));
    EXPECT_EQ(v.masterGain, synth.getMasterVolume());  // reaches the sounding voice at once
    EXPECT_EQ(v.state, 0x11);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x00, 0x00, 0x7F, 0x40, 0xF7});
    EXPECT_EQ(synth.getMasterVolume(), 1.0f);
    EXPECT_EQ(synth.getMasterTune(), 440.0f);
    EXPECT_EQ(synth.countActiveVoices(), 0);  // the tune write stops every voice
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x00, 0x01, 0x00, 0xF7});
    EXPECT_EQ(synth.getMasterTune(), 408.0f);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x00, 0x01, 0x7F, 0x11, 0xF7});  // at most two addresses
    EXPECT_EQ(synth.getMasterTune(), 471.5f);
    EXPECT_EQ(synth.getMasterVolume(), 1.0f);
    EXPECT_EQ(synth.rates().toneRateOffset, 21066 + logOf(471.5 * std::pow(2.0, -5.75)));

    synth.sendNoteOn(3, 60, 100);
    synth.sendNoteOn(4, 60, 100);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x13, 0x01, 0x03, 0xF7});
    EXPECT_EQ(synth.getPartMode(3), 3);
    EXPECT_EQ(synth.countActiveVoices(), 1);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x04, 0x01, 0x01, 0xF7});  // same mode: voices stay
    EXPECT_EQ(synth.countActiveVoices(), 1);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x00, 0x01, 0x09, 0xF7});
    EXPECT_EQ(synth.getPartMode(0), 3);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x05, 0x00, 0x02, 0x00, 0xF7});
    EXPECT_EQ(synth.getPartDefaultMode(5), 2);
    EXPECT_EQ(synth.getPartMode(5), 0);
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x06, 0x00, 0x7F, 0xF7});
    EXPECT_EQ(synth.getPartDefaultMode(6), 3);
}

TEST(SysEx, ForeignShortOrOutOfMapMessagesAreIgnored) {
    SynthesizerPCM synth(440.0f, 0.8f);
    auto untouched = [&](const char* what) {
        EXPECT_EQ(synth.tonePreset(0).tl, 0) << what;
        EXPECT_EQ(synth.tonePreset(0).presetName[0], ' ') << what;
        EXPECT_EQ(synth.samplerPreset(0).presetName[0], ' ') << what;
        EXPECT_EQ(synth.getMasterVolume(), 0.8f) << what;
        EXPECT_EQ(synth.getMasterTune(), 440.0f) << what;
        EXPECT_EQ(synth.getPartMode(0), 1) << what;
    };
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x19, 0x33, 0xF7});
    untouched("reception off");
    synth.setAcceptSysEx(true);
    const std::vector<std::vector<uint8_t>> ignored = {
        {0xF0, 0x7D, 0x10, 0x20, 0x04, 0x00, 0x19, 0x33, 0xF7},  // model
        {0xF0, 0x7E, 0x10, 0x23, 0x04, 0x00, 0x19, 0x33, 0xF7},  // manufacturer
        {0xF0, 0x7D, 0x11, 0x23, 0x04, 0x00, 0x19, 0x33, 0xF7},  // device
        {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x00, 0xF7},        // 7 stored bytes
        {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x20, 0x33, 0xF7},  // beyond the tone map
        {0xF0, 0x7D, 0x10, 0x23, 0x06, 0x00, 0x1A, 0x33, 0xF7},  // beyond the sampler map
        {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x01, 0x00, 0x7F, 0xF7},  // system block, bb not 0
        {0xF0, 0x7D, 0x10, 0x23, 0x00, 0x00, 0x02, 0x7F, 0xF7},  // system block, cc 2
        {0xF0, 0x7D, 0x10, 0x23, 0x02, 0x00, 0x02, 0x00, 0xF7},  // part block, cc 2
        {0xF0, 0x7D, 0x10, 0x23, 0x05, 0x00, 0x00, 0x41, 0xF7},  // unknown block
    };
    for (const auto& m : ignored) send(synth, m);
    untouched("ignored messages");
    // Without a closing F7 the last byte is still not data.
    send(synth, {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x00, 0x18, 0x33, 0x44});
    EXPECT_EQ(synth.tonePreset(0).wave, 0x33);
    untouched("last byte");

    // The identity can change; the comparison follows it.
    synth.setDeviceId(0x11);
    send(synth, {0xF0, 0x7D, 0x11, 0x23, 0x04, 0x00, 0x19, 0x33, 0xF7});
    EXPECT_EQ(synth.tonePreset(0).tl, 0x33);
}

TEST(SysEx, ChainMessagesApplyAtTheirFrameAndSparePresetsOfSoundingVoices) {
    Rig r;
    fillSlot(r.synth.sampleSlot(0), rampCodes(4000), 1, 44100.0f, 440.0f);
    flatTone(r.synth.tonePreset(0));
    r.noteOn(0, 0, 69, 127);
    r.sysex(100, {0x7D, 0x10, 0x23, 0x04, 0x00, 0x19, 0x08, 0xF7});
    r.render(200);
    EXPECT_EQ(r.synth.tonePreset(0).tl, 0);  // reception is off
    r.synth.setAcceptSysEx(true);
    r.sysex(300, {0x7D, 0x10, 0x23, 0x04, 0x00, 0x19, 0x08, 0xF7});
    r.sysex(400, {0x7D, 0x10, 0x23, 0x00, 0x00, 0x00, 0x77, 0xF7});
    r.render(300);
    EXPECT_EQ(r.synth.tonePreset(0).tl, 8);
    Voice& v = r.soleVoice();
    EXPECT_EQ(v.tlCode, 0);  // the sounding note keeps what it read at its start
    const float master = static_cast<float>(std::pow(2.0, 120.0 / 8.0) / 65536.0);
    const float before = toneGain(100, 127, 127, 0.8f, 128), after = toneGain(100, 127, 127, master, 128);
    std::vector<float> expected(500);
    for (int32_t i = 0; i < 500; ++i)
        expected[i] =
            static_cast<float>(decode(static_cast<uint32_t>(2 * i + (i & 1)))) * (i < 400 ? before : after);
    EXPECT_TRUE(samplesMatch(r.out[0], expected));
    EXPECT_TRUE(samplesMatch(r.out[1], expected));
}

}  // namespace
}  // namespace velt::corvane::enginetest
