// Saving while a host processes, while it is active and idle, and while it is inactive: the
// state holds every restore and edit made before the call, from any thread, at once.
#include <gtest/gtest.h>

#include <thread>

#include "tests/plugin/processor_rig.h"

namespace velt::corvane::test {
namespace {

enum class HostState { Processing, ActiveIdle, Inactive };

class HostStates : public Processor, public ::testing::WithParamInterface<HostState> {
protected:
    /// A state unlike a new instance's in every section, with one sample file.
    Bytes distinctState(Rig& rig, float tune, int32_t program, const char* wavName) {
        state::StateChunk c = rig.chunk();
        c.acceptSysEx = true;
        c.masterTune = tune;
        c.voiceCount = 256;
        c.parts[3].program = program;
        c.parts[5].outputBus = 9;
        c.tones[4].tl = program;
        c.samplers[7].smplNum = 12;
        c.slots[2].present = true;
        c.slots[2].path = writeRampWav(folder_.file(wavName), 3000);
        c.slots[2].sampleRate = 22050.0f;
        c.slots[2].Pitch = 261.5f;
        c.slots[2].start = 10;
        c.slots[2].end = 3000;
        c.slots[2].loopStart = 1000;
        c.slots[2].loopEnd = 3000;
        return state::stateChunkBytes(c);
    }
};

TEST_P(HostStates, ASaveRightAfterARestoreHoldsIt) {
    Rig rig(*module_);
    if (GetParam() != HostState::Inactive) rig.start();
    if (GetParam() == HostState::Processing) rig.block();

    const Bytes first = distinctState(rig, 452.0f, 9, "first.wav");
    const Bytes second = distinctState(rig, 431.0f, 21, "second.wav");
    ASSERT_NE(first, second);
    ASSERT_EQ(rig.loadState(first), kResultOk);
    EXPECT_EQ(rig.saveState(), first);
    ASSERT_EQ(rig.loadState(second), kResultOk);
    EXPECT_EQ(rig.saveState(), second);

    // A host thread of its own may save too, and gets the same.
    Bytes fromThread;
    std::thread saver([&] { fromThread = rig.saveState(); });
    saver.join();
    EXPECT_EQ(fromThread, second);

    // Once the audio thread has caught up (or audio stops), nothing changes.
    if (GetParam() == HostState::Processing) {
        rig.block();
        EXPECT_EQ(rig.saveState(), second);
    }
    if (GetParam() != HostState::Inactive) rig.stop();
    EXPECT_EQ(rig.saveState(), second);
}

INSTANTIATE_TEST_SUITE_P(EveryHostState, HostStates,
                         ::testing::Values(HostState::Processing, HostState::ActiveIdle, HostState::Inactive),
                         [](const ::testing::TestParamInfo<HostState>& info) {
                             switch (info.param) {
                                 case HostState::Processing: return "Processing";
                                 case HostState::ActiveIdle: return "ActiveNotProcessing";
                                 case HostState::Inactive: return "Inactive";
                             }
                             return "";
                         });

}  // namespace
}  // namespace velt::corvane::test
