// The editor on the off-screen back end, driven with real clicks, drags, wheel turns and
// typing on its controls, against a real processor and controller: what it sends, what it
// shows, which page it picks, and opening, closing and reopening.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "host/state_chunk.h"
#include "tests/editor/editor_rig.h"

namespace velt::corvane::editortest {
namespace {

constexpr int32_t kMainVolume = 0x10000001;
constexpr int32_t kMainVolumeDb = 0x20000001;
constexpr int32_t kRefPitchHz = 0x20000002;
constexpr int32_t kProgram = 0x10000103;
constexpr int32_t kProgramText = 0x20000103;
constexpr int32_t kMode = 0x10000102;
constexpr int32_t kPitchBendText = 0x20000105;

TEST(Editor, HandshakeHidesTheOverlayAndTheControlsShowTheEngine) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    // The processor answered during open: the overlay is gone, the controls show the engine.
    EXPECT_FALSE(rig.editor->aboutOverlay()->isVisible());
    EXPECT_EQ(rig.editor->engine(), &rig.engine());
    EXPECT_EQ(rig.text(kMainVolumeDb), "-1.938200");  // a new engine's volume 0.8
    EXPECT_EQ(rig.text(kRefPitchHz), "440.000000");
    EXPECT_EQ(rig.text(0x20000108), "0");  // pan 64 shown centred
    EXPECT_EQ(rig.text(0x10001002), std::string(16, ' '));
    EXPECT_EQ(rig.editor->sampleLabel(2)->getText().getString(), "false");
    EXPECT_TRUE(rig.editor->tonePage()->isVisible());
    EXPECT_FALSE(rig.editor->samplerPage()->isVisible());
    // A second open without a close is refused.
    EXPECT_FALSE(rig.editor->open(nullptr, PlatformType::kDefaultNative));

    // The logo brings the overlay back; the library logo on it hides it again.
    rig.window->click(rig.centreOf(0x10008000));
    EXPECT_TRUE(rig.editor->aboutOverlay()->isVisible());
    rig.window->click(rig.centreOf(0x10008001));
    EXPECT_FALSE(rig.editor->aboutOverlay()->isVisible());
    rig.window->writePng(std::string(CORVANE_BINARY_DIR) + "/editor-window.png");
}

TEST(Editor, BeforeTheAnswerTheOverlayCoversEverything) {
    EditorRig rig(false);
    ASSERT_TRUE(rig.openView());
    ASSERT_EQ(rig.sent("GUIEditor:openGUI").size(), 1u);  // sent, but no answer came
    EXPECT_TRUE(rig.editor->aboutOverlay()->isVisible());
    EXPECT_EQ(rig.editor->engine(), nullptr);
    rig.window->click(rig.centreOf(kMainVolume));
    rig.type(kProgramText, "5");
    EXPECT_TRUE(rig.sent().empty());
    // The answer arrives: the editor draws from the engine and the overlay goes.
    rig.toProcessor.cut = false;
    IPtr<IMessage> open = Steinberg::owned(new HostMessage);
    open->setMessageID("GUIEditor:openGUI");
    rig.processorPoint->notify(open);
    EXPECT_FALSE(rig.editor->aboutOverlay()->isVisible());
    EXPECT_EQ(rig.text(kRefPitchHz), "440.000000");
}

TEST(Editor, SlidersWheelAndMirrorFieldsSendTheirValues) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    // Drag the main volume handle to the slider's left end: 0, shown as "inf".
    const CPoint handle = rig.centreOf(kMainVolume);
    CControl* slider = rig.editor->control(kMainVolume);
    CPoint left(slider->getViewSize().left, handle.y);
    slider->localToFrame(left);
    rig.window->drag(CPoint(left.x + 0.8 * 84 + 5, handle.y), CPoint(left.x - 30, handle.y), 6);
    ASSERT_FALSE(rig.sent().empty());
    EXPECT_EQ(rig.sent().back().tag, 0x0001);
    EXPECT_EQ(rig.sent().back().val, 0.0);
    EXPECT_EQ(rig.engine().view().masterVolume, 0.0f);
    EXPECT_EQ(rig.text(kMainVolumeDb), "inf");

    // Typed decibels and hertz, clamped as the fields say.
    rig.type(kMainVolumeDb, "-6");
    EXPECT_NEAR(rig.sent().back().val, 0.501187, 1e-6);
    rig.type(kMainVolumeDb, "-200");
    EXPECT_EQ(rig.sent().back().val, 0.0);
    // "inf" is what silence shows: committing it keeps silence.
    rig.type(kMainVolumeDb, "inf");
    EXPECT_EQ(rig.sent().back().val, 0.0);
    rig.type(kRefPitchHz, "500");
    EXPECT_EQ(rig.sent().back().val, 1.0);
    rig.type(kRefPitchHz, "399");
    EXPECT_EQ(rig.sent().back().val, 0.0);
    rig.type(kPitchBendText, "-8192");
    EXPECT_EQ(rig.sent().back().tag, 0x0105);
    EXPECT_EQ(rig.sent().back().val, 0.0);
    rig.type(kPitchBendText, "0");
    EXPECT_DOUBLE_EQ(rig.sent().back().val, 8192.0 / 16383.0);
    rig.type(0x2000100F, "20");  // KF
    EXPECT_EQ(rig.sent().back().tag, 0x100F);
    EXPECT_EQ(rig.sent().back().val, 1.0);
    rig.type(0x2000100F, "2");
    EXPECT_DOUBLE_EQ(rig.sent().back().val, 2.0 / 3.0);
    EXPECT_EQ(rig.engine().view().tones[0].kf, 2);

    // The wheel turns the program one step up per notch.
    rig.window->wheel(rig.centreOf(kProgram), kMouseWheelAxisY, 1.0f);
    EXPECT_EQ(rig.sent().back().tag, 0x0103);
    EXPECT_NEAR(rig.sent().back().val, 1.0 / 127.0, 1e-6);
    EXPECT_EQ(rig.engine().view().parts[0].program, 1);
    EXPECT_EQ(rig.text(kProgramText), "1");
}

TEST(Editor, PartEditsReachTheHostAsParameterEdits) {
    EditorRig rig;
    struct Handler : IComponentHandler {
        CORVANE_HOST_OBJECT(IComponentHandler)
        tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
        tresult PLUGIN_API performEdit(ParamID id, ParamValue v) override {
            edits.push_back({id, v});
            return kResultOk;
        }
        tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
        tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
        std::vector<std::pair<ParamID, ParamValue>> edits;
    } handler;
    rig.controller->setComponentHandler(&handler);
    ASSERT_TRUE(rig.openView());
    // Part 5 selected through the PART field, then its program typed.
    rig.window->click(rig.centreOf(0x10000101));
    rig.choose(0, 5);
    EXPECT_EQ(rig.engine().selectedPart(), 5);
    rig.type(kProgramText, "42");
    ASSERT_FALSE(handler.edits.empty());
    EXPECT_EQ(handler.edits.back().first, static_cast<ParamID>((0x105 << 8) | 130));
    EXPECT_DOUBLE_EQ(handler.edits.back().second, 42.0 / 127.0);
    EXPECT_EQ(rig.engine().view().parts[5].program, 42);
    // The echo sets the controller's own copy of the parameter.
    EXPECT_NEAR(rig.controller->getParamNormalized((0x105 << 8) | 130), 42.0 / 127.0, 1e-6);
    rig.controller->setComponentHandler(nullptr);
}

TEST(Editor, MenusSendTheirCodes) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    // System menu: "Polyphony" itself does nothing; "64" in its submenu sends 0.5.
    rig.window->click(rig.centreOf(0x10000000));
    ASSERT_NE(rig.popup(), nullptr);
    const size_t before = rig.sent().size();
    rig.choose(0, 1);
    EXPECT_EQ(rig.sent().size(), before);
    rig.choose(1, 4);
    ASSERT_EQ(rig.sent().size(), before + 1);
    EXPECT_EQ(rig.sent().back().tag, 0x0090);
    EXPECT_EQ(rig.sent().back().val, 0.5);
    EXPECT_EQ(rig.engine().voiceCount(), 64);
    // "Recieve sysEx" toggles, and its check mark follows the echo.
    rig.window->click(rig.centreOf(0x10000000));
    rig.choose(0, 2);
    EXPECT_EQ(rig.sent().back().tag, 0x0083);
    EXPECT_TRUE(rig.editor->systemMenu()->isCheckEntry(2));
    EXPECT_TRUE(rig.engine().view().acceptSysEx);

    // Part menu: "Out 16" in the output submenu sends 1.0; the part plays on out 16.
    rig.window->click(rig.centreOf(0x10000100));
    rig.choose(0, 5);
    rig.choose(1, 15);
    EXPECT_EQ(rig.sent().back().tag, 0x0190);
    EXPECT_EQ(rig.sent().back().val, 1.0);
    EXPECT_EQ(rig.engine().view().parts[0].outputBus, 15);
    // Escape closes a menu without a choice.
    rig.window->click(rig.centreOf(0x10000100));
    const size_t beforeEscape = rig.sent().size();
    rig.window->virtualKey(VKEY_ESCAPE);
    EXPECT_EQ(rig.popup(), nullptr);
    EXPECT_EQ(rig.sent().size(), beforeEscape);

    // Mode 3 brings the sampler page forward, mode 2 the tone page.
    rig.window->click(rig.centreOf(kMode));
    rig.choose(0, 3);
    EXPECT_TRUE(rig.editor->samplerPage()->isVisible());
    EXPECT_FALSE(rig.editor->tonePage()->isVisible());
    rig.window->click(rig.centreOf(kMode));
    rig.choose(0, 2);
    EXPECT_TRUE(rig.editor->tonePage()->isVisible());
    EXPECT_FALSE(rig.editor->samplerPage()->isVisible());
}

TEST(Editor, NamesAreWrittenPrintableAndPadded) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    rig.type(0x10001002, "Warm\tPad \xC3\xA9 2");
    const std::string stored(rig.engine().view().tones[0].presetName, 16);
    EXPECT_EQ(stored, "WarmPad  2      ");
    EXPECT_EQ(rig.text(0x10001002), "WarmPad  2      ");
    rig.type(0x10001002, "A very long tone name indeed");
    EXPECT_EQ(std::string(rig.engine().view().tones[0].presetName, 16), "A very long tone");
    // The host's program list follows at the next timer tick.
    rig.loop.advance(40);
    String128 name{};
    FUnknownPtr<IUnitInfo> units(rig.controller);
    ASSERT_EQ(units->getProgramName(0x100000, 0, name), kResultTrue);
}

TEST(Editor, TheTimerRefreshesButNeverTheFieldBeingTyped) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    // Focus the PROGRAM field and type without committing.
    rig.window->click(rig.centreOf(kProgramText));
    rig.window->typeText("9");
    // Meanwhile the program changes from elsewhere (a host's program change).
    float echo = 0.0f;
    rig.engine().applyValueChange(0x0103, 100.0 / 127.0, echo);
    rig.loop.advance(40);
    EXPECT_NEAR(rig.value(kProgram), 100.0f / 127.0f, 1e-6f);
    auto* field = dynamic_cast<CTextEdit*>(rig.editor->control(kProgramText));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isBeingEdited());
    EXPECT_NE(field->getEditText(), "100");
    rig.window->virtualKey(VKEY_ESCAPE);
    rig.loop.advance(40);
    EXPECT_EQ(rig.text(kProgramText), "100");
}

TEST(Editor, ReopeningRebuildsAndRefreshesAtOnce) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    float echo = 0.0f;
    rig.engine().applyValueChange(0x0107, 0.5, echo);
    for (int i = 0; i < 100; ++i) {
        rig.closeView();
        ASSERT_TRUE(rig.openView()) << i;
        ASSERT_FALSE(rig.editor->aboutOverlay()->isVisible());
    }
    EXPECT_EQ(rig.text(0x20000107), "64");
    // Close and reopen on the same view object too.
    rig.editor->close();
    ASSERT_TRUE(rig.editor->open(nullptr, PlatformType::kDefaultNative));
    EXPECT_FALSE(rig.editor->aboutOverlay()->isVisible());
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::string(CORVANE_BINARY_DIR) + "/editor-dialogs";
        std::system(("mkdir -p '" + folder + "'").c_str());
        script = folder + "/dialog.sh";
        // The stand-in prints the paths listed in its answer file, one per line.
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" > '" << folder << "/args.txt'\ncat '" << folder
                              << "/answer.txt'\n";
        std::system(("chmod +x '" + script + "'").c_str());
        setenv("CORVANE_FILE_DIALOG", script.c_str(), 1);
    }
    void TearDown() override { unsetenv("CORVANE_FILE_DIALOG"); }
    void answer(const std::string& text) { std::ofstream(folder + "/answer.txt") << text; }
    std::string args() {
        std::ifstream in(folder + "/args.txt");
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return all;
    }
    std::vector<Relay::Entry> requests(const EditorRig& rig) const {
        return rig.sent("GUIEditor:cvFileSelect");
    }
    bool waitForEnd(EditorRig& rig) {
        return rig.loop.runUntil([&] { return rig.editor->pendingFileRequest() == 0; }, 5000);
    }

    std::string folder;
    std::string script;
};

TEST_F(DialogTest, WavImportsFillConsecutiveSlotsUpTo127) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    float echo = 0.0f;
    rig.engine().applyValueChange(0x3001, 126.0 / 127.0, echo);
    answer("/tmp/a.wav\n/tmp/b.wav\n/tmp/c.wav\n");
    rig.window->click(rig.centreOf(0x10003000));
    rig.choose(0, 2);  // "Import WAV File"
    EXPECT_EQ(rig.editor->pendingFileRequest(), 0x2100);
    ASSERT_TRUE(waitForEnd(rig));
    const auto r = requests(rig);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].tag, 0x2100 | 126);
    EXPECT_EQ(r[1].tag, 0x2100 | 127);
    EXPECT_NE(args().find("Import WAV File"), std::string::npos);

    // ADPCM with slot 5 selected: tag 0x2305.
    rig.engine().applyValueChange(0x3001, 5.0 / 127.0, echo);
    answer("/tmp/one.wav\n");
    rig.window->click(rig.centreOf(0x10003000));
    rig.choose(0, 4);
    ASSERT_TRUE(waitForEnd(rig));
    EXPECT_EQ(requests(rig).back().tag, 0x2305);
}

TEST_F(DialogTest, ExportsProposeTheirNamesAndCancelSendsNothing) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    answer(folder + "/params.txt\n");
    rig.window->click(rig.centreOf(0x10003000));
    rig.choose(0, 7);  // "Export SampleData Parameters"
    ASSERT_TRUE(waitForEnd(rig));
    ASSERT_EQ(requests(rig).size(), 1u);
    EXPECT_EQ(requests(rig).back().tag, 0x9500);
    EXPECT_NE(args().find("SampleDataParameters.txt"), std::string::npos);
    // The processor wrote the file where the dialog said.
    std::ifstream written(folder + "/params.txt");
    EXPECT_TRUE(written.good());

    // Sampler page: "Export SysEx Text" opens request 0x9400's dialog.
    float echo = 0.0f;
    rig.engine().applyValueChange(0x0102, 1.0, echo);
    rig.loop.advance(40);
    answer("");  // cancelled
    rig.window->click(rig.centreOf(0x10002000));
    rig.choose(0, 5);
    EXPECT_EQ(rig.editor->pendingFileRequest(), 0x9400);
    ASSERT_TRUE(waitForEnd(rig));
    EXPECT_EQ(requests(rig).size(), 1u);
    EXPECT_NE(args().find("SamplerPresetSysEx.txt"), std::string::npos);
}

TEST_F(DialogTest, ClosingWhileADialogRunsDropsItsResult) {
    EditorRig rig;
    ASSERT_TRUE(rig.openView());
    // A dialog that takes its time.
    std::ofstream(script) << "#!/bin/sh\nsleep 1\necho /tmp/late.wav\n";
    rig.window->click(rig.centreOf(0x10003000));
    rig.choose(0, 2);
    EXPECT_EQ(rig.editor->pendingFileRequest(), 0x2100);
    rig.closeView();
    rig.loop.runUntil([] { return false; }, 1500);
    EXPECT_TRUE(requests(rig).empty());

    // Without any dialog program the entries do nothing.
    setenv("CORVANE_FILE_DIALOG", (folder + "/missing-program").c_str(), 1);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    ASSERT_TRUE(rig.openView());
    rig.window->click(rig.centreOf(0x10003000));
    rig.choose(0, 2);
    EXPECT_EQ(rig.editor->pendingFileRequest(), 0);
    setenv("PATH", path.c_str(), 1);
}

}  // namespace
}  // namespace velt::corvane::editortest
