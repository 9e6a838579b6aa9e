// The processor of the built module, driven as a host drives it: buses, blocks with
// events and parameter changes, bypass, inactive buses, flush calls and saved state.
#include <gtest/gtest.h>

#include "pluginterfaces/base/ustring.h"
#include "tests/plugin/processor_rig.h"

namespace velt::corvane::test {
namespace {

TEST_F(Processor, SixteenStereoOutputsAndOneEventInput) {
    Rig rig(*module_);
    IComponent* c = rig.component();
    ASSERT_EQ(c->getBusCount(kAudio, kOutput), 16);
    EXPECT_EQ(c->getBusCount(kAudio, kInput), 0);
    ASSERT_EQ(c->getBusCount(kEvent, kInput), 1);
    for (int32 i = 0; i < 16; ++i) {
        BusInfo info{};
        ASSERT_EQ(c->getBusInfo(kAudio, kOutput, i, info), kResultOk);
        EXPECT_EQ(info.channelCount, 2);
        EXPECT_EQ(info.busType, kMain);
        EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));
        EXPECT_EQ(String128ToString(info.name), "out " + std::to_string(i + 1));
    }
    BusInfo events{};
    ASSERT_EQ(c->getBusInfo(kEvent, kInput, 0, events), kResultOk);
    EXPECT_EQ(String128ToString(events.name), "EventInput");
    EXPECT_EQ(events.channelCount, 16);

    SpeakerArrangement stereo[16];
    std::fill(std::begin(stereo), std::end(stereo), SpeakerArr::kStereo);
    EXPECT_EQ(rig.processor()->setBusArrangements(nullptr, 0, stereo, 16), kResultOk);
    EXPECT_EQ(rig.processor()->setBusArrangements(nullptr, 0, stereo, 15), kResultFalse);
    stereo[0] = SpeakerArr::kMono;
    EXPECT_EQ(rig.processor()->setBusArrangements(nullptr, 0, stereo, 16), kResultFalse);
    for (int32 i = 0; i < 16; ++i) {
        SpeakerArrangement arr = 0;
        EXPECT_EQ(rig.processor()->getBusArrangement(kOutput, i, arr), kResultOk);
        EXPECT_EQ(arr, SpeakerArr::kStereo);
    }
}

TEST_F(Processor, NotesSoundOnTheirPartsOutputAndParametersBecomeMidi) {
    auto rig = soundingRig();
    // Part 0 to out 4 through the saved state, as a project would have it.
    state::StateChunk c = rig->chunk();
    c.parts[0].outputBus = 3;
    ASSERT_EQ(rig->loadState(state::stateChunkBytes(c)), kResultOk);
    rig->start();
    rig->events.noteOn(10, 0, 69, 100);
    ASSERT_EQ(rig->block(), kResultOk);
    EXPECT_GT(rig->peak(3), 0.0f);
    for (int32_t b = 0; b < 16; ++b) {
        if (b != 3) {
            EXPECT_EQ(rig->peak(b), 0.0f) << b;
        }
    }

    // Controller, pitch bend and program change arrive as mapped parameters; each point is
    // a message, so the last one of a queue stands.
    rig->params.add(midiId(0, 7), 12, 0.2);
    rig->params.add(midiId(0, 7), 30, 1.0);
    rig->params.add(midiId(3, 129), 0, 1.0);
    rig->params.add(midiId(5, 130), 0, 5.0 / 127.0);
    rig->params.add(midiId(5, 128), 0, 1.0);  // aftertouch id: nothing
    ASSERT_EQ(rig->block(), kResultOk);
    rig->stop();
    const state::StateChunk after = rig->chunk();
    EXPECT_EQ(after.parts[0].volume, 127);
    EXPECT_EQ(after.parts[3].pitchBend, 16383);
    EXPECT_EQ(after.parts[5].program, 5);
}

TEST_F(Processor, BypassSilencesAndStopsReadingTheBlocksQueues) {
    auto rig = soundingRig();
    rig->start();
    rig->events.noteOn(0, 0, 69, 127);
    rig->block();
    ASSERT_GT(rig->peak(0), 0.0f);

    rig->params.add(kBypass, 0, 1.0);
    rig->params.add(midiId(0, 7), 0, 0.0);  // after the bypass: not read
    rig->block();
    EXPECT_TRUE(rig->allZero());
    rig->events.noteOn(0, 0, 70, 127);
    rig->block();
    EXPECT_TRUE(rig->allZero());

    // 0.9999 counts as off. Leaving bypass restarts the engine, which drops what waited
    // in the queue; a note of this block sounds.
    rig->params.add(kBypass, 0, 0.9999);
    rig->block();
    EXPECT_TRUE(rig->allZero()) << "the note sent while bypassed must not sound";
    rig->params.add(kBypass, 0, 0.0);
    rig->events.noteOn(0, 0, 71, 127);
    rig->block();
    EXPECT_GT(rig->peak(0), 0.0f);
    rig->stop();
    EXPECT_EQ(rig->chunk().parts[0].volume, 100);
}

TEST_F(Processor, InactiveBusesFlushCallsAndOddBlocksAreSafe) {
    auto rig = soundingRig();
    rig->start();
    // Buses the host leaves without channel pointers: the rest still renders.
    for (int32_t b = 1; b < 16; ++b) rig->dropBus(b);
    rig->events.noteOn(0, 0, 60, 90);
    EXPECT_EQ(rig->block(), kResultOk);
    EXPECT_GT(rig->peak(0), 0.0f);
    rig->dropBus(0);
    EXPECT_EQ(rig->block(), kResultOk);

    // A flush: no outputs, no frames, but a parameter that must not be lost.
    rig->params.add(midiId(2, 10), 0, 0.0);
    EXPECT_EQ(rig->block(0, 0), kResultOk);
    // Fewer than 16 outputs: nothing is written.
    EXPECT_EQ(rig->block(kFrames, 15), kResultOk);
    // The flushed change applies with the next block that renders.
    EXPECT_EQ(rig->block(), kResultOk);
    rig->stop();
    EXPECT_EQ(rig->chunk().parts[2].pan, 0);

    // More frames than announced, before setupProcessing of a new rig, and with 0 frames.
    Rig fresh(*module_);
    EXPECT_EQ(fresh.block(kFrames), kResultOk);
    fresh.start();
    EXPECT_EQ(fresh.block(0), kResultOk);
    EXPECT_EQ(fresh.block(kFrames), kResultOk);
    EXPECT_TRUE(fresh.allZero());
}

TEST_F(Processor, StateOfANewInstanceVersionsAndFailedReads) {
    Rig rig(*module_);
    const Bytes fresh = rig.saveState();
    EXPECT_EQ(fresh.size(), 7485u);
    EXPECT_EQ(fresh[0], 4);
    EXPECT_EQ(rig.loadState(fresh), kResultOk);
    EXPECT_EQ(rig.saveState(), fresh);

    Bytes old = fresh;
    old[0] = 1;
    EXPECT_EQ(rig.loadState(old), kResultFalse);
    EXPECT_EQ(rig.loadState({}), kResultFalse);

    // Cut in the tone table: the globals and parts before it are applied.
    state::StateChunk c = rig.chunk();
    c.masterTune = 452.0f;
    c.parts[15].program = 77;
    const Bytes full = state::stateChunkBytes(c);
    EXPECT_EQ(rig.loadState(Bytes(full.begin(), full.begin() + 13 + 176 + 100)), kResultFalse);
    const state::StateChunk after = rig.chunk();
    EXPECT_FLOAT_EQ(after.masterTune, 452.0f);
    EXPECT_EQ(after.parts[15].program, 77);

    // Instances share nothing.
    Rig other(*module_);
    EXPECT_EQ(other.saveState(), fresh);
}

}  // namespace
}  // namespace velt::corvane::test
