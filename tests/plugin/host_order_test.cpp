// What shares a sample offset reaches the engine in the order the host sent it, one process
// call per block, and controllers arrive by every route hosts use: mapped parameters (each
// point a message) and legacy MIDI controller events.
#include <gtest/gtest.h>

#include "tests/plugin/processor_rig.h"

namespace velt::corvane::test {
namespace {

/// Blocks of 256 frames at 44.1 kHz for about two seconds: far past any release.
constexpr int32_t kTwoSeconds = 345;

class HostOrder : public Processor {
protected:
    /// Tone 0 reads the empty slot 7, tone 5 the ramp of slot 0: only program 5 sounds.
    std::unique_ptr<Rig> programRig() {
        auto rig = soundingRig();
        state::StateChunk c = rig->chunk();
        c.tones[0].wave = 7;
        c.tones[5].wave = 0;
        EXPECT_EQ(rig->loadState(state::stateChunkBytes(c)), kResultOk);
        return rig;
    }

    /// Slot 0 loops its second half, so that a held note sounds for as long as it is held.
    std::unique_ptr<Rig> loopingRig() {
        auto rig = soundingRig();
        state::StateChunk c = rig->chunk();
        c.slots[0].start = 0;
        c.slots[0].end = 20000;
        c.slots[0].loopStart = 10000;
        c.slots[0].loopEnd = 20000;
        EXPECT_EQ(rig->loadState(state::stateChunkBytes(c)), kResultOk);
        return rig;
    }

    static float peakOfBlocks(Rig& rig, int32_t blocks) {
        float p = 0.0f;
        for (int32_t i = 0; i < blocks; ++i) {
            rig.block();
            p = std::max(p, rig.peak(0));
        }
        return p;
    }
};

TEST_F(HostOrder, AReStruckNoteSoundsOn) {
    auto rig = loopingRig();
    rig->start();
    rig->events.noteOn(0, 0, 69, 100);
    rig->block();
    ASSERT_GT(rig->peak(0), 0.0f);
    // Note off, then note on of the same key at one offset: a sequencer's repeated note.
    rig->events.noteOff(100, 0, 69);
    rig->events.noteOn(100, 0, 69, 100);
    rig->block();
    for (int32_t i = 0; i < kTwoSeconds; ++i) rig->block();
    EXPECT_GT(rig->peak(0), 0.0f) << "the note off must not release the note struck after it";

    // The same note off alone releases the note for good.
    rig->events.noteOff(0, 0, 69);
    rig->block();
    for (int32_t i = 0; i < kTwoSeconds; ++i) rig->block();
    EXPECT_EQ(rig->peak(0), 0.0f);
    rig->stop();
}

TEST_F(HostOrder, AProgramChangeAtANotesOffsetPlaysTheNewProgramByEveryRoute) {
    {
        auto rig = programRig();
        rig->start();
        rig->events.noteOn(10, 0, 69, 100);
        EXPECT_EQ(peakOfBlocks(*rig, 4), 0.0f) << "program 0 reads an empty slot";
        rig->events.noteOff(0, 0, 69);
        rig->block();
        // The mapped program-change parameter (as hosts that map it, or Ardour, send it).
        rig->params.add(midiId(0, 130), 10, 5.0 / 127.0);
        rig->events.noteOn(10, 0, 69, 100);
        EXPECT_GT(peakOfBlocks(*rig, 4), 0.0f);
        rig->stop();
        EXPECT_EQ(rig->chunk().parts[0].program, 5);
    }
    {
        // A legacy MIDI controller event 130 before the note, as JUCE-based hosts send it.
        auto rig = programRig();
        rig->start();
        rig->events.legacyController(10, 0, 130, 5);
        rig->events.noteOn(10, 0, 69, 100);
        EXPECT_GT(peakOfBlocks(*rig, 4), 0.0f);
        rig->stop();
        EXPECT_EQ(rig->chunk().parts[0].program, 5);
    }
}

TEST_F(HostOrder, RpnSelectionAndDataEntryAtOneOffsetSetTheBendRange) {
    auto rig = soundingRig();
    rig->start();
    // As parameters, in the order the song has them: RPN 0 on part 1, then data entry 12.
    rig->params.add(midiId(1, 101), 0, 0.0);
    rig->params.add(midiId(1, 100), 0, 0.0);
    rig->params.add(midiId(1, 6), 0, 12.0 / 127.0);
    // Two selections and data entries in one block on part 2: every point counts, in
    // offset order; the second entry goes to the null RPN and changes nothing.
    rig->params.add(midiId(2, 101), 0, 0.0);
    rig->params.add(midiId(2, 101), 50, 1.0);
    rig->params.add(midiId(2, 100), 0, 0.0);
    rig->params.add(midiId(2, 100), 50, 1.0);
    rig->params.add(midiId(2, 6), 0, 5.0 / 127.0);
    rig->params.add(midiId(2, 6), 60, 9.0 / 127.0);
    rig->block();
    // As legacy events on part 3.
    rig->events.legacyController(7, 3, 101, 0);
    rig->events.legacyController(7, 3, 100, 0);
    rig->events.legacyController(7, 3, 6, 24);
    rig->block();
    rig->stop();
    const state::StateChunk c = rig->chunk();
    EXPECT_EQ(c.parts[1].pitchBendRange, 12);
    EXPECT_EQ(c.parts[2].pitchBendRange, 5);
    EXPECT_EQ(c.parts[3].pitchBendRange, 24);
}

TEST_F(HostOrder, ControllersAndBendAsLegacyEventsInOrderWithTheNotes) {
    auto rig = soundingRig();
    rig->start();
    // Volume 0 before a note at its offset: near silence from the first frame.
    rig->events.legacyController(0, 0, 7, 0);
    rig->events.noteOn(0, 0, 69, 127);
    rig->block();
    const float quiet = rig->peak(0);
    rig->events.legacyController(0, 0, 7, 100);
    rig->block();
    EXPECT_LT(quiet, rig->peak(0) / 1000.0f);

    // Pitch bend: value the low bits, value2 the high; 128 (pressure) and numbers above
    // 130 are ignored, as are channels and values outside MIDI's.
    rig->events.legacyController(0, 4, 129, 0x15, 0x51);
    rig->events.legacyController(0, 5, 128, 90);
    rig->events.legacyController(0, 5, 131, 90);
    rig->events.legacyController(0, 5, 200, 90);
    rig->events.legacyController(0, 16, 7, 9);
    rig->events.legacyController(0, -1, 7, 9);
    rig->events.legacyController(0, 6, 11, -5);
    rig->events.legacyController(0, 6, 10, 127);
    rig->block();
    rig->stop();
    const state::StateChunk c = rig->chunk();
    EXPECT_EQ(c.parts[0].volume, 100);
    EXPECT_EQ(c.parts[4].pitchBend, 0x51 * 128 + 0x15);
    EXPECT_EQ(c.parts[6].expression, 0);
    EXPECT_EQ(c.parts[6].pan, 127);
    const state::StateChunk fresh = Rig(*module_).chunk();
    for (int32_t p = 0; p < 16; ++p) {
        if (p == 0 || p == 4 || p == 6) continue;
        EXPECT_EQ(c.parts[p].volume, fresh.parts[p].volume) << p;
        EXPECT_EQ(c.parts[p].program, fresh.parts[p].program) << p;
    }
}

TEST_F(HostOrder, EventsAtOffsetsOutsideTheBlockAreHeldToIt) {
    auto rig = soundingRig();
    rig->start();
    rig->events.noteOn(-40, 0, 69, 100);
    rig->events.noteOn(100000, 0, 72, 100);
    rig->params.add(midiId(0, 10), -3, 0.0);
    rig->params.add(midiId(0, 11), 1 << 30, 0.5);
    EXPECT_EQ(rig->block(), kResultOk);
    EXPECT_GT(rig->peak(0), 0.0f);
    rig->stop();
    const state::StateChunk c = rig->chunk();
    EXPECT_EQ(c.parts[0].pan, 0);
    EXPECT_EQ(c.parts[0].expression, 64);
}

}  // namespace
}  // namespace velt::corvane::test
