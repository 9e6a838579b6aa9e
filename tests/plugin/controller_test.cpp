// The edit controller as a host sees it through the loaded module: its parameters, units,
// MIDI mapping, views and a second initialisation.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/plugin/plugin_test_support.h"
#include "tools/vst3host/vst3_module.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using tools::Vst3Module;

std::string ascii(const char16* text) {
    char buffer[256] = {};
    UString(const_cast<char16*>(text), 128).toAscii(buffer, sizeof(buffer));
    return buffer;
}

// A loaded module with one controller created through its factory and initialized.
struct ControllerFixture {
    std::unique_ptr<Vst3Module> module;
    IPtr<IEditController> controller;

    bool open() {
        std::string error;
        module = Vst3Module::load(bundlePath(), &error);
        EXPECT_NE(module, nullptr) << error;
        if (!module) return false;
        controller = createAs<IEditController>(module->factory(), kControllerId);
        EXPECT_TRUE(controller);
        return controller && controller->initialize(module->hostContext()) == kResultOk;
    }

    ~ControllerFixture() {
        if (controller) controller->terminate();
        controller = nullptr;
    }
};

constexpr int32 kBypassFlags = ParameterInfo::kIsBypass;
constexpr int32 kMidiFlags = 18;
// Program change + hidden, writable: the host's program selector sets it.
constexpr int32 kProgramFlags = 32784;

TEST(Controller, ParametersInRegistrationOrder) {
    ControllerFixture fixture;
    ASSERT_TRUE(fixture.open());
    IEditController* controller = fixture.controller;
    FUnknownPtr<IUnitInfo> unitInfo(controller);
    ASSERT_TRUE(unitInfo);

    ASSERT_EQ(controller->getParameterCount(), 2081);
    std::set<UnitID> unitIds;
    for (int32 i = 0; i < unitInfo->getUnitCount(); ++i) {
        UnitInfo unit{};
        ASSERT_EQ(unitInfo->getUnitInfo(i, unit), kResultOk);
        unitIds.insert(unit.id);
    }

    std::set<ParamID> ids;
    int32 bypassCount = 0;
    for (int32 index = 0; index < 2081; ++index) {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(index, info), kResultOk) << index;
        SCOPED_TRACE(index);
        EXPECT_TRUE(ids.insert(info.id).second);
        EXPECT_EQ(ascii(info.units), "...");
        EXPECT_EQ(ascii(info.shortTitle), "");
        EXPECT_EQ(unitIds.count(info.unitId), 1u);
        EXPECT_GE(info.defaultNormalizedValue, 0.0);
        EXPECT_LE(info.defaultNormalizedValue, 1.0);
        if (info.flags & ParameterInfo::kIsBypass) ++bypassCount;
        // Read-only never together with automatable or program change.
        EXPECT_FALSE((info.flags & ParameterInfo::kIsReadOnly) && (info.flags & ParameterInfo::kCanAutomate));
        EXPECT_FALSE((info.flags & ParameterInfo::kIsReadOnly) &&
                     (info.flags & ParameterInfo::kIsProgramChange));
        // The host's parameter value starts at the default.
        EXPECT_EQ(controller->getParamNormalized(info.id), info.defaultNormalizedValue);

        if (index == 0) {
            EXPECT_EQ(info.id, 0x1000001u);
            EXPECT_EQ(ascii(info.title), "bypass");
            EXPECT_EQ(info.stepCount, 1);
            EXPECT_EQ(info.defaultNormalizedValue, 0.0);
            EXPECT_EQ(info.flags, kBypassFlags);
            EXPECT_EQ(info.unitId, kRootUnitId);
        } else if (index <= 2048) {
            const int32 channel = (index - 1) / 128;
            const int32 n = (index - 1) % 128;
            EXPECT_EQ(info.id, static_cast<ParamID>(0x10000 + channel * 256 + n));
            EXPECT_EQ(ascii(info.title), "CC : " + std::to_string(n));
            EXPECT_EQ(info.stepCount, 128);
            EXPECT_EQ(info.defaultNormalizedValue, n == 10 ? 0.5 : 0.0);
            EXPECT_EQ(info.flags, kMidiFlags);
            EXPECT_EQ(info.unitId, 0x10000);
        } else if (index <= 2064) {
            const int32 channel = index - 2049;
            EXPECT_EQ(info.id, static_cast<ParamID>(0x10000 + channel * 256 + 129));
            EXPECT_EQ(ascii(info.title), "Pitchbend");
            EXPECT_EQ(info.stepCount, 16384);
            EXPECT_EQ(info.defaultNormalizedValue, 0.5);
            EXPECT_EQ(info.flags, kMidiFlags);
            EXPECT_EQ(info.unitId, 0x10000);
        } else {
            const int32 channel = index - 2065;
            EXPECT_EQ(info.id, static_cast<ParamID>(0x10000 + channel * 256 + 130));
            EXPECT_EQ(ascii(info.title), std::to_string(info.id));
            EXPECT_EQ(info.stepCount, 127);
            EXPECT_EQ(info.defaultNormalizedValue, 0.0);
            EXPECT_EQ(info.flags, kProgramFlags);
            EXPECT_EQ(info.unitId, 0x100000 + channel);
        }
    }
    EXPECT_EQ(bypassCount, 1);

    // The first and last program titles, written out.
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(2065, info), kResultOk);
    EXPECT_EQ(ascii(info.title), "65666");
    ASSERT_EQ(controller->getParameterInfo(2080, info), kResultOk);
    EXPECT_EQ(ascii(info.title), "69506");
    // Pan on channel 15 by id.
    EXPECT_EQ(controller->getParamNormalized(0x10F0A), 0.5);

    // Indexes outside the list are refused, not read.
    EXPECT_EQ(controller->getParameterInfo(-1, info), kResultFalse);
    EXPECT_EQ(controller->getParameterInfo(2081, info), kResultFalse);
}

TEST(Controller, UnitsUnderTheRoot) {
    ControllerFixture fixture;
    ASSERT_TRUE(fixture.open());
    FUnknownPtr<IUnitInfo> unitInfo(fixture.controller);
    ASSERT_TRUE(unitInfo);

    ASSERT_EQ(unitInfo->getUnitCount(), 18);
    UnitInfo unit{};
    ASSERT_EQ(unitInfo->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
    EXPECT_EQ(unit.programListId, kNoProgramListId);
    EXPECT_NE(ascii(unit.name), "");

    ASSERT_EQ(unitInfo->getUnitInfo(1, unit), kResultOk);
    EXPECT_EQ(unit.id, 0x10000);
    EXPECT_EQ(ascii(unit.name), "MIDI Contloller");
    EXPECT_EQ(unit.parentUnitId, kRootUnitId);
    EXPECT_EQ(unit.programListId, kNoProgramListId);

    for (int32 channel = 0; channel < 16; ++channel) {
        SCOPED_TRACE(channel);
        ASSERT_EQ(unitInfo->getUnitInfo(2 + channel, unit), kResultOk);
        EXPECT_EQ(unit.id, 0x100000 + channel);
        EXPECT_EQ(ascii(unit.name), "program");
        EXPECT_EQ(unit.parentUnitId, kRootUnitId);
        EXPECT_EQ(unit.programListId, 0x100000 + channel);
    }
    // Each channel's unit names its program list: the 128 tone presets, by number (and
    // name: a new instance's are blank).
    EXPECT_EQ(unitInfo->getProgramListCount(), 16);
    ProgramListInfo list{};
    for (int32 i = 0; i < 16; ++i) {
        ASSERT_EQ(unitInfo->getProgramListInfo(i, list), kResultOk);
        EXPECT_EQ(list.id, 0x100000 + i);
        EXPECT_EQ(list.programCount, 128);
        EXPECT_EQ(ascii(list.name), "Tone Presets");
    }
    EXPECT_EQ(unitInfo->getProgramListInfo(16, list), kResultFalse);
    EXPECT_EQ(unitInfo->getProgramListInfo(-1, list), kResultFalse);
    String128 name{};
    EXPECT_EQ(unitInfo->getProgramName(0x100003, 7, name), kResultTrue);
    EXPECT_EQ(ascii(name), "007");
    EXPECT_EQ(unitInfo->getProgramName(0x100003, 128, name), kResultFalse);
    EXPECT_EQ(unitInfo->getProgramName(0x100010, 0, name), kResultFalse);

    EXPECT_EQ(unitInfo->getUnitInfo(-1, unit), kResultFalse);
    EXPECT_EQ(unitInfo->getUnitInfo(18, unit), kResultFalse);
}

TEST(Controller, MidiMappingAndEventBusUnits) {
    ControllerFixture fixture;
    ASSERT_TRUE(fixture.open());
    IEditController* controller = fixture.controller;
    FUnknownPtr<IMidiMapping> mapping(controller);
    ASSERT_TRUE(mapping);

    ParamID id = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 2, 7, id), kResultOk);
    EXPECT_EQ(id, 0x10207u);
    // The bus index is not looked at.
    id = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(3, 2, 7, id), kResultOk);
    EXPECT_EQ(id, 0x10207u);
    // Channel 17 is channel 1.
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 17, 7, id), kResultOk);
    EXPECT_EQ(id, 0x10107u);
    id = 12345;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 131, id), kResultFalse);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, -1, id), kResultFalse);
    EXPECT_EQ(id, 12345u);

    // Pitch bend and program change land on registered parameters; aftertouch has none and
    // is refused.
    ParameterInfo info{};
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 15, kPitchBend, id), kResultOk);
    EXPECT_EQ(id, 0x10F81u);
    EXPECT_NE(controller->getParamNormalized(id), 0.0);  // registered, default 0.5
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 4, kCtrlProgramChange, id), kResultOk);
    EXPECT_EQ(id, 0x10482u);
    bool programFound = false;
    for (int32 i = 0; i < controller->getParameterCount(); ++i) {
        if (controller->getParameterInfo(i, info) == kResultOk && info.id == id)
            programFound = (info.flags & ParameterInfo::kIsProgramChange) != 0;
    }
    EXPECT_TRUE(programFound);
    id = 12345;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, kAfterTouch, id), kResultFalse);
    EXPECT_EQ(id, 12345u);

    // As a host scans it: every number that maps, on every channel, names a registered
    // parameter, and only 128 of 0..130 is refused.
    std::set<ParamID> registered;
    for (int32 i = 0; i < controller->getParameterCount(); ++i) {
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        registered.insert(info.id);
    }
    for (int16 channel = 0; channel < 16; ++channel) {
        for (CtrlNumber n = 0; n <= kCtrlProgramChange; ++n) {
            const tresult r = mapping->getMidiControllerAssignment(0, channel, n, id);
            if (n == kAfterTouch) {
                EXPECT_EQ(r, kResultFalse) << channel;
                continue;
            }
            ASSERT_EQ(r, kResultOk) << channel << " " << n;
            EXPECT_EQ(registered.count(id), 1u) << channel << " " << n;
        }
    }
    // Without parameters (after terminate) nothing maps.
    ASSERT_EQ(controller->terminate(), kResultOk);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 7, id), kResultFalse);
    ASSERT_EQ(controller->initialize(fixture.module->hostContext()), kResultOk);

    FUnknownPtr<IUnitInfo> unitInfo(controller);
    ASSERT_TRUE(unitInfo);
    UnitID unitId = -7;
    EXPECT_EQ(unitInfo->getUnitByBus(kEvent, kInput, 0, 5, unitId), kResultOk);
    EXPECT_EQ(unitId, 0x100005);
    unitId = -7;
    EXPECT_EQ(unitInfo->getUnitByBus(kAudio, kInput, 0, 5, unitId), kResultFalse);
    EXPECT_EQ(unitInfo->getUnitByBus(kAudio, kOutput, 0, 5, unitId), kResultFalse);
    EXPECT_EQ(unitInfo->getUnitByBus(kEvent, kOutput, 0, 5, unitId), kResultFalse);
    EXPECT_EQ(unitInfo->getUnitByBus(kEvent, kInput, 1, 5, unitId), kResultFalse);
    EXPECT_EQ(unitId, -7);
}

TEST(Controller, ViewsAndSecondInitialisation) {
    ControllerFixture fixture;
    ASSERT_TRUE(fixture.open());
    IEditController* controller = fixture.controller;
    FUnknownPtr<IUnitInfo> unitInfo(controller);
    ASSERT_TRUE(unitInfo);

    // "editor" gives the window: X11 embedding only, at its one size.
    IPlugView* view = controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_NE(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 528);
    EXPECT_EQ(size.getHeight(), 608);
    EXPECT_EQ(view->canResize(), kResultFalse);
    // On a high-resolution screen the host asks for scale 2: twice the pixels, same layout.
    FUnknownPtr<IPlugViewContentScaleSupport> scale(view);
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultOk);
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 1056);
    EXPECT_EQ(size.getHeight(), 1216);
    // Without a frame that offers the host's run loop the view cannot attach.
    EXPECT_EQ(view->attached(reinterpret_cast<void*>(1), kPlatformTypeX11EmbedWindowID), kResultFalse);
    view->release();
    EXPECT_EQ(controller->createView("Editor"), nullptr);
    EXPECT_EQ(controller->createView(""), nullptr);
    EXPECT_EQ(controller->createView(nullptr), nullptr);

    // A second initialize without terminate is refused by the base and registers nothing more.
    EXPECT_EQ(controller->initialize(fixture.module->hostContext()), kResultOk);
    EXPECT_EQ(controller->getParameterCount(), 2081);
    EXPECT_EQ(unitInfo->getUnitCount(), 18);

    // terminate empties both lists; a re-initialize rebuilds them completely.
    EXPECT_EQ(controller->terminate(), kResultOk);
    EXPECT_EQ(controller->getParameterCount(), 0);
    EXPECT_EQ(unitInfo->getUnitCount(), 0);
    ASSERT_EQ(controller->initialize(fixture.module->hostContext()), kResultOk);
    EXPECT_EQ(controller->getParameterCount(), 2081);
    EXPECT_EQ(unitInfo->getUnitCount(), 18);
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(0, info), kResultOk);
    EXPECT_EQ(ascii(info.title), "bypass");
    ASSERT_EQ(controller->getParameterInfo(2080, info), kResultOk);
    EXPECT_EQ(info.id, 0x10F82u);
    UnitInfo unit{};
    ASSERT_EQ(unitInfo->getUnitInfo(17, unit), kResultOk);
    EXPECT_EQ(unit.id, 0x10000F);
}

}  // namespace
}  // namespace velt::corvane::test
