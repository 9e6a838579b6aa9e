// The controller of the built module as a processing host uses it: the program selector of a
// channel drives its part, and a restore while audio runs reaches the host's program lists.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/common/memorystream.h"
#include "tests/plugin/plugin_test_support.h"
#include "tests/plugin/unit_handler_probe.h"
#include "tools/vst3host/host_parameter_changes.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

class ControllerInHost : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = tools::Vst3Module::load(bundlePath(), &error);
        ASSERT_NE(module, nullptr) << error;
        instance = tools::Vst3Instance::create(*module, &error);
        ASSERT_NE(instance, nullptr) << error;
        ASSERT_TRUE(instance->connected());
        units = FUnknownPtr<IUnitInfo>(instance->controller());
        ASSERT_TRUE(units);
        processing.reset(new tools::Vst3Processing(*instance));
    }
    void TearDown() override {
        processing.reset();
        if (instance) instance->controller()->setComponentHandler(nullptr);
        instance.reset();
    }

    // Outlives TearDown: the controller releases the handler it holds when it is replaced.
    UnitHandlerProbe host;

    std::vector<uint8_t> saved() { return saveState(instance->component()); }
    state::StateChunk chunk() { return parseState(saved()); }
    std::string programName(ProgramListID list, int32 program) {
        String128 name{};
        EXPECT_EQ(units->getProgramName(list, program, name), kResultTrue);
        char text[128] = {};
        UString(name, 128).toAscii(text, sizeof text);
        return text;
    }

    std::unique_ptr<tools::Vst3Module> module;
    std::unique_ptr<tools::Vst3Instance> instance;
    FUnknownPtr<IUnitInfo> units;
    std::unique_ptr<tools::Vst3Processing> processing;
};

TEST_F(ControllerInHost, ProgramSelectorOfAChannelSetsItsPartsProgram) {
    IEditController* controller = instance->controller();
    // A host finds the selector as it is meant to: channel 4 of the event input, its unit,
    // the unit's program list, and the unit's program-change parameter.
    UnitID unitId = -1;
    ASSERT_EQ(units->getUnitByBus(kEvent, kInput, 0, 4, unitId), kResultOk);
    UnitInfo unit{};
    bool unitFound = false;
    for (int32 i = 0; i < units->getUnitCount() && !unitFound; ++i)
        unitFound = units->getUnitInfo(i, unit) == kResultOk && unit.id == unitId;
    ASSERT_TRUE(unitFound);
    ProgramListInfo list{};
    bool listFound = false;
    for (int32 i = 0; i < units->getProgramListCount() && !listFound; ++i)
        listFound = units->getProgramListInfo(i, list) == kResultOk && list.id == unit.programListId;
    ASSERT_TRUE(listFound);
    EXPECT_EQ(list.programCount, 128);

    ParameterInfo selector{};
    bool selectorFound = false;
    for (int32 i = 0; i < controller->getParameterCount() && !selectorFound; ++i) {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        if (info.unitId == unitId && (info.flags & ParameterInfo::kIsProgramChange)) {
            selector = info;
            selectorFound = true;
        }
    }
    ASSERT_TRUE(selectorFound);
    EXPECT_EQ(selector.id, 0x10482u);
    EXPECT_EQ(selector.flags & ParameterInfo::kIsReadOnly, 0);
    ASSERT_EQ(selector.stepCount, 127);

    // The host picks program 9: its own copy follows, and the value reaches the processor.
    const ParamValue value = 9.0 / selector.stepCount;
    EXPECT_EQ(controller->setParamNormalized(selector.id, value), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(selector.id), value);
    ASSERT_EQ(processing->prepare(44100.0, 64), kResultOk);
    tools::HostParameterChanges changes(4);
    ASSERT_TRUE(changes.add(selector.id, 0, value));
    ASSERT_EQ(processing->processBlock(64, nullptr, &changes), kResultOk);
    const state::StateChunk after = chunk();
    processing->stop();
    EXPECT_EQ(after.parts[4].program, 9);
    EXPECT_EQ(after.parts[3].program, 0);
}

TEST_F(ControllerInHost, RestoreWhileProcessingReannouncesTheProgramListsOnce) {
    IEditController* controller = instance->controller();
    ASSERT_EQ(controller->setComponentHandler(&host), kResultOk);
    ASSERT_EQ(processing->prepare(44100.0, 64), kResultOk);
    ASSERT_EQ(processing->processBlock(64, nullptr, nullptr), kResultOk);
    EXPECT_EQ(programName(0x100000, 12), "012");

    // A project with other tone names, restored while the host keeps the audio running.
    state::StateChunk c = chunk();
    std::memcpy(c.tones[12].presetName, "Restored Tone   ", 16);
    std::memcpy(c.tones[127].presetName, "Last One        ", 16);
    const std::vector<uint8_t> bytes = state::stateChunkBytes(c);
    IPtr<MemoryStream> stream = owned(new MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    host.changed.clear();

    // As hosts restore: the component first, then the controller with the same bytes; no
    // block runs in between.
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(instance->component()->setState(stream), kResultOk);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    controller->setComponentState(stream);
    ASSERT_EQ(host.changed.size(), 16u);
    for (int32 channel = 0; channel < 16; ++channel) EXPECT_EQ(host.changed[channel], 0x100000 + channel);
    EXPECT_EQ(programName(0x100007, 12), "012 Restored Tone");
    EXPECT_EQ(programName(0x10000F, 127), "127 Last One");
    EXPECT_EQ(programName(0x100000, 11), "011");

    // The audio thread applies the restore: the names stay, and nothing is announced again,
    // neither then nor when the host saves.
    ASSERT_EQ(processing->processBlock(64, nullptr, nullptr), kResultOk);
    EXPECT_EQ(programName(0x100003, 12), "012 Restored Tone");
    const state::StateChunk back = chunk();
    EXPECT_EQ(std::string(back.tones[12].presetName, 16), "Restored Tone   ");
    EXPECT_EQ(host.changed.size(), 16u);
    processing->stop();
    EXPECT_EQ(programName(0x100003, 12), "012 Restored Tone");
    EXPECT_EQ(host.changed.size(), 16u);
}

}  // namespace
}  // namespace velt::corvane::test
