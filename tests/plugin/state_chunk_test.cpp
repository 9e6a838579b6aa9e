// The saved chunk byte by byte: a new instance's layout, the older versions, and
// chunks cut short or filled with nonsense.
#include "host/state_chunk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "host/engine_host.h"
#include "tests/plugin/test_files.h"

namespace velt::corvane::host {
namespace {

using Bytes = std::vector<uint8_t>;
using synth::EngineEdit;

Bytes freshChunk() {
    EngineHost host;
    return state::stateChunkBytes(host.captureState());
}

float floatAt(const Bytes& b, size_t at) {
    float f;
    std::memcpy(&f, &b[at], 4);
    return f;
}

bool restore(EngineHost& host, const Bytes& bytes) {
    state::MemorySource source(bytes.data(), bytes.size());
    return host.restoreState(source);
}

/// The version 4 chunk rewritten as version 3 (no output-bus bytes) or 2 (no encoding bytes either).
Bytes asOlderVersion(const Bytes& v4, int32_t version) {
    Bytes out(v4.begin(), v4.begin() + 13);
    out[0] = static_cast<uint8_t>(version);
    for (int32_t p = 0; p < 16; ++p)
        out.insert(out.end(), v4.begin() + 13 + 11 * p + 1, v4.begin() + 13 + 11 * (p + 1));
    size_t at = 13 + 176;
    out.insert(out.end(), v4.begin() + at, v4.begin() + at + 3840 + 3328);
    at += 3840 + 3328;
    for (int32_t s = 0; s < 128; ++s) {
        const uint8_t present = v4[at++];
        out.push_back(present);
        if (!present) continue;
        uint32_t n;
        std::memcpy(&n, &v4[at], 4);
        out.insert(out.end(), v4.begin() + at, v4.begin() + at + 4 + n);
        at += 4 + n;
        if (version >= 3) out.push_back(v4[at]);
        ++at;
        out.insert(out.end(), v4.begin() + at, v4.begin() + at + 24);
        at += 24;
    }
    return out;
}

TEST(StateChunk, ANewInstanceWritesTheDocumentedLayout) {
    const Bytes b = freshChunk();
    ASSERT_EQ(b.size(), 7485u);  // 13 + 176 + 3840 + 3328 + 128
    EXPECT_EQ(b[0], 4);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 0);
    EXPECT_FLOAT_EQ(floatAt(b, 3), 0.8f);
    EXPECT_FLOAT_EQ(floatAt(b, 7), 440.0f);
    EXPECT_EQ(b[11] | b[12] << 8, 128);
    // Part 0: bus 0, default mode and mode Instrument, program 0, bend range 2, bend 8192,
    // modulation 0, volume 100, pan 64, expression 127.
    const Bytes part0(b.begin() + 13, b.begin() + 24);
    EXPECT_EQ(part0, (Bytes{0, 1, 1, 0, 2, 0x00, 0x20, 0, 100, 64, 127}));
    // Tone 0 after its 16 name bytes: lfoFreq 2048, strc 0, tune 8192, then the nine bytes.
    const size_t tone0 = 13 + 176;
    const Bytes tone(b.begin() + tone0 + 16, b.begin() + tone0 + 30);
    EXPECT_EQ(tone, (Bytes{0x00, 0x08, 0, 0x00, 0x20, 0, 0, 0, 126, 100, 0, 120, 0, 48}));
    const size_t sampler0 = tone0 + 3840;
    const Bytes sampler(b.begin() + sampler0 + 16, b.begin() + sampler0 + 26);
    EXPECT_EQ(sampler, (Bytes{0, 64, 8, 0x00, 0x20, 0, 127, 0, 127, 120}));
    for (size_t i = sampler0 + 3328; i < b.size(); ++i) EXPECT_EQ(b[i], 0) << i;
}

TEST(StateChunk, VersionsTwoAndThreeAreReadAndOlderOnesRefused) {
    test::TempFolder dir;
    const std::string wav = test::writeRampWav(dir.file("v.wav"), 600);
    EngineHost a;
    ASSERT_TRUE(a.importSample(7, wav.c_str(), 2));
    EngineEdit bus{};
    bus.kind = synth::EditKind::PartOutput;
    bus.index = 3;
    bus.a = 9;
    a.submit(bus);
    const Bytes v4 = state::stateChunkBytes(a.captureState());

    EngineHost v3;
    ASSERT_TRUE(restore(v3, asOlderVersion(v4, 3)));
    EXPECT_EQ(v3.view().parts[3].outputBus, 0) << "version 3 has no output bus";
    EXPECT_EQ(v3.sampleEncoding(7), 2);

    EngineHost v2;
    EngineEdit busOfV2 = bus;
    busOfV2.a = 5;
    v2.submit(busOfV2);
    ASSERT_TRUE(restore(v2, asOlderVersion(v4, 2)));
    EXPECT_EQ(v2.view().parts[3].outputBus, 5) << "version 2 leaves the bus alone";
    EXPECT_EQ(v2.sampleEncoding(7), 0) << "version 2 imports as PCM";
    EXPECT_EQ(v2.view().slots[7].frameCount, 600);

    for (uint8_t version : {0, 1}) {
        Bytes refused = v4;
        refused[0] = version;
        EngineHost h;
        EXPECT_FALSE(restore(h, refused));
        EXPECT_EQ(h.view().slots[7].frameCount, 0);
    }
    EngineHost empty;
    EXPECT_FALSE(restore(empty, {}));
}

TEST(StateChunk, ACutChunkKeepsWhatWasReadAndFails) {
    test::TempFolder dir;
    const std::string wav = test::writeRampWav(dir.file("cut.wav"), 400);
    EngineHost a;
    ASSERT_TRUE(a.importSample(0, wav.c_str(), 0));
    state::StateChunk c = a.captureState();
    c.masterVolume = 0.5f;
    c.tones[0].tl = 33;
    c.tones[1].tl = 44;
    c.slots[0].start = 5;
    c.slots[0].end = 300;
    const Bytes full = state::stateChunkBytes(c);

    // Cut inside tone 1: tone 0 and the part of tone 1 before the cut are applied.
    const size_t tone1 = 13 + 176 + 30;
    EngineHost h;
    EXPECT_FALSE(restore(h, Bytes(full.begin(), full.begin() + tone1 + 20)));
    EXPECT_FLOAT_EQ(h.view().masterVolume, 0.5f);
    EXPECT_EQ(h.view().tones[0].tl, 33);
    EXPECT_EQ(h.view().tones[1].tl, 0);

    // Every length from 0 to the whole: never a crash, success only for the whole chunk,
    // and the slot's file imported as soon as its path and encoding are in.
    const size_t entry = 13 + 176 + 3840 + 3328;
    for (size_t n = 0; n <= full.size(); ++n) {
        EngineHost cut;
        const bool ok = restore(cut, Bytes(full.begin(), full.begin() + n));
        ASSERT_EQ(ok, n == full.size()) << n;
        // Whether the slot's entry was reached far enough to import it.
        const size_t pathEnd = entry + 1 + 4 + wav.size() + 1 + 1;
        ASSERT_EQ(cut.view().slots[0].frameCount, n >= pathEnd ? 400 : 0) << n;
        if (n == full.size()) {
            EXPECT_EQ(cut.view().slots[0].PlayBackStartPoint, 5);
        }
    }
}

TEST(StateChunk, AbsurdValuesAreHeldToWhatTheEngineCanUse) {
    Bytes b = freshChunk();
    b[11] = 0xFF;  // 65535 voices
    b[12] = 0xFF;
    b[13] = 200;   // output bus
    b[14] = 9;     // default mode
    b[15] = 250;   // mode
    b[18] = 0xFF;  // bend 65535
    b[19] = 0xFF;
    EngineHost h;
    EXPECT_TRUE(restore(h, b));
    EXPECT_EQ(h.view().voiceCount, 1024);
    EXPECT_EQ(h.view().parts[0].outputBus, 15);
    EXPECT_EQ(h.view().parts[0].mode, 3);
    EXPECT_EQ(h.view().parts[0].defaultMode, 3);
    EXPECT_EQ(h.view().parts[0].pitchBend, 16383);

    b[11] = 0;
    b[12] = 0;
    EngineHost zero;
    EXPECT_TRUE(restore(zero, b));
    EXPECT_EQ(zero.view().voiceCount, 128) << "no voices at all is not a pool";

    // A path length of 4 GB is refused without an attempt to hold it.
    Bytes huge = freshChunk();
    const size_t entry = 13 + 176 + 3840 + 3328;
    huge[entry] = 1;
    huge.insert(huge.begin() + entry + 1, {0xFF, 0xFF, 0xFF, 0xFF});
    EngineHost h2;
    EXPECT_FALSE(restore(h2, huge));

    // Random bytes of random lengths: never a crash.
    std::mt19937 random(7);
    for (int32_t round = 0; round < 300; ++round) {
        Bytes noise(random() % 9000);
        for (uint8_t& x : noise) x = static_cast<uint8_t>(random());
        if (!noise.empty()) noise[0] = static_cast<uint8_t>(2 + random() % 3);
        EngineHost n;
        restore(n, noise);
        EXPECT_LE(n.view().voiceCount, 1024);
    }
}

}  // namespace
}  // namespace velt::corvane::host
