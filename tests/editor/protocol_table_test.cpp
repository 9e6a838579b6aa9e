// The protocol table against the running editor and processor: where a wrong row would still
// compile, these show it.
#include <gtest/gtest.h>

#include <string>

#include "host/editor_protocol.h"
#include "tests/editor/editor_rig.h"

namespace velt::corvane::editortest {
namespace {

namespace protocol = host::protocol;
using protocol::Control;
using protocol::Field;

TEST(ProtocolTable, CodesAreUniqueInTheirGroupAndApartFromTheMenus) {
    for (const Field& a : protocol::kFields) {
        EXPECT_EQ(protocol::fieldOf(a.group, a.code), &a) << std::hex << a.group << " " << a.code;
        EXPECT_NE(a.code, protocol::kMenuButton);
        EXPECT_LT(a.code, protocol::kMenu) << "commands and menus sit above the fields";
        // The master volume and tune are continuous; every other slider or choice counts steps.
        const bool steps = (a.control == Control::kSlider || a.control == Control::kChoice) &&
                           a.group != protocol::kGroupSystem;
        EXPECT_EQ(a.range > 0, steps) << std::hex << a.group << " " << a.code;
        EXPECT_LE(a.shownOffset, a.range);
        EXPECT_LE(a.midi, protocol::kProgramChangeNumber);
    }
}

TEST(ProtocolTable, EveryRowReachesAControlOfTheOpenEditor) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    for (const Field& f : protocol::kFields) {
        EXPECT_NE(rig.editor->control(protocol::tagOf(f.group, f.code)), nullptr) << std::hex << f.code;
        if (f.control == Control::kSlider) {
            EXPECT_NE(rig.editor->control(protocol::mirrorTagOf(f.group, f.code)), nullptr)
                << std::hex << f.code;
        }
    }
}

/// The record a row stores into, read from the processor's view.
int32_t stored(const EditorRig& rig, const Field& f) {
    host::EditorRequests& e = rig.engine();
    const host::EngineView& v = e.view();
    if (f.record == protocol::kRecordSelection) {
        switch (f.group) {
            case protocol::kGroupPart: return e.selectedPart();
            case protocol::kGroupTone: return e.selectedTone();
            case protocol::kGroupSampler: return e.selectedSampler();
            default: return e.selectedSample();
        }
    }
    const PartState& p = v.parts[e.selectedPart()];
    switch (f.record) {
        case protocol::kRecordMode: return p.mode;
        case protocol::kRecordProgram: return p.program;
        case protocol::kRecordBendRange: return p.pitchBendRange;
        case protocol::kRecordPitchBend: return p.pitchBend;
        case protocol::kRecordController: return p.controllers[f.midi];
        default: break;
    }
    return f.group == protocol::kGroupTone ? synth::toneField(v.tones[e.selectedTone()], f.record)
                                           : synth::samplerField(v.samplers[e.selectedSampler()], f.record);
}

TEST(ProtocolTable, FullScaleThroughTheProcessorStoresTheRangeAndEchoesOne) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    const auto send = [&rig](int32_t tag, double val) {
        IPtr<IMessage> change = Steinberg::owned(new HostMessage);
        change->setMessageID(protocol::kValueChange);
        change->getAttributes()->setInt(protocol::kTagKey, tag);
        change->getAttributes()->setFloat(protocol::kValueKey, val);
        rig.toController.log.clear();
        rig.processorPoint->notify(change);
    };
    const Field& mode = protocol::field(protocol::kGroupPart, protocol::part::kMode);
    for (const Field& f : protocol::kFields) {
        if (f.range == 0) continue;
        // The editor shows the page of the part's mode only.
        if (f.group == protocol::kGroupTone || f.group == protocol::kGroupSampler) {
            const int32_t m = f.group == protocol::kGroupTone ? kModeInstrument : kModeSampler;
            send(protocol::messageTag(mode.group, mode.code), static_cast<double>(m) / mode.range);
        }
        const int32_t tag = protocol::messageTag(f.group, f.code);
        send(tag, 1.0);
        ASSERT_FALSE(rig.toController.log.empty()) << std::hex << tag;
        EXPECT_EQ(rig.toController.log.back().id, protocol::kValueUpdate);
        EXPECT_EQ(rig.toController.log.back().tag, tag);
        EXPECT_EQ(rig.toController.log.back().val, 1.0) << std::hex << tag;
        EXPECT_EQ(stored(rig, f), f.range) << std::hex << tag;
        if (f.selectsSlot) {
            EXPECT_EQ(rig.engine().selectedSample(), f.range) << std::hex << tag;
        }
        if (f.control == Control::kSlider) {
            EXPECT_EQ(rig.text(protocol::mirrorTagOf(f.group, f.code)),
                      std::to_string(f.range - f.shownOffset))
                << std::hex << tag;
        }
    }
}

}  // namespace
}  // namespace velt::corvane::editortest
